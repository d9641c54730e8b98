#include "GuiHooks.h"

#include "ErrorDialogs.h"
#include "HelpSupport.h"

namespace caldren::gui {

namespace {
Dialogs* g_dialogs = nullptr;
const std::string* g_errorLogPath = nullptr;
}  // namespace

void SetInputFormDialogs(Dialogs* dialogs, const std::string* errorLogPath) {
    g_dialogs = dialogs;
    g_errorLogPath = errorLogPath;
}

Dialogs* InputFormDialogs() { return g_dialogs; }

void ReportError(long number, const std::string& description, const std::string& location) {
    if (g_dialogs) ReportError(*g_dialogs, *g_errorLogPath, number, description, location);
}

}  // namespace caldren::gui

namespace caldren::HelpSupport {

frmHelp* ShowHelp(RunState& state, QWidget* parent, const QString& anchor) {
    gui::Dialogs* dialogs = gui::InputFormDialogs();
    return dialogs ? ShowHelp(state, *dialogs, parent, anchor) : nullptr;
}

}  // namespace caldren::HelpSupport
