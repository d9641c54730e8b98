// The desktop's "open" action for web pages and documents, and the start of outside
// programs, with a seam so that tests see what would be opened without opening it.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace caldren::gui {

class Desktop {
public:
    // Opens a web page or a document with the desktop's default program. False when no
    // opener exists (QDesktopServices answers at once; it never waits).
    static bool openUrl(const QUrl& url);
    // Starts a program detached from this one. False when it cannot be started.
    static bool startProgram(const QString& program, const QStringList& arguments = {});
    // The full path of a program found on PATH, or the empty text.
    static QString findProgram(const QString& name);

    // ---- Test seam --------------------------------------------------------------------
    // Replaces the real actions (an empty function puts the real one back).
    static void setUrlOpener(std::function<bool(const QUrl&)> opener);
    static void setProgramStarter(std::function<bool(const QString&, const QStringList&)> starter);
    static void setProgramFinder(std::function<QString(const QString&)> finder);
};

}  // namespace caldren::gui
