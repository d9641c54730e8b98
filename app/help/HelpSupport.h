// HelpSupport: the user's guide in the help window (Help, Contents, Search For Help On...,
// the tool strip's "Help", F1), the About box's system information button and the maker's
// web pages. The printable guide (cldguide.pdf) is opened by reportwindows::ShowPDFHelp.
#pragma once

#include <QString>

class QWidget;

namespace caldren {
struct ProgramInfo;
struct RunState;
}  // namespace caldren
namespace caldren::help {
class frmHelp;
}
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::help::HelpSupport {

// The message shown when no system information tool exists.
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The guide in the program folder, its pictures beside it in help/screenshots.
inline constexpr const char* kGuideFile = "help/manual/cldguide.md";
QString GuideFile(const ProgramInfo& program);

// The help window: one for the program, opened over `parent`'s window (which a modal
// window's help must be, to take the mouse and keys), at the section with this anchor; an
// empty anchor keeps the place it shows. With `search` the search box takes the focus.
// The window opens the printable guide through `dialogs`.
frmHelp* ShowHelp(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent,
                  const QString& anchor = QString(), bool search = false);
// The help window when one is open, else nullptr.
frmHelp* HelpWindow();

// F1 in the input form: the guide's section of the field with this objectName, else of the
// page shown (0 Initial Inputs ... 4 Checks).
QString InputFormTopic(const QString& objectName, int page);

// The system information tool of this desktop, looked up on PATH among the known ones
// ("hardinfo", "hardinfo2", "kinfocenter", "gnome-system-monitor"), or the empty text.
QString FindSysInfoTool(dialogs::Dialogs& dialogs);

// StartSysInfo: runs the system information tool in a window of its own; where there is
// none (or it cannot be started), shows "System Information Is Unavailable At This Time"
// with an OK button.
void StartSysInfo(dialogs::Dialogs& dialogs, QWidget* parent);

// Opens a web page with the desktop's default browser. False when nothing could open it.
bool OpenWebPage(dialogs::Dialogs& dialogs, const QString& url);

}  // namespace caldren::help::HelpSupport
