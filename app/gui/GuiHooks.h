// What the input form and the list of checks reach before they are handed the run's
// Dialogs: the error reporter's ReportError and the help window, on the Dialogs of the Qt
// Ui that lives (QtUi registers them while it lives).
#pragma once

#include <QString>

#include <string>

class QWidget;

namespace caldren {
struct RunState;
class frmHelp;
}  // namespace caldren

namespace caldren::gui {

class Dialogs;

// The Dialogs and the error log path of the living Qt Ui (nullptr: none lives).
void SetInputFormDialogs(Dialogs* dialogs, const std::string* errorLogPath);
Dialogs* InputFormDialogs();

// ReportError of an error reporter instance of its own, released at once.
void ReportError(long number, const std::string& description, const std::string& location);

}  // namespace caldren::gui

namespace caldren::HelpSupport {

frmHelp* ShowHelp(RunState& state, QWidget* parent, const QString& anchor);

}  // namespace caldren::HelpSupport
