// What one keystroke in the input form costs the results and the checks, on DEMO.CLD from
// the program folder (twelve months, both methods, inventory estimated):
//  - Analyzer: the figure typed into the analysis, then the scratch copy filled, calculated,
//    read, and the checks run (standard library only);
//  - FirstUpdate: a new Analyzer's first update (its scratch copy made);
//  - Keystroke: the figure typed, the InputChanges notice, and the coalesced refresh of a
//    results panel (text, chart, its checks list) and of a following checks list, as the
//    main window and the input form will hold them. Offscreen platform.
#include "app/core/RunState.h"
#include "app/results/ChecksList.h"
#include "app/results/ResultsPanel.h"
#include "tests/gui/FakeDialogs.h"

#include <activation/Activation.h>
#include <analysis/Analyzer.h>
#include <analysis/InputChanges.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>

namespace {

struct Fixture {
    QTemporaryDir dir;
    guitest::FakeDialogs dialogs;
    caldren::RunState state;

    Fixture() {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        const QString demo = dir.path() + QStringLiteral("/DEMO.CLD");
        QFile::copy(QStringLiteral(CALDREN_PROGRAM_FOLDER "/DEMO.CLD"), demo);
        state.document.engine->Load(
            demo.toStdString());  // leaves the edit open, as the input form does
    }
    // A keystroke in Current Assets: the amount grows by one digit's worth each time.
    void Type(long n) { state.document.engine->put_CurAssets(std::to_string(4850000 + n % 1000)); }
};

void BM_Analyzer(benchmark::State& st) {
    Fixture f;
    caldren::analysis::Analyzer analyzer(caldren::analysis::NewEngine);
    long n = 0;
    for (auto _ : st) {
        f.Type(++n);
        benchmark::DoNotOptimize(analyzer.Update(*f.state.document.engine).results.available.text);
    }
}
BENCHMARK(BM_Analyzer)->Unit(benchmark::kMicrosecond);

// The first update of a new Analyzer: the scratch copy made (one save into a private
// temporary folder) and filled: what opening a panel or a list costs once.
void BM_FirstUpdate(benchmark::State& st) {
    Fixture f;
    for (auto _ : st) {
        caldren::analysis::Analyzer analyzer(caldren::analysis::NewEngine);
        benchmark::DoNotOptimize(analyzer.Update(*f.state.document.engine).results.available.text);
    }
}
BENCHMARK(BM_FirstUpdate)->Unit(benchmark::kMicrosecond);

void BM_Keystroke(benchmark::State& st) {
    Fixture f;
    caldren::results::ResultsPanel panel(f.state.document, f.state.program, f.dialogs);
    caldren::results::ChecksList checks(f.state.document, f.state.program, f.dialogs);
    panel.resize(900, 600);
    panel.show();
    QApplication::processEvents();
    long n = 0;
    for (auto _ : st) {
        f.Type(++n);
        caldren::analysis::InputChanges().Notify();
        QApplication::processEvents();  // the coalesced refreshes and the repainting
    }
    if (!panel.resultsText().contains(QStringLiteral("Available Working Capital")))
        st.SkipWithError("no results");
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8().constData(), 1);
    activation::SetFallbackLibrary(CALDREN_VESMORA_PATH);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
