// The three reports on the real engine: the worked examples are entered, saved, calculated
// and reported; the text must equal the hand-laid files the layout tests use.
#include "Reports.h"
#include "TestSupport.h"
#include "WorkedExample.h"

#include <activation/Activation.h>
#include <activation/Com.h>
#include <vesmora/Vesmora.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace Reports;
using testsupport::Expected;
using testsupport::ReadFile;
using testsupport::SameBytes;
using testsupport::TempDir;
using vesmora::_Caldren;
using vesmora::ComPtr;

namespace {

[[maybe_unused]] auto* const kEnv = ::testing::AddGlobalTestEnvironment(new testsupport::EngineEnvironment);

enum Methods { kNeither, kAverage, kPeak, kBoth, kPeakActual };

struct Analysis {
    TempDir dir;
    std::string file;
    ComPtr<_Caldren> calc;
};

// Enters the worked example (months only for the peak cases), saves it and calculates.
std::unique_ptr<Analysis> Enter(Methods m) {
    auto a = std::make_unique<Analysis>();
    a->file = (a->dir.Path() / "acme.cld").string();
    a->calc = activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren);
    _Caldren& c = *a->calc;
    c.BeginEdit();
    c.put_sName("Acme Castings, Inc.");
    c.put_Line2("Accumulated Earnings Analysis");
    c.put_DoAveCycle(m == kAverage || m == kBoth);
    c.put_DoPeakCycle(m == kPeak || m == kBoth || m == kPeakActual);
    c.put_DoPeakUseSalesAndPurch(m != kPeakActual);
    testsupport::EnterWorkedExampleAmounts(c);
    if (m == kPeak || m == kBoth || m == kPeakActual) {
        auto months = c.get_colMonths();
        // Inventory is estimated from sales and purchases, except with actual figures.
        const bool actual = m == kPeakActual;
        months->Add("1/15/2002", actual ? "100000" : "0", "120000", "75000", "50000", 0, 0, 0);
        months->Add("2/15/2002", actual ? "105000" : "0", "100000", "60000", "45000", 0, 0, 0);
        months->Add("3/15/2002", actual ? "115000" : "0", "150000", "90000", "70000", 0, 0, 0);
    }
    c.ApplyEdit(a->file);
    c.Calculate();
    return a;
}

template <class Build>
std::string FileText(Build build, const Analysis& a) {
    RecordingSink sink;
    build(*a.calc, sink, "/data/acme.cld");
    EXPECT_EQ(1u, sink.Reports().size());
    return sink.Reports().back().Body() + "\r\n";
}

struct Case {
    Methods methods;
    const char* summary;
    const char* detailed;
    const char* inputs;
};

class EngineReports : public ::testing::TestWithParam<Case> {};

TEST_P(EngineReports, WorkedExamples) {
    const Case& p = GetParam();
    auto a = Enter(p.methods);
    EXPECT_TRUE(SameBytes(Expected(p.summary), FileText(&BuildSummReport, *a)));
    EXPECT_TRUE(SameBytes(Expected(p.detailed), FileText(&BuildDetailReport, *a)));
    EXPECT_TRUE(SameBytes(Expected(p.inputs), FileText(&BuildIPReport, *a)));
}

INSTANTIATE_TEST_SUITE_P(Reports, EngineReports, ::testing::Values(
    Case{kAverage, "summary_average.txt", "detailed_average.txt", "inputs_average.txt"},
    Case{kPeak, "summary_peak.txt", "detailed_peak.txt", "inputs_peak.txt"},
    Case{kBoth, "summary_both.txt", "detailed_both.txt", "inputs_peak.txt"},
    Case{kPeakActual, "summary_peak.txt", "detailed_peak_actual.txt", "inputs_peak_actual.txt"},
    Case{kNeither, "summary_neither.txt", "detailed_neither.txt", "inputs_average.txt"}));

// The batch path: File mode appends Detailed, then Summary, each followed by CR LF.
class FileHost : public ReportsHost {
public:
    explicit FileHost(std::string out) : m_out(std::move(out)) {}
    std::vector<std::string> errors;
    void GetReports(ReportMode, ReportChoices&) override { errors.push_back("dialog in batch"); }
    int GetCopies() override { return 0; }
    void SetNewFont(PrinterFontRecord&) override {}
    void SetOldFont(const PrinterFontRecord&) override {}
    void BeginBusy() override { errors.push_back("cursor in batch"); }
    void EndBusy() override {}
    std::unique_ptr<ReportSink> MakeSink(ReportMode) override {
        return std::make_unique<FileSink>(m_out);
    }
    void ShowNoDataNotice() override { errors.push_back("notice in batch"); }
    void ReportOrLog(const activation::ComError& e, const std::string& loc) override {
        errors.push_back(loc + ": " + e.Description());
    }
    void ReportErrorAndQuit(const activation::ComError& e, const std::string& loc) override {
        errors.push_back(loc + ": " + e.Description());
    }

private:
    std::string m_out;
};

TEST(EngineBatch, DetailedThenSummaryAppended) {
    auto a = Enter(kBoth);
    const std::string out = (a->dir.Path() / "out.txt").string();
    { std::ofstream(out, std::ios::binary) << "before\r\n"; }
    FileHost host(out);
    ReportChoices choices{0, 1, 1};
    RunContext ctx{*a->calc, host, choices, "/data/acme.cld", true};
    EXPECT_TRUE(RunReports(kFile, ctx));
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
    EXPECT_TRUE(SameBytes("before\r\n" + Expected("detailed_both.txt") + Expected("summary_both.txt"),
                          ReadFile(out)));
}

TEST(EngineBatch, NeverSavedAnalysisIsRefusedAndNothingWritten) {
    TempDir dir;
    auto calc = activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren);
    const std::string out = (dir.Path() / "out.txt").string();
    FileHost host(out);
    ReportChoices choices{0, 1, 1};
    RunContext ctx{*calc, host, choices, "", true};
    EXPECT_FALSE(RunReports(kFile, ctx));
    ASSERT_EQ(1u, host.errors.size());
    EXPECT_EQ(0u, host.errors[0].find("RunReports: "));
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
