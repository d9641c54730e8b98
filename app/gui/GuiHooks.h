// Hook points of the main window for the commands whose windows live in app/reports and in
// the error/shutdown files of app/gui (report viewer, printing, report font, manual, the
// program's own error message and shutdown).
//
// The main window and the Qt Ui call these hooks and nothing else for those commands. A
// hook that is empty shows "<command> is not available yet." in a plain message box (or,
// for ReportErrorAndQuit and ShutDown, a minimal stand-in). The code that provides a
// command fills its hook once, when the window library is loaded, from a static
// initialiser in its own source file:
//
//   namespace {
//   const bool kRegistered = [] {
//       auto& hooks = caldren::gui::Hooks();
//       hooks.viewReports = [](caldren::RunState& state, QWidget* parent) { ... };
//       return true;
//   }();
//   }
//
// Tests replace hooks the same way and put them back afterwards.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace caldren {
struct RunState;
}
namespace errorreporter {
class ErrorPresenter;
}

namespace caldren::gui {

struct GuiHooks {
    // View, Reports and File, Print Preview and the "Preview" tool key: report output in
    // mode 1 (viewer). parent is the main window.
    std::function<void(RunState&, QWidget* parent)> viewReports;
    // File, Print... and the "Print" tool key: report output in mode 2 (printer).
    std::function<void(RunState&, QWidget* parent)> printReports;
    // View, Compare Years...: two to six data files side by side in a report viewer.
    std::function<void(RunState&, QWidget* parent)> compareYears;
    // Options, Fonts...: the report font (GetFonts).
    std::function<void(RunState&, QWidget* parent)> optionsFonts;
    // Help, Contents and the "Help" tool key: the guide in the help window (HelpSupport).
    std::function<void(RunState&, QWidget* parent)> helpContents;
    // The program's own error message, then ShutDown(false). Must not return.
    std::function<void(RunState&, long number, const std::string& location)> reportErrorAndQuit;
    // Ends the interactive run (Save As first when saveFirst, preferences, exit screen,
    // process end). Must not return.
    std::function<void(RunState&, bool saveFirst)> shutDown;
    // GetIni's printer-font step: remember the printer's font name, size and bold flag in
    // the run state (given back at shutdown). Empty: the step is skipped.
    std::function<void(RunState&)> rememberPrinterFont;
    // The error reporter's window: the presenter that the run's error reporter and the one
    // that TextChg creates for each report show their errors with. Empty: a plain message
    // box stands in (the error and its location; the save question answered with Yes/No).
    std::function<std::shared_ptr<errorreporter::ErrorPresenter>()> makeErrorPresenter;
};

// The one set of hooks of the window library.
GuiHooks& Hooks();

// The hooks with their stand-ins. ShowNotAvailable shows "<command> is not available yet.".
void ShowNotAvailable(QWidget* parent, const std::string& command);
// The presenter from the hook, else the stand-in.
std::shared_ptr<errorreporter::ErrorPresenter> MakeErrorPresenter();
// ReportError of a new error reporter instance, released at once (ControlExtend.TextChg).
void ReportError(long number, const std::string& description, const std::string& location);

}  // namespace caldren::gui
