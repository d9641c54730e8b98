#include "HelpSupport.h"

#include "Desktop.h"
#include "MessageBox.h"
#include "app/core/RunState.h"

#include <QUrl>

namespace caldren::HelpSupport {

QString FindSysInfoTool() {
    for (const char* name : {"hardinfo", "hardinfo2", "kinfocenter", "gnome-system-monitor"}) {
        const QString path = gui::Desktop::findProgram(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void StartSysInfo(QWidget* parent) {
    const QString tool = FindSysInfoTool();
    if (!tool.isEmpty() && gui::Desktop::startProgram(tool))
        return;
    gui::MessageBox::show(parent, QString::fromLatin1(kSysInfoUnavailable), kOkOnly,
                          QString::fromUtf8(kTitle));
}

bool OpenWebPage(const QString& url) { return gui::Desktop::openUrl(QUrl(url)); }

}  // namespace caldren::HelpSupport
