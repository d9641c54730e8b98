#include "Desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace caldren::gui {

namespace {
std::function<bool(const QUrl&)> g_opener;
std::function<bool(const QString&, const QStringList&)> g_starter;
std::function<QString(const QString&)> g_finder;
}  // namespace

bool Desktop::openUrl(const QUrl& url) {
    if (g_opener) return g_opener(url);
    return QDesktopServices::openUrl(url);
}

bool Desktop::startProgram(const QString& program, const QStringList& arguments) {
    if (g_starter) return g_starter(program, arguments);
    return QProcess::startDetached(program, arguments);
}

QString Desktop::findProgram(const QString& name) {
    if (g_finder) return g_finder(name);
    return QStandardPaths::findExecutable(name);
}

void Desktop::setUrlOpener(std::function<bool(const QUrl&)> opener) {
    g_opener = std::move(opener);
}
void Desktop::setProgramStarter(std::function<bool(const QString&, const QStringList&)> starter) {
    g_starter = std::move(starter);
}
void Desktop::setProgramFinder(std::function<QString(const QString&)> finder) {
    g_finder = std::move(finder);
}

}  // namespace caldren::gui
