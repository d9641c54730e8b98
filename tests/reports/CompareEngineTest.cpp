// The comparison on the real engine: the worked examples are entered and saved as two
// data files, loaded afresh, calculated and compared; the text must equal the hand-laid
// file. A missing file and a file the engine cannot calculate get their notes.
#include "CompareRun.h"
#include "ReportCompare.h"
#include "Reports.h"
#include "TestSupport.h"
#include "WorkedExample.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Reports;
using testsupport::Expected;
using testsupport::SameBytes;
using testsupport::TempDir;
using vesmora::_Caldren;
using vesmora::ComPtr;

namespace {

[[maybe_unused]] auto* const kEnv = ::testing::AddGlobalTestEnvironment(new testsupport::EngineEnvironment);

ComPtr<_Caldren> NewCalc() { return activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren); }

// The worked example: average method alone, or the peak method alone with its three months.
void Save(const std::string& file, bool peak, const char* yearEnd, const char* netSales = "900,000") {
    auto calc = NewCalc();
    _Caldren& c = *calc;
    c.BeginEdit();
    c.put_sName("Acme Castings, Inc.");
    c.put_Line2("Accumulated Earnings Analysis");
    c.put_EOYCurrent(yearEnd);
    c.put_DoAveCycle(!peak);
    c.put_DoPeakCycle(peak);
    c.put_DoPeakUseSalesAndPurch(true);
    testsupport::EnterWorkedExampleAmounts(c, netSales);
    if (peak) {
        auto months = c.get_colMonths();
        months->Add("1/15/2003", "0", "120000", "75000", "50000", 0, 0, 0);
        months->Add("2/15/2003", "0", "100000", "60000", "45000", 0, 0, 0);
        months->Add("3/15/2003", "0", "150000", "90000", "70000", 0, 0, 0);
    }
    c.ApplyEdit(file);
}

}  // namespace

TEST(CompareOnEngine, WorkedExamplesSideBySide) {
    TempDir dir;
    const std::string a2002 = (dir.Path() / "acme2002.cld").string();
    const std::string a2003 = (dir.Path() / "acme2003.cld").string();
    Save(a2002, false, "12/31/2002");
    Save(a2003, true, "12/31/2003");

    std::vector<CompareFile> files;
    files.push_back(LoadCompareFile(NewCalc(), a2003));
    files.push_back(LoadCompareFile(NewCalc(), a2002));
    ASSERT_TRUE(files[0].Ok()) << files[0].failure;
    ASSERT_TRUE(files[1].Ok()) << files[1].failure;

    RecordingSink sink;
    BuildCompareReport(files, sink);
    ASSERT_EQ(1u, sink.Reports().size());
    EXPECT_TRUE(SameBytes(Expected("compare_two.txt"), sink.Reports()[0].Body() + "\r\n"));
}

TEST(CompareOnEngine, MissingAndUncalculableFiles) {
    TempDir dir;
    const std::string good = (dir.Path() / "good.cld").string();
    const std::string zero = (dir.Path() / "zero.cld").string();
    Save(good, false, "12/31/2002");
    Save(zero, false, "12/31/2003", "0");

    CompareFile missing = LoadCompareFile(NewCalc(), (dir.Path() / "missing.cld").string());
    EXPECT_FALSE(missing.Ok());
    EXPECT_FALSE(missing.calc);
    EXPECT_EQ("Could not be loaded: the file does not exist", missing.failure);

    CompareFile z = LoadCompareFile(NewCalc(), zero);
    EXPECT_FALSE(z.Ok());
    ASSERT_TRUE(z.calc);  // loaded: its year end still places it
    EXPECT_EQ("Could not be calculated: Division by zero (error 11)", z.failure);
    EXPECT_EQ(11, z.errorNumber);
    EXPECT_EQ("12/31/2003", z.calc->get_EOYCurrent());

    // Not a data file at all.
    const std::string junk = (dir.Path() / "junk.cld").string();
    {
        std::FILE* f = std::fopen(junk.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fputs("\x01\x02 not a data file", f);
        std::fclose(f);
    }
    CompareFile j = LoadCompareFile(NewCalc(), junk);
    EXPECT_FALSE(j.Ok());
    EXPECT_EQ(0u, j.failure.rfind("Could not be ", 0)) << j.failure;

    std::vector<CompareFile> files{missing, LoadCompareFile(NewCalc(), good), z};
    RecordingSink sink;
    BuildCompareReport(files, sink);
    const std::string body = sink.Reports()[0].Body();
    const std::string head = std::string(37, ' ') + "        good          zero       missing";
    EXPECT_EQ(head, body.substr(0, body.find("\r\n")));
    EXPECT_NE(std::string::npos, body.find("  Note 1: " + zero));
    EXPECT_NE(std::string::npos, body.find("  Note 2: " + (dir.Path() / "missing.cld").string()));
}

// The batch's comparison: appended to the output file after what it held, the data files
// left as they were, a failed file reported and given its column.
TEST(CompareOnEngine, RunCompareToFileAppends) {
    TempDir dir;
    const std::string a2002 = (dir.Path() / "acme2002.cld").string();
    const std::string a2003 = (dir.Path() / "acme2003.cld").string();
    Save(a2002, false, "12/31/2002");
    Save(a2003, true, "12/31/2003");
    const std::string before2002 = testsupport::ReadFile(a2002);
    const std::string before2003 = testsupport::ReadFile(a2003);
    const std::string out = (dir.Path() / "cmp.txt").string();
    {
        std::FILE* f = std::fopen(out.c_str(), "wb");
        std::fputs("earlier report\r\n", f);
        std::fclose(f);
    }
    CompareRunResult r = RunCompareToFile({a2003, a2002}, out, &NewCalc);
    EXPECT_TRUE(r.Ok());
    EXPECT_TRUE(SameBytes("earlier report\r\n" + Expected("compare_two.txt"),
                          testsupport::ReadFile(out)));
    EXPECT_EQ(before2002, testsupport::ReadFile(a2002));
    EXPECT_EQ(before2003, testsupport::ReadFile(a2003));

    const std::string missing = (dir.Path() / "missing.cld").string();
    r = RunCompareToFile({a2002, missing}, out, &NewCalc);
    ASSERT_EQ(1u, r.failures.size());
    EXPECT_EQ(missing + ": Could not be loaded: the file does not exist", r.failures[0].Text());
    EXPECT_EQ(53, r.failures[0].number);

    // An engine that cannot be created: that file's column says so.
    int made = 0;
    r = RunCompareToFile({a2002, a2003}, out, [&]() -> ComPtr<_Caldren> {
        if (++made == 2) throw activation::ComError(429, "Activation.CreateObject", "");
        return NewCalc();
    });
    ASSERT_EQ(1u, r.failures.size());
    EXPECT_EQ(0u, r.failures[0].Text().find(a2003 + ": Could not be loaded: ")) << r.failures[0].Text();
    EXPECT_EQ(429, r.failures[0].number);

    // Fewer than two names: nothing written.
    const std::string now = testsupport::ReadFile(out);
    EXPECT_THROW(RunCompareToFile({a2002}, out, &NewCalc), activation::ComError);
    EXPECT_EQ(now, testsupport::ReadFile(out));
}
