// Shared set-up of the report window tests: a pinned environment (offscreen platform,
// temporary HOME and XDG folders, C locale), the engine from the build with DEMO.CLD
// loaded, a run state with its settings file in a temporary folder, the dialog seams
// answered by the test, and what a test saw compared with its transcript in data/.
#pragma once

#include "app/core/RunState.h"
#include "app/gui/ErrorDialogs.h"
#include "app/gui/MessageBox.h"
#include "tests/gui/PinnedEnvironment.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace reportstest {

// A run state on a fresh engine holding DEMO.CLD (copied to a temporary folder), with the
// settings file, error log and manual in that folder; every message box answered
// headless, every other dialog rejected; the process never ended by a test.
struct Session {
    QTemporaryDir dir;
    caldren::RunState state;
    caldren::gui::DialogSeams savedSeams = caldren::gui::Seams();
    int programEnds = 0, saveAsCalls = 0;
    QStringList opened;  // what the shell was asked to open

    explicit Session(bool load = true) {
        caldren::gui::MessageBox::reset();
        caldren::gui::MessageBox::setHeadless(true);
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state.program.programFolder = dir.path().toStdString();
        state.preferences.settingsFilePath = state.program.programFolder + "/CaldrenCalc.ini";
        state.program.errorLogPath = state.program.programFolder + "/CLD_err.log";
        state.program.helpFile = state.program.programFolder + "/cldguide.pdf";
        state.program.versionTag = "CLD2026.12";
        state.preferences.rptInput = state.preferences.rptSummary = state.preferences.rptDetail = 1;
        if (load) {
            QFile::copy(QStringLiteral(CALDREN_PROGRAM_FOLDER "/DEMO.CLD"),
                        Path(QStringLiteral("DEMO.CLD")));
            state.document.currentFileName = Path(QStringLiteral("DEMO.CLD")).toStdString();
            state.document.engine->Load(state.document.currentFileName);
        }
        auto& seams = caldren::gui::Seams();
        seams.endProgram = [this](int) { ++programEnds; };
        seams.saveAs = [this](caldren::RunState&) { ++saveAsCalls; };
        seams.openExternal = [this](const QString& path) {
            opened << QString(path).replace(dir.path(), QStringLiteral("<folder>"));
            return true;
        };
        seams.runModal = [](QDialog&) { return int(QDialog::Rejected); };
    }
    ~Session() {
        caldren::gui::Seams() = savedSeams;
        caldren::gui::MessageBox::reset();
    }
    QString Path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
};

// pdftotext of a PDF file (pages separated by form feeds), "-layout" or "-bbox".
inline QString PdfText(const QString& pdf, const QString& how = QStringLiteral("-layout")) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {how, pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
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

// The message boxes shown so far: "box", the title, the style and the text (line ends as "|").
inline QStringList Boxes() {
    QStringList boxes;
    for (const auto& box : caldren::gui::MessageBox::history())
        boxes << Line("box", box.title, box.style,
                      QString(box.text).replace(QLatin1Char('\n'), QLatin1Char('|')));
    return boxes;
}

// Compares what a test saw with data/<name>.txt, line by line.
inline void ExpectTranscript(const QString& name, const QStringList& seen) {
    QFile file(QStringLiteral(CALDREN_GUI_REPORTS_DATA "/") + name + QStringLiteral(".txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(seen.join(QLatin1Char('\n')) + QLatin1Char('\n'), QString::fromUtf8(file.readAll()));
}

}  // namespace reportstest
