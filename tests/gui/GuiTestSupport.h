// Shared set-up of the window tests: a pinned environment (offscreen platform, temporary
// HOME and XDG folders, C locale), the engine from the build, a run state with the Qt Ui,
// fake dialogs that answer every dialog without showing it, and what a test saw compared
// with its transcript in the test folder's data/.
#pragma once

#include "app/core/RunState.h"
#include "app/gui/QtUi.h"
#include "tests/gui/FakeDialogs.h"
#include "tests/gui/PinnedEnvironment.h"

#include <activation/Activation.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>
#include <string>

namespace guitest {

// A run state on a fresh engine with the Qt Ui on fake dialogs, and a temporary folder.
struct Session {
    QTemporaryDir dir;
    FakeDialogs dialogs;
    caldren::RunState state;
    std::unique_ptr<caldren::QtUi> ui;

    Session() {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state.program.versionTag = "CLD2026.12";
        state.program.fullVersion = "CLD2026.12.1";
        state.program.programFolder = CALDREN_PROGRAM_FOLDER;
        ui = std::make_unique<caldren::QtUi>(state, dialogs);
        state.SetUi(ui.get());
    }
    ~Session() { state.SetUi(nullptr); }
    QString Path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
};

// Acts on the modal window that the next nested event loop shows (e.g. the input form
// opened by New): waits until a visible modal window (of the class named, when given) is
// the active one, then runs the action on it. className may also be an object name. Gives up after
// about five seconds.
template <class Action>
void WhenModalShows(Action action, const char* className = nullptr, int triesLeft = 500) {
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [action, className, triesLeft] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() &&
            (!className || modal->inherits(className) ||
             modal->objectName() == QLatin1String(className))) {
            action(modal);
            return;
        }
        if (triesLeft > 0) WhenModalShows(action, className, triesLeft - 1);
    });
}

inline QString Q(const char* text) { return QString::fromUtf8(text); }

// A line of a transcript: the values given, blanks between them.
inline QString Text(const QString& s) { return s; }
inline QString Text(const std::string& s) { return QString::fromStdString(s); }
inline QString Text(const char* s) { return QString::fromUtf8(s); }
inline QString Text(double n) { return QString::number(n); }
template <class... T>
QString Line(const T&... values) {
    return QStringList{Text(values)...}.join(QLatin1Char(' '));
}

// What a window shows, a line each: its title, then every named widget and action with its
// text (frames and menus with their title), in the order they were made.
inline QStringList Texts(const QWidget* window) {
    QStringList lines{window->windowTitle()};
    for (const QObject* child : window->findChildren<QObject*>()) {
        const bool titled = child->inherits("QGroupBox") || child->inherits("QMenu");
        const QVariant text = child->property(titled ? "title" : "text");
        if (text.isValid() && !child->objectName().isEmpty() &&
            !child->objectName().startsWith(QLatin1String("qt_")))
            lines << child->objectName() + QLatin1Char('=') + text.toString();
    }
    return lines;
}

#ifdef CALDREN_GUI_DATA
// Compares what a test saw with data/<name>.txt, line by line.
inline void ExpectTranscript(const QString& name, const QStringList& seen) {
    QFile file(QStringLiteral(CALDREN_GUI_DATA "/") + name + QStringLiteral(".txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(seen.join(QLatin1Char('\n')) + QLatin1Char('\n'), QString::fromUtf8(file.readAll()));
}
#endif

}  // namespace guitest

#define GUITEST_MAIN(TestClass)                  \
    int main(int argc, char** argv) {            \
        guitest::PinEnvironment();               \
        QApplication app(argc, argv);            \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestClass test;                          \
        return QTest::qExec(&test, argc, argv);  \
    }
