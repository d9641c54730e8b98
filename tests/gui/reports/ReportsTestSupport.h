// Shared set-up of the report window tests: a pinned environment (offscreen platform,
// temporary HOME and XDG folders, C locale), the engine from the build with DEMO.CLD
// loaded, a run state with its settings file in a temporary folder, and the dialog seams
// answered by the test.
#pragma once

#include "app/core/RunState.h"
#include "tests/gui/PinnedEnvironment.h"
#include "app/gui/ErrorDialogs.h"
#include "app/gui/GuiHooks.h"
#include "app/gui/MessageBox.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>
#include <string>

namespace reportstest {

using guitest::PinEnvironment;

inline std::string DemoFile() { return std::string(CALDREN_PROGRAM_FOLDER) + "/DEMO.CLD"; }

// A run state on a fresh engine holding DEMO.CLD (copied to a temporary folder), with the
// settings file and error log in that folder; every message box answered headless; the
// process never ended by a test.
struct Session {
    QTemporaryDir dir;
    caldren::RunState state;
    caldren::gui::DialogSeams savedSeams;
    caldren::gui::GuiHooks savedHooks;
    int programEnds = 0;
    std::vector<std::string> saveAsCalls;

    explicit Session(bool load = true) {
        savedSeams = caldren::gui::Seams();
        savedHooks = caldren::gui::Hooks();
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
            const QString copy = dir.path() + QStringLiteral("/DEMO.CLD");
            QFile::copy(QString::fromStdString(DemoFile()), copy);
            state.currentFileName = copy.toStdString();
            state.engine->Load(state.currentFileName);
        }
        auto& seams = caldren::gui::Seams();
        seams.endProgram = [this](int) { ++programEnds; };
        seams.saveAs = [this](caldren::RunState& s) { saveAsCalls.push_back(s.currentFileName); };
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

// pdftotext -layout of a PDF file (pages separated by form feeds).
inline QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace reportstest
