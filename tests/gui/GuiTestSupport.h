// Shared set-up of the window tests: a pinned environment (offscreen platform, temporary
// HOME and XDG folders, C locale), the engine from the build, a run state with the Qt Ui,
// fake dialogs that answer every dialog without showing it, and what a test saw compared
// with its transcript in the test folder's data/; for the report windows' tests, a session
// on DEMO.CLD and the text of a PDF file.
#pragma once

#include "app/core/RunState.h"
#include "app/gui/QtUi.h"
#include "tests/gui/FakeDialogs.h"

#include <activation/Activation.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>
#include <string>

namespace guitest {

// The environment every window test runs in, set before the QApplication exists: the
// offscreen platform, temporary HOME and XDG folders (they live for the process), the C
// locale, no APPDATA, and the engine library from the build.
inline void PinEnvironment() {
    static QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("HOME", root.constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    ::setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    ::setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", root.constData(), 1);
    ::setenv("LC_ALL", "C", 1);
    ::unsetenv("APPDATA");
    activation::SetFallbackLibrary(CALDREN_VESMORA_PATH);
}

// A run state on a fresh engine with the Qt Ui on fake dialogs, and a temporary folder.
struct Session {
    QTemporaryDir dir;
    FakeDialogs dialogs;
    caldren::RunState state;
    std::unique_ptr<caldren::gui::QtUi> ui;

    Session() {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state.program.versionTag = "CLD2026.12";
        state.program.fullVersion = "CLD2026.12.1";
        state.program.programFolder = CALDREN_PROGRAM_FOLDER;
        ui = std::make_unique<caldren::gui::QtUi>(state, dialogs);
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

// The lines of a table or list file that hold something: blank and "#" lines left out.
inline QStringList DataLines(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) {
        return line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'));
    });
    return lines;
}

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

namespace reportstest {

// The report windows' session: a fresh engine holding DEMO.CLD (copied to the temporary
// folder), which is also the program folder, with the settings file, error log and manual
// there, and all three reports chosen.
struct Session : guitest::Session {
    explicit Session(bool load = true) {
        state.program.programFolder = dir.path().toStdString();
        state.preferences.settingsFilePath = state.program.programFolder + "/CaldrenCalc.ini";
        state.program.errorLogPath = state.program.programFolder + "/CLD_err.log";
        state.program.helpFile = state.program.programFolder + "/cldguide.pdf";
        state.preferences.rptInput = state.preferences.rptSummary = state.preferences.rptDetail = 1;
        if (!load) return;
        QFile::copy(QStringLiteral(CALDREN_PROGRAM_FOLDER "/DEMO.CLD"),
                    Path(QStringLiteral("DEMO.CLD")));
        state.document.currentFileName = Path(QStringLiteral("DEMO.CLD")).toStdString();
        state.document.engine->Load(state.document.currentFileName);
    }
};

// pdftotext of a PDF file (pages separated by form feeds), "-layout" or "-bbox".
inline QString PdfText(const QString& pdf, const QString& how = QStringLiteral("-layout")) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {how, pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace reportstest

#define GUITEST_MAIN(TestClass)                  \
    int main(int argc, char** argv) {            \
        guitest::PinEnvironment();               \
        QApplication app(argc, argv);            \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestClass test;                          \
        return QTest::qExec(&test, argc, argv);  \
    }
