// Engine benchmarks. The data file goes to $BENCH_DIR (default /tmp); on a disk-backed
// folder the store's crash-safe replace (file and folder flushed) dominates Save.
#include "Caldren.h"
#include "Factories.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdlib>
#include <string>

namespace {

using namespace vesmora;

ComPtr<Caldren> TwelveMonthAnalysis(const std::string& file) {
    ComPtr<Caldren> c(static_cast<Caldren*>(NewCaldren()));
    c->BeginEdit();
    c->put_sName("Benchmark Manufacturing Co.");
    c->put_Version("CLD2026.12");
    c->put_DoAveCycle(true);
    c->put_DoPeakCycle(true);
    c->put_DoPeakUseSalesAndPurch(true);
    c->put_InvBeg("100,000");
    c->put_InvEnd("120,000");
    c->put_COGS("600,000");
    c->put_ARBeg("80,000");
    c->put_AREnd("100,000");
    c->put_NetSales("900,000");
    c->put_APBegRel2Inv("50,000");
    c->put_APEndRel2Inv("70,000");
    c->put_InvPurchases("620,000");
    c->put_COGSNxtYr("650,000");
    c->put_OperatingExpNxtYr("200,000");
    c->put_IncTaxNxtYr("30,000");
    c->put_DeprecNxtYr("40,000");
    c->put_CurAssets("500,000");
    c->put_CurLiab("250,000");
    c->put_Reasonableneeds("20,000");
    c->put_Contingencies("10,000");
    c->put_EOYMonths("12/31/2003");
    auto months = c->get_colMonths();
    for (int i = 0; i < 12; ++i)
        months->Add("1/15/2003", std::to_string(90000 + 1000 * i),
                    std::to_string(100000 + 2500 * i), std::to_string(70000 + 1500 * i),
                    std::to_string(50000 + 800 * i), 0, 0, 0);
    months->FillFiscalMonth("12/31/2003");
    c->ApplyEdit(file);
    return c;
}

std::string BenchFile(const char* name) {
    const char* dir = std::getenv("BENCH_DIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name + "." + std::to_string(getpid()) +
           ".cld";
}

void BM_AmountSetterGetterRoundTrip(benchmark::State& state) {
    ComPtr<Caldren> c(static_cast<Caldren*>(NewCaldren()));
    c->BeginEdit();
    for (auto _ : state) {
        c->put_CurAssets("1,234,567.89");
        benchmark::DoNotOptimize(c->get_CurAssets());
    }
}
BENCHMARK(BM_AmountSetterGetterRoundTrip);

void BM_DateSetterGetterRoundTrip(benchmark::State& state) {
    ComPtr<Caldren> c(static_cast<Caldren*>(NewCaldren()));
    c->BeginEdit();
    for (auto _ : state) {
        c->put_EOYCurrent("6/30/2004");
        benchmark::DoNotOptimize(c->get_EOYCurrent());
    }
}
BENCHMARK(BM_DateSetterGetterRoundTrip);

void BM_SaveFetchTwelveMonths(benchmark::State& state) {
    const std::string file = BenchFile("engine_bench_save");
    auto c = TwelveMonthAnalysis(file);
    ComPtr<Caldren> d(static_cast<Caldren*>(NewCaldren()));
    for (auto _ : state) {
        c->Save(file);
        d->Fetch(file);
    }
    unlink(file.c_str());
}
BENCHMARK(BM_SaveFetchTwelveMonths)->Unit(benchmark::kMicrosecond);

void BM_FetchTwelveMonths(benchmark::State& state) {
    const std::string file = BenchFile("engine_bench_fetch");
    auto c = TwelveMonthAnalysis(file);
    ComPtr<Caldren> d(static_cast<Caldren*>(NewCaldren()));
    for (auto _ : state) d->Fetch(file);
    unlink(file.c_str());
}
BENCHMARK(BM_FetchTwelveMonths)->Unit(benchmark::kMicrosecond);

void BM_CalculateBothMethodsTwelveMonths(benchmark::State& state) {
    const std::string file = BenchFile("engine_bench_calc");
    auto c = TwelveMonthAnalysis(file);
    unlink(file.c_str());
    for (auto _ : state) c->Calculate();
    benchmark::DoNotOptimize(c->get_ExcessWCPeak());
}
BENCHMARK(BM_CalculateBothMethodsTwelveMonths)->Unit(benchmark::kMicrosecond);

}  // namespace
