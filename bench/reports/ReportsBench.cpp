// Report building for a twelve-month analysis with both methods (peak estimated from sales
// and purchases): each layout alone, the three together as a batch run collects them, and
// the append of the three to a file.
#include "Reports.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using vesmora::_Caldren;
using vesmora::ComPtr;

// Collects the report text as the File sink does, without the file.
class CollectSink : public Reports::ReportSink {
public:
    std::string text;
    void BeginReport(const Reports::ReportStart&) override {}
    void PrintOrDisplay(std::string_view chunk, int, const Reports::ReportHeadings&) override {
        text.append(chunk);
    }
    void EndReport() override { text += "\r\n"; }
};

struct Analysis {
    std::filesystem::path dir;
    ComPtr<_Caldren> calc;

    Analysis() {
        dir = std::filesystem::temp_directory_path() /
              ("reports-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        activation::SetFallbackLibrary(CALDREN_ENGINE_LIBRARY);
        calc = activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren);
        _Caldren& c = *calc;
        c.BeginEdit();
        c.put_sName("Harrow Valley Fabrication Co.");
        c.put_Line2("Accumulated Earnings Analysis - Fiscal Year 2003");
        c.put_EOYCurrent("6/30/2003");
        c.put_EOYNxtYr("6/30/2004");
        c.put_DoAveCycle(true);
        c.put_DoPeakCycle(true);
        c.put_DoPeakUseSalesAndPurch(true);
        c.put_InvBeg("412,300");
        c.put_InvEnd("455,900");
        c.put_COGS("3,120,000");
        c.put_ARBeg("388,000");
        c.put_AREnd("402,500");
        c.put_NetSales("4,650,000");
        c.put_APBegRel2Inv("190,000");
        c.put_APEndRel2Inv("214,000");
        c.put_InvPurchases("3,166,000");
        c.put_COGSNxtYr("3,280,000");
        c.put_OperatingExpNxtYr("1,010,000");
        c.put_IncTaxNxtYr("96,000");
        c.put_DeprecNxtYr("142,000");
        c.put_CurAssets("1,925,000");
        c.put_Securities("150,000");
        c.put_CurLiab("640,000");
        c.put_Reasonableneeds("250,000");
        c.put_Contingencies("75,000");
        auto months = c.get_colMonths();
        for (int m = 0; m < 12; ++m) {
            const std::string date = std::to_string((m + 6) % 12 + 1) + "/15/2002";
            months->Add(date, "0", std::to_string(360000 + 5000 * m),
                        std::to_string(360000 + 9000 * (m % 5)),
                        std::to_string(255000 + 7000 * (m % 4)), 0, 0, 0);
        }
        c.ApplyEdit((dir / "bench.cld").string());
        c.Calculate();
    }
    ~Analysis() {
        calc.Reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Analysis& Shared() {
    static Analysis a;
    return a;
}

void BM_Summary(benchmark::State& state) {
    auto& a = Shared();
    for (auto _ : state) {
        CollectSink s;
        Reports::BuildSummReport(*a.calc, s, "/data/harrow.cld");
        benchmark::DoNotOptimize(s.text.data());
    }
}
BENCHMARK(BM_Summary);

void BM_Detailed(benchmark::State& state) {
    auto& a = Shared();
    for (auto _ : state) {
        CollectSink s;
        Reports::BuildDetailReport(*a.calc, s, "/data/harrow.cld");
        benchmark::DoNotOptimize(s.text.data());
    }
}
BENCHMARK(BM_Detailed);

void BM_Inputs(benchmark::State& state) {
    auto& a = Shared();
    for (auto _ : state) {
        CollectSink s;
        Reports::BuildIPReport(*a.calc, s, "/data/harrow.cld");
        benchmark::DoNotOptimize(s.text.data());
    }
}
BENCHMARK(BM_Inputs);

void BM_AllThree(benchmark::State& state) {
    auto& a = Shared();
    size_t bytes = 0;
    for (auto _ : state) {
        CollectSink s;
        Reports::BuildDetailReport(*a.calc, s, "/data/harrow.cld");
        Reports::BuildSummReport(*a.calc, s, "/data/harrow.cld");
        Reports::BuildIPReport(*a.calc, s, "/data/harrow.cld");
        bytes = s.text.size();
        benchmark::DoNotOptimize(s.text.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_AllThree);

// The three reports through FileSink: three all-or-nothing appends to one file.
void BM_AllThreeToFile(benchmark::State& state) {
    auto& a = Shared();
    const auto out = a.dir / "out.txt";
    for (auto _ : state) {
        std::filesystem::remove(out);
        Reports::FileSink s(out.string());
        Reports::BuildDetailReport(*a.calc, s, "/data/harrow.cld");
        Reports::BuildSummReport(*a.calc, s, "/data/harrow.cld");
        Reports::BuildIPReport(*a.calc, s, "/data/harrow.cld");
    }
}
BENCHMARK(BM_AllThreeToFile);

void BM_FormatDollars(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Reports::FormatDollars("12,345,678"));
}
BENCHMARK(BM_FormatDollars);

}  // namespace

BENCHMARK_MAIN();
