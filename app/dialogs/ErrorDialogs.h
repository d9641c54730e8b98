// The program's error windows.
//
//   ReportErrorAndQuit  the program's own error message ("WARNING!", Yes runs Save As),
//                       then the run's Ui shuts down (ShutDown(false))
//   ShowErrorWarning    the "Error Warning" window (frmError) with its "Don't show this
//                       message again" box; the answer becomes the hide-warning flag
//
// The texts are built by plain functions so that they are checked without a window; every
// window is shown through the Dialogs handed in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace caldren {
struct RunState;
}

namespace errorreporter {
class ErrorPresenter;
}

namespace caldren::dialogs {

class Dialogs;

// ---- texts ----------------------------------------------------------------------------

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

// ---- the windows ------------------------------------------------------------------------

// The "Error Warning" window. Returns the new hide-warning flag: true at once (nothing
// shown) when `hidden` is true, otherwise the state of "Don't show this message again".
bool ShowErrorWarning(Dialogs& dialogs, const std::string& message, const std::string& location,
                      bool hidden, QWidget* parent = nullptr);

// The program's own error message, Save As on Yes, then the shutdown of the run's Ui
// (state.options.ui->ShutDown(false)), which ends the process; without a Ui the process
// ends through dialogs.endProgram(0).
void ReportErrorAndQuit(RunState& state, Dialogs& dialogs, long number,
                        const std::string& location);

// ---- the error reporter's windows ----------------------------------------------------------

// The error reporter's presentation in an interactive run: a message box (critical
// symbol, title the program's description) with the reporter's message; ReportAndAsk and
// ReportOrLog ask with Yes and No, ReportError has OK. Every error shown is also written
// to the error log (one line, as a batch run writes it), so the log is complete whether or
// not a window showed the error. The log is `errorLogPath` (the run's CLD_err.log), else,
// when that is empty, "CLD_err.log" in the error reporter's per-user folder.
std::shared_ptr<errorreporter::ErrorPresenter> MakeErrorPresenter(Dialogs& dialogs,
                                                                  std::string errorLogPath);
// ReportError of an error reporter instance of its own, released at once (the input form's
// refused entries, the checks' actions).
void ReportError(Dialogs& dialogs, const std::string& errorLogPath, long number,
                 const std::string& description, const std::string& location);

}  // namespace caldren::dialogs
