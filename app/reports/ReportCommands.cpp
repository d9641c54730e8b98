// The main window's commands carried out here: View Reports / Print Preview, Print,
// Options Fonts, Help Contents (the guide in the help window, whose "Open PDF..." opens
// the printable guide through ShowPDFHelp), and the program's error message, the error
// reporter's ReportError and ShutDown. They fill the window library's hooks when it is
// loaded.
#include "QtReportsHost.h"
#include "ReportFonts.h"

#include "../gui/ErrorDialogs.h"
#include "../gui/GuiHooks.h"
#include "../gui/HelpSupport.h"

namespace {

const bool kRegistered = [] {
    auto& hooks = caldren::gui::Hooks();
    hooks.viewReports = [](caldren::RunState& state, QWidget* parent) {
        caldren::gui::NoteRunState(state);
        caldren::reportwindows::RunReportCommand(state, Reports::kView, parent);
    };
    hooks.printReports = [](caldren::RunState& state, QWidget* parent) {
        caldren::gui::NoteRunState(state);
        caldren::reportwindows::RunReportCommand(state, Reports::kPrint, parent);
    };
    hooks.optionsFonts = [](caldren::RunState& state, QWidget* parent) {
        caldren::gui::NoteRunState(state);
        caldren::reportwindows::GetFonts(state, parent);
    };
    hooks.helpContents = [](caldren::RunState& state, QWidget* parent) {
        caldren::gui::NoteRunState(state);
        caldren::HelpSupport::ShowHelp(state, parent);
    };
    hooks.reportErrorAndQuit = [](caldren::RunState& state, long number,
                                  const std::string& location) {
        caldren::gui::NoteRunState(state);
        caldren::gui::ReportErrorAndQuit(state, number, location);
    };
    hooks.shutDown = [](caldren::RunState& state, bool saveFirst) {
        caldren::gui::ShutDown(state, saveFirst);
    };
    hooks.rememberPrinterFont = [](caldren::RunState& state) {
        caldren::gui::NoteRunState(state);
        caldren::reportwindows::RememberPrinterFont(state);
    };
    hooks.makeErrorPresenter = [] { return caldren::gui::MakeQtErrorPresenter(); };
    return true;
}();

}  // namespace
