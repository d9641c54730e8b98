// Window benchmarks: opening the input form on a loaded analysis, one keystroke in a
// number field (engine write included), and building the start-up windows (About box,
// main window, chooser) once the application exists. Offscreen platform, pinned HOME.
#include "app/core/RunState.h"
#include "app/gui/QtUi.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmStartUp.h"
#include "app/input/frmIP.h"
#include "tests/gui/FakeDialogs.h"

#include <activation/Activation.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <memory>

namespace {

struct Fixture {
    guitest::FakeDialogs dialogs;  // every box answered at once
    caldren::RunState state;
    std::unique_ptr<caldren::gui::QtUi> ui;
    Fixture() {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state.document.engine->Load(CALDREN_DEMO_SOURCE);
        state.document.currentFileName = "/tmp/bench/DEMO.CLD";
        state.program.versionTag = "CLD2026.12";
        state.program.fullVersion = "CLD2026.12.1";
        ui = std::make_unique<caldren::gui::QtUi>(state, dialogs);
        state.SetUi(ui.get());
    }
};

void BM_OpenInputForm(benchmark::State& bench) {
    Fixture f;
    for (auto _ : bench) {
        caldren::input::frmIP form(f.state, *f.ui, f.dialogs);
        form.SetInitialIP();
        form.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.isVisible());
    }
}
BENCHMARK(BM_OpenInputForm)->Unit(benchmark::kMillisecond);

void BM_KeystrokeInNumberField(benchmark::State& bench) {
    Fixture f;
    caldren::input::frmIP form(f.state, *f.ui, f.dialogs);
    form.show();
    form.findChild<QTabWidget*>(QStringLiteral("vsTabIP"))->setCurrentIndex(1);
    auto* box = form.findChild<QLineEdit*>(QStringLiteral("txtCurAssets"));
    box->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    box->deselect();
    box->setCursorPosition(static_cast<int>(box->text().size()));
    for (auto _ : bench) {
        QTest::keyClick(box, Qt::Key_7);          // "4,850,0007": the engine takes it
        QTest::keyClick(box, Qt::Key_Backspace);  // back to "4,850,000"
    }
    bench.SetItemsProcessed(bench.iterations() * 2);
    if (f.state.document.engine->get_CurAssets() != "4,850,000")
        bench.SkipWithError("the field did not reach the engine");
}
BENCHMARK(BM_KeystrokeInNumberField)->Unit(benchmark::kMicrosecond);

void BM_RejectedKeystroke(benchmark::State& bench) {
    Fixture f;
    caldren::input::frmIP form(f.state, *f.ui, f.dialogs);
    form.show();
    form.findChild<QTabWidget*>(QStringLiteral("vsTabIP"))->setCurrentIndex(1);
    auto* box = form.findChild<QLineEdit*>(QStringLiteral("txtCurAssets"));
    box->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    for (auto _ : bench) {
        box->setCursorPosition(static_cast<int>(box->text().size()));
        QTest::keyClick(box, Qt::Key_X);  // message (answered by the fake), beep, restore
        f.dialogs.boxes.clear();
    }
}
BENCHMARK(BM_RejectedKeystroke)->Unit(benchmark::kMicrosecond);

void BM_StartWindows(benchmark::State& bench) {
    Fixture f;
    for (auto _ : bench) {
        {
            caldren::gui::frmAbout splash(f.state.program, f.dialogs);
            splash.show();
            QCoreApplication::processEvents();
        }
        caldren::gui::frmMain main(f.state, *f.ui, f.dialogs);
        caldren::gui::frmStartUp chooser(f.state.options);
        chooser.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(chooser.isVisible());
    }
}
BENCHMARK(BM_StartWindows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    static QTemporaryDir home;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("HOME", home.path().toUtf8().constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8().constData(), 1);
    ::setenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8().constData(), 1);
    activation::SetFallbackLibrary(CALDREN_VESMORA_PATH);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
