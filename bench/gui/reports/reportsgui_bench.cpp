// Speed of the report windows and of printing, on DEMO.CLD from the program folder:
// opening the three report viewers (RunReports in View mode: calculation, three reports,
// three windows filled and shown) and printing the three reports to a PDF file (Print
// mode: calculation, page model, QPainter on a PDF QPrinter, one job). Offscreen platform.
#include "app/core/RunState.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportPrinter.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"
#include "tests/gui/FakeDialogs.h"

#include <activation/Activation.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

struct Fixture {
    QTemporaryDir dir;
    guitest::FakeDialogs dialogs;
    caldren::RunState state;

    Fixture() {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state.program.programFolder = dir.path().toStdString();
        state.preferences.settingsFilePath = state.program.programFolder + "/CaldrenCalc.ini";
        state.preferences.rptInput = state.preferences.rptSummary = state.preferences.rptDetail = 1;
        const QString demo = dir.path() + QStringLiteral("/DEMO.CLD");
        QFile::copy(QStringLiteral(CALDREN_PROGRAM_FOLDER "/DEMO.CLD"), demo);
        state.document.currentFileName = demo.toStdString();
        state.document.engine->Load(state.document.currentFileName);
        const QString pdf = dir.path() + QStringLiteral("/reports.pdf");
        dialogs.modal = [](QDialog& d) {
            dynamic_cast<caldren::reportwindows::dlgRptChoices&>(d).btnOK->click();
            return d.result();
        };
        dialogs.printers = true;  // and the print dialog prints to a file
        dialogs.print = [pdf](QPrinter& p, const QString&) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            p.setPageSize(QPageSize(QPageSize::Letter));
            return true;
        };
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_OpenThreeViewers(benchmark::State& bench) {
    Fixture& f = Shared();
    for (auto _ : bench) {
        caldren::reportwindows::QtReportsHost host(f.state, f.dialogs, nullptr);
        caldren::reportwindows::RunReportsOn(f.state, Reports::kView, host);
        QApplication::processEvents();
        bench.PauseTiming();
        if (host.Viewers().size() != 3) bench.SkipWithError("three viewers expected");
        for (auto& v : host.Viewers()) delete v.data();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_OpenThreeViewers)->Unit(benchmark::kMillisecond);

void BM_PrintThreeReportsToPdf(benchmark::State& bench) {
    Fixture& f = Shared();
    for (auto _ : bench) {
        caldren::reportwindows::QtReportsHost host(f.state, f.dialogs, nullptr);
        caldren::reportwindows::RunReportsOn(f.state, Reports::kPrint, host);
        if (caldren::reportwindows::ReportPrinter::Instance().JobsEnded() != 1)
            bench.SkipWithError("one job expected");
    }
}
BENCHMARK(BM_PrintThreeReportsToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    activation::SetFallbackLibrary(CALDREN_VESMORA_PATH);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
