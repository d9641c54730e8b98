// Shared set-up of the report window tests: a pinned environment (offscreen platform,
// temporary HOME and XDG folders, C locale), the engine from the build with DEMO.CLD
// loaded, a run state with its settings file in a temporary folder, the dialog seams
// answered by the test, and what a test saw compared with data/transcripts.txt.
#pragma once

#include "app/core/RunState.h"
#include "app/gui/ErrorDialogs.h"
#include "app/gui/GuiHooks.h"
#include "app/gui/MessageBox.h"
#include "tests/gui/PinnedEnvironment.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace reportstest {

using guitest::PinEnvironment;

// A run state on a fresh engine holding DEMO.CLD (copied to a temporary folder), with the
// settings file, error log and manual in that folder; every message box answered
// headless, every other dialog rejected; the process never ended by a test.
struct Session {
    QTemporaryDir dir;
    caldren::RunState state;
    caldren::gui::DialogSeams savedSeams = caldren::gui::Seams();
    caldren::gui::GuiHooks savedHooks = caldren::gui::Hooks();
    int programEnds = 0, saveAsCalls = 0;

    explicit Session(bool load = true) {
        caldren::gui::MessageBox::reset();
        caldren::gui::MessageBox::setHeadless(true);
        state.engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state.programFolder = dir.path().toStdString();
        state.settingsFilePath = state.programFolder + "/CaldrenCalc.ini";
        state.errorLogPath = state.programFolder + "/CLD_err.log";
        state.helpFile = state.programFolder + "/cldguide.pdf";
        state.versionTag = "CLD2026.12";
        state.rptInput = state.rptSummary = state.rptDetail = 1;
        if (load) {
            QFile::copy(QStringLiteral(CALDREN_PROGRAM_FOLDER "/DEMO.CLD"), Path(QStringLiteral("DEMO.CLD")));
            state.currentFileName = Path(QStringLiteral("DEMO.CLD")).toStdString();
            state.engine->Load(state.currentFileName);
        }
        auto& seams = caldren::gui::Seams();
        seams.endProgram = [this](int) { ++programEnds; };
        seams.saveAs = [this](caldren::RunState&) { ++saveAsCalls; };
        seams.openExternal = [](const QString&) { return true; };
        seams.runModal = [](QDialog&) { return int(QDialog::Rejected); };
    }
    ~Session() {
        caldren::gui::Seams() = savedSeams;
        caldren::gui::Hooks() = savedHooks;
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

// The message boxes shown so far, as "box <title> <style>: <text>" (line ends as "|").
inline QStringList Boxes() {
    QStringList boxes;
    for (const auto& box : caldren::gui::MessageBox::history())
        boxes << QStringLiteral("box %1 %2: %3")
                     .arg(box.title)
                     .arg(box.style)
                     .arg(QString(box.text).replace(QLatin1Char('\n'), QLatin1Char('|')));
    return boxes;
}

// Compares what a test saw with the lines under "[name]" in data/transcripts.txt, up to
// the next "[" (the blank lines before it left out).
inline void ExpectTranscript(const QString& name, const QStringList& seen) {
    QFile file(QStringLiteral(CALDREN_GUI_REPORTS_DATA "/transcripts.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines = lines.mid(lines.indexOf(QLatin1Char('[') + name + QLatin1Char(']')) + 1);
    lines = lines.mid(0, lines.indexOf(QRegularExpression(QStringLiteral("\\[.*"))));
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QCOMPARE(seen, lines);
}

}  // namespace reportstest
