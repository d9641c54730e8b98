// The program's error windows and the end of an interactive run.
//
//   ReportErrorAndQuit  the program's own error message ("WARNING!", Yes runs Save As),
//                       then ShutDown(false)
//   ShowErrorWarning    the "Error Warning" window (frmError) with its "Don't show this
//                       message again" box; the answer becomes the hide-warning flag
//   ShutDown            Save As when asked, release the reporter, store the report font,
//                       release the engine, give the printer its start font back, show the
//                       exit screen (frmFinal) with the time spent, end the process
//   BuildExitMessage    the exit screen's text for a number of seconds
//
// The texts are built by plain functions so that they are checked without a window; every
// modal window is shown through DialogSeams().runModal so that tests can answer it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QDialog;
class QString;
class QWidget;

namespace caldren {
struct RunState;
}

namespace errorreporter {
class ErrorPresenter;
}

namespace caldren::gui {

// ---- texts ----------------------------------------------------------------------------

// The exit screen's text for `totalSeconds` (a negative count is taken as 0), CR LF line
// ends: "You have spent 12 minutes, and 34 seconds using Orlenwick's Caldren Formula
// Calculator. How long would your work have taken without it?" and the order lines.
std::string BuildExitMessageText(long totalSeconds);

// Seconds from `start` to `end`, both whole seconds since midnight. A run that passes
// midnight counts on into the next day (end earlier than start adds a day), so the time
// spent is never negative.
std::int32_t ElapsedSeconds(std::int32_t start, std::int32_t end);

// Whole seconds since the last local midnight, now.
std::int32_t SecondsSinceMidnight();

// The program's own error message: "An error has occurred in the Caldren Formula
// Calculator." + LF LF + "Error Number:   " n + LF + "Error Type:        " standard text
// + LF + "Location:           " location + LF LF + "Do you want to save your data before
// the program shuts down?". The error type is the standard text of the number, never the
// error's own description.
std::string ErrorMessageText(long number, const std::string& location);

// The standard text shown for an error number ("Application-defined or object-defined
// error" for a number without one of its own).
std::string ErrorTypeText(long number);

// The maker's contact lines on the exit screen, and the order page.
extern const char* const kContactLines[];
extern const int kContactLineCount;
extern const char* const kOrderPageUrl;

// ---- seams ------------------------------------------------------------------------------

struct DialogSeams {
    // Shows a modal window and returns its result (QDialog::exec() by default).
    std::function<int(QDialog&)> runModal;
    // Opens a web page or a document with the desktop's default program.
    std::function<bool(const QString& urlOrPath)> openExternal;
    // Save As while the data are still held (FileOperations). Set by the file commands'
    // owner; empty means that no Save As is available.
    std::function<void(RunState&)> saveAs;
    // Writes the report font to the settings file ("User Preferences"/"Font Name", "Font
    // Size"); by default through the profile store at state.preferences.settingsFilePath.
    std::function<void(RunState&)> storeFontPreferences;
    // The clock: seconds since midnight.
    std::function<std::int32_t()> clock;
    // Ends the process with the exit code. Never returns in the program.
    std::function<void(int)> endProgram;
};

// The one set of seams of the window library (tests replace members and put them back).
DialogSeams& Seams();

// ---- the windows ------------------------------------------------------------------------

// The "Error Warning" window. Returns the new hide-warning flag: true at once (nothing
// shown) when `hidden` is true, otherwise the state of "Don't show this message again".
bool ShowErrorWarning(const std::string& message, const std::string& location, bool hidden,
                      QWidget* parent = nullptr);

// The program's own error message, Save As on Yes, then ShutDown(state, false).
void ReportErrorAndQuit(RunState& state, long number, const std::string& location);

// ShutDown in its order; errors inside are ignored and each step still runs. Ends the
// process through Seams().endProgram.
void ShutDown(RunState& state, bool saveFirst);

// Fills and shows the exit screen modally.
void BuildExitMessage(long totalSeconds, QWidget* parent = nullptr);

// ---- the error reporter's windows ----------------------------------------------------------

// The error reporter's presentation in an interactive run: a message box (critical
// symbol, title the program's description) with the reporter's message; ReportAndAsk and
// ReportOrLog ask with Yes and No, ReportError has OK. Every error shown is also written
// to the error log (one line, as a batch run writes it), so the log is complete whether or
// not a window showed the error. The log is the run state's errorLogPath (see
// NoteRunState), else "CLD_err.log" in the error reporter's per-user folder.
std::shared_ptr<errorreporter::ErrorPresenter> MakeQtErrorPresenter();
// The run state the error windows take the error log path from (set by the hooks).
void NoteRunState(RunState& state);

}  // namespace caldren::gui
