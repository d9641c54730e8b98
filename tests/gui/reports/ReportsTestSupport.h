// Shared set-up of the report window tests: the window tests' session (GuiTestSupport.h)
// on DEMO.CLD, with the settings file, error log and manual in its temporary folder.
#pragma once

#include "tests/gui/GuiTestSupport.h"

#include <QProcess>

namespace reportstest {

// A session on a fresh engine holding DEMO.CLD (copied to the temporary folder), which is
// also the program folder, and all three reports chosen.
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
