// The seam between the program's logic and whatever shows things to the user.
//
// FileOperations, MRU, Reports, MainMod and the error paths talk to the user only through
// this interface. The windows library implements it with Qt dialogs and the main window;
// a batch run uses BatchUi (never opens a window, never waits: messages go to stderr and
// every question takes its default); tests use a scripted fake.
#pragma once

#include <string>
#include <vector>

namespace caldren {

// Message box buttons and symbols, combined with |.
enum MsgStyle : int {
    kOkOnly = 0,
    kOkCancel = 1,
    kYesNoCancel = 3,
    kYesNo = 4,
    kCritical = 16,
    kQuestion = 32,
    kExclamation = 48,
    kInformation = 64,
    // The second button is the default (a question whose first answer would lose work).
    kDefaultButton2 = 256,
};

enum class MsgAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// The answer of a message box nobody answers (closed by its frame, or a batch run that
// shows it on stderr): OK for a box with OK alone, No for one with Yes and No, else Cancel.
inline MsgAnswer DefaultAnswer(int style) {
    switch (style & 7) {
        case kOkOnly:
            return MsgAnswer::Ok;
        case kYesNo:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
    }
}

// What the Open and Save As dialogs are shown with.
struct FileDialogSpec {
    std::string title;          // "Open" or "Save As"
    std::string initialFolder;  // data file path
    std::string initialName;    // Save As starts with the current file name
    std::string defaultExtension = "CLD";
    // Filter as "Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||"
    std::string filter = "Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||";
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual MsgAnswer MsgBox(const std::string& text, int style, const std::string& title) = 0;
    // The chosen path, or the empty text when the dialog was cancelled.
    virtual std::string OpenFileDialog(const FileDialogSpec& spec) = 0;
    virtual std::string SaveFileDialog(const FileDialogSpec& spec) = 0;
    // Open dialog where several files may be chosen (View, Compare Years...): the paths in
    // the order chosen, empty when cancelled. A Ui without such a dialog offers none.
    virtual std::vector<std::string> OpenFilesDialog(const FileDialogSpec& spec) {
        (void)spec;
        return {};
    }
    virtual void Beep() = 0;

    // Main window pieces the file commands update.
    virtual void SetStatusText(const std::string& text) = 0;
    // Recent-files block of the File menu: entry n (1..5) and its separator.
    virtual void SetRecentEntry(int n, const std::string& caption, bool visible) = 0;
    virtual void SetRecentSeparatorVisible(bool visible) = 0;
    // The run state's saved flag was set (Document::SetSaved): the main window's title
    // marks unsaved work.
    virtual void SavedChanged() {}
    // Shows the input form on the current engine (New, Open, recent entry).
    virtual void ShowInputForm() = 0;

    // The program's own error message ("An error has occurred in the ...", Yes runs Save
    // As), then ShutDown(false). The windows never return from it. Used by the procedures
    // whose errors end the program (location: the plain procedure name, e.g. "Save").
    virtual void ReportErrorAndQuit(long number, const std::string& location) = 0;
    // Ends the interactive run: Save As first when saveFirst, preferences, exit screen.
    // The windows never return from it.
    virtual void ShutDown(bool saveFirst) = 0;
};

}  // namespace caldren
