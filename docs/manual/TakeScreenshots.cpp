// takescreenshots: the pictures of the manual (docs/screenshots), taken without a display.
//
//   takescreenshots <program folder> <output folder>
//
// Opens DEMO.CLD from the program folder, shows the report windows, the report choices,
// the font warning and the exit screen, grabs each, and prints the Summary
// report to a PDF file whose first page becomes printed-page.png (pdftoppm).
#include "app/core/RunState.h"
#include "app/gui/ErrorDialogs.h"
#include "app/gui/MessageBox.h"
#include "app/gui/QtUi.h"
#include "app/gui/frmError.h"
#include "app/gui/frmFinal.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportFonts.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"

#include <activation/Activation.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString g_out;

void Save(QWidget* w, const char* name) {
    w->show();
    QApplication::processEvents();
    const QString path = g_out + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png");
    if (!w->grab().save(path)) std::fprintf(stderr, "takescreenshots: cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: takescreenshots <program folder> <output folder>\n");
        return 2;
    }
    const QString programFolder = QString::fromLocal8Bit(argv[1]);
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);
    activation::SetFallbackLibrary((programFolder + QStringLiteral("/libvesmora.so")).toStdString());

    QTemporaryDir work;
    caldren::RunState state;
    state.engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    state.programFolder = work.path().toStdString();
    state.settingsFilePath = state.programFolder + "/CaldrenCalc.ini";
    state.errorLogPath = state.programFolder + "/CLD_err.log";
    state.rptInput = state.rptSummary = state.rptDetail = 1;
    const QString demo = work.path() + QStringLiteral("/DEMO.CLD");
    QFile::copy(programFolder + QStringLiteral("/DEMO.CLD"), demo);
    state.currentFileName = demo.toStdString();
    state.engine->Load(state.currentFileName);
    // The name the pictures show, as on a user's desktop.
    state.currentFileName = "/home/anna/Clients/Acme Widgets/DEMO.CLD";
    caldren::QtUi ui(state);
    state.ui = &ui;
    caldren::gui::MessageBox::setHeadless(true);

    // The report choices, as the View command shows them.
    dlgRptChoices* choices = nullptr;
    caldren::gui::Seams().runModal = [&](QDialog& d) {
        if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
            c->setWindowTitle(QStringLiteral("Select Reports (View)"));
            c->SetChoices({1, 1, 1});
            if (!choices) {
                choices = c;
                Save(c, "report-choices");
            }
            c->btnOK->click();
            return c->result();
        }
        if (auto* p = dynamic_cast<QPrintDialog*>(&d)) {
            p->printer()->setOutputFormat(QPrinter::PdfFormat);
            p->printer()->setOutputFileName(work.path() + QStringLiteral("/summary.pdf"));
            p->printer()->setPageSize(QPageSize(QPageSize::Letter));
            return int(QDialog::Accepted);
        }
        return int(QDialog::Accepted);
    };

    caldren::reports::QtReportsHost host(state, nullptr);
    caldren::reports::RunReportsOn(state, Reports::kView, host);
    const char* names[] = {"viewer-detailed", "viewer-summary", "viewer-inputs"};
    for (size_t i = 0; i < host.Viewers().size() && i < 3; ++i) {
        frmReportForm* viewer = host.Viewers()[i];
        viewer->resize(viewer->minimumSize());
        Save(viewer, names[i]);
    }

    // The printed Summary report, first page.
    state.rptInput = 0;
    state.rptDetail = 0;
    caldren::gui::Seams().runModal = [&](QDialog& d) {
        if (auto* c = dynamic_cast<dlgRptChoices*>(&d)) {
            c->SetChoices({0, 1, 0});
            c->btnOK->click();
            return c->result();
        }
        if (auto* p = dynamic_cast<QPrintDialog*>(&d)) {
            p->printer()->setOutputFormat(QPrinter::PdfFormat);
            p->printer()->setOutputFileName(work.path() + QStringLiteral("/summary.pdf"));
            p->printer()->setPageSize(QPageSize(QPageSize::Letter));
            return int(QDialog::Accepted);
        }
        return int(QDialog::Accepted);
    };
    caldren::reports::RunReportsOn(state, Reports::kPrint, host);
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"), QStringLiteral("1"),
                       QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                       work.path() + QStringLiteral("/summary.pdf"), g_out + QStringLiteral("/printed-page")});

    // The font warning.
    {
        frmError warning;
        warning.SetMessage(QString::fromStdString(caldren::reports::NewFontWarningText("Courier New", 10.0f)));
        Save(&warning, "error-warning");
    }
    // The exit screen.
    {
        frmFinal screen;
        screen.SetDisplayText(caldren::gui::BuildExitMessageText(754));
        Save(&screen, "exit-screen");
    }
    for (auto& v : host.Viewers()) delete v.data();
    state.ui = nullptr;
    return 0;
}
