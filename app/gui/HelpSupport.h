// HelpSupport: the About box's system information button and the maker's web pages.
// (The PDF manual is opened by the Help, Contents hook, GuiHooks.h.)
#pragma once

#include <QString>

class QWidget;

namespace caldren::HelpSupport {

// The message shown when no system information tool exists.
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The system information tool of this desktop, looked up on PATH among the known ones
// ("hardinfo", "hardinfo2", "kinfocenter", "gnome-system-monitor"), or the empty text.
QString FindSysInfoTool();

// StartSysInfo: runs the system information tool in a window of its own; where there is
// none (or it cannot be started), shows "System Information Is Unavailable At This Time"
// with an OK button.
void StartSysInfo(QWidget* parent);

// Opens a web page with the desktop's default browser. False when nothing could open it.
bool OpenWebPage(const QString& url);

}  // namespace caldren::HelpSupport
