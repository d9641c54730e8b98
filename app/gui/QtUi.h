// The windows' implementation of caldren::Ui: message boxes, the Open and Save As dialogs,
// the beep, the main window's status line and recent-files entries, the input form, the
// program's own error message and the shutdown. Dialogs and boxes go through the run's
// dialogs::Dialogs, which tests answer.
#pragma once

#include "app/core/Ui.h"

#include <QPointer>

class QWidget;

namespace caldren {
struct RunState;
}  // namespace caldren
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::gui {

class frmMain;

class QtUi final : public Ui {
public:
    QtUi(RunState& state, dialogs::Dialogs& dialogs);

    // The main window whose status line and File menu the commands update.
    void setMainWindow(frmMain* window);
    frmMain* mainWindow() const;

    MsgAnswer MsgBox(const std::string& text, int style, const std::string& title) override;
    std::string OpenFileDialog(const FileDialogSpec& spec) override;
    std::string SaveFileDialog(const FileDialogSpec& spec) override;
    std::vector<std::string> OpenFilesDialog(const FileDialogSpec& spec) override;
    void Beep() override;
    void SetStatusText(const std::string& text) override;
    void SavedChanged() override;
    void SetRecentEntry(int n, const std::string& caption, bool visible) override;
    void SetRecentSeparatorVisible(bool visible) override;
    void ShowInputForm() override;
    void ReportErrorAndQuit(long number, const std::string& location) override;
    void ShutDown(bool saveFirst) override;

private:
    QWidget* dialogParent() const;

    RunState& m_state;
    dialogs::Dialogs& m_dialogs;
    QPointer<frmMain> m_main;
};

}  // namespace caldren::gui
