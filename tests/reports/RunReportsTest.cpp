// RunReports and the builders' error paths through a scripted host.
#include "FakeEngine.h"
#include "Reports.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Reports;

namespace {

// Records every host call; answers from its fields.
class ScriptedHost : public ReportsHost {
public:
    std::vector<std::string> calls;
    ReportChoices dialogAnswer{1, 1, 1};
    bool dialogCancelled = false;
    int copies = 1;
    RecordingSink* lastSink = nullptr;
    std::vector<std::pair<long, std::string>> reported;  // ReportOrLog
    std::vector<std::pair<long, std::string>> quit;      // ReportErrorAndQuit
    std::vector<std::unique_ptr<RecordingSink>> sinks;
    bool failSink = false;

    void GetReports(ReportMode mode, ReportChoices& c) override {
        calls.push_back("GetReports:" + std::to_string(mode));
        c = dialogCancelled ? ReportChoices{0, 0, 0} : dialogAnswer;
    }
    int GetCopies() override {
        calls.push_back("GetCopies");
        return copies;
    }
    void SetNewFont(PrinterFontRecord& saved) override {
        calls.push_back("SetNewFont");
        saved.name = "Printer default";
        saved.size = 12;
    }
    void SetOldFont(const PrinterFontRecord& saved) override {
        calls.push_back("SetOldFont:" + saved.name);
    }
    void BeginBusy() override { calls.push_back("BeginBusy"); }
    void EndBusy() override { calls.push_back("EndBusy"); }
    void ProcessEvents() override { calls.push_back("ProcessEvents"); }
    std::unique_ptr<ReportSink> MakeSink(ReportMode mode) override {
        calls.push_back("MakeSink:" + std::to_string(mode));
        auto s = std::make_unique<Forwarding>(*this);
        return s;
    }
    void ShowNoDataNotice() override { calls.push_back("Notice"); }
    void ReportOrLog(const activation::ComError& e, const std::string& loc) override {
        calls.push_back("ReportOrLog:" + loc);
        reported.emplace_back(e.Number(), loc);
    }
    void ReportErrorAndQuit(const activation::ComError& e, const std::string& loc) override {
        calls.push_back("ReportErrorAndQuit:" + loc);
        quit.emplace_back(e.Number(), loc);
    }

    RecordingSink record;

    // Hands everything to `record` (so the test keeps it after the run).
    class Forwarding : public ReportSink {
    public:
        explicit Forwarding(ScriptedHost& h) : m_h(h) {}
        void BeginReport(const ReportStart& s) override { m_h.record.BeginReport(s); }
        void PrintOrDisplay(std::string_view c, int n, const ReportHeadings& h) override {
            if (m_h.failSink) throw activation::ComError(482, "Printer", "Printer error");
            m_h.record.PrintOrDisplay(c, n, h);
        }
        void EndReport() override { m_h.record.EndReport(); }
        void AbortReport() noexcept override { m_h.record.AbortReport(); }
        void EndPrintJob() override { m_h.record.EndPrintJob(); }

    private:
        ScriptedHost& m_h;
    };
};

struct Fixture : ::testing::Test {
    fake::Caldren calc;
    ScriptedHost host;
    ReportChoices choices{1, 1, 1};
    RunContext ctx{calc, host, choices, "/data/acme.cld", false};
    Fixture() { fake::LoadAverageExample(calc); }

    std::vector<std::string> Kinds() const {
        std::vector<std::string> v;
        for (const auto& e : host.record.Events())
            if (e.rfind("begin:", 0) == 0 || e == "endjob") v.push_back(e);
        return v;
    }
};

TEST_F(Fixture, ViewOrderIsDetailedSummaryInputs) {
    EXPECT_TRUE(RunReports(kView, ctx));
    EXPECT_EQ((std::vector<std::string>{"GetReports:1", "BeginBusy", "ProcessEvents", "ProcessEvents",
                                        "MakeSink:1", "EndBusy"}),
              host.calls);
    EXPECT_EQ((std::vector<std::string>{"begin:Detailed", "begin:Summary", "begin:Inputs"}), Kinds());
    EXPECT_EQ(1, calc.calculateCalls);
}

TEST_F(Fixture, PrintTwoCopiesIsTwoJobsInputsSummaryDetailed) {
    host.copies = 2;
    EXPECT_TRUE(RunReports(kPrint, ctx));
    EXPECT_EQ((std::vector<std::string>{"begin:Inputs", "begin:Summary", "begin:Detailed", "endjob",
                                        "begin:Inputs", "begin:Summary", "begin:Detailed", "endjob"}),
              Kinds());
    EXPECT_EQ((std::vector<std::string>{"GetReports:2", "GetCopies", "SetNewFont", "BeginBusy",
                                        "ProcessEvents", "ProcessEvents", "MakeSink:2", "EndBusy",
                                        "SetOldFont:Printer default"}),
              host.calls);
}

TEST_F(Fixture, CancelledPrintDialogSwitchesFontBackAndPrintsNothing) {
    host.copies = 0;
    EXPECT_TRUE(RunReports(kPrint, ctx));
    EXPECT_TRUE(host.record.Events().empty());
    EXPECT_EQ((std::vector<std::string>{"GetReports:2", "GetCopies", "SetNewFont", "BeginBusy",
                                        "ProcessEvents", "ProcessEvents", "EndBusy",
                                        "SetOldFont:Printer default"}),
              host.calls);
}

TEST_F(Fixture, NothingChosenDoesNothing) {
    host.dialogCancelled = true;
    EXPECT_TRUE(RunReports(kView, ctx));
    EXPECT_EQ((std::vector<std::string>{"GetReports:1"}), host.calls);
    EXPECT_EQ(0, calc.calculateCalls);
    EXPECT_EQ(0, choices.input + choices.summary + choices.detail);
}

TEST_F(Fixture, GreyedFlagIsNotChosen) {
    host.dialogAnswer = {2, 0, 2};
    EXPECT_TRUE(RunReports(kView, ctx));
    EXPECT_EQ(0, calc.calculateCalls);
    EXPECT_TRUE(host.record.Events().empty());
}

TEST_F(Fixture, InputsAloneDoesNotCalculate) {
    host.dialogAnswer = {1, 0, 0};
    EXPECT_TRUE(RunReports(kView, ctx));
    EXPECT_EQ(0, calc.calculateCalls);
    EXPECT_EQ((std::vector<std::string>{"begin:Inputs"}), Kinds());
}

TEST_F(Fixture, BatchAsksNothingAndUsesTheStoredChoices) {
    ctx.batch = true;
    choices = {0, 1, 1};
    EXPECT_TRUE(RunReports(kFile, ctx));
    EXPECT_EQ((std::vector<std::string>{"ProcessEvents", "ProcessEvents", "MakeSink:3"}), host.calls);
    EXPECT_EQ((std::vector<std::string>{"begin:Detailed", "begin:Summary"}), Kinds());
}

TEST_F(Fixture, CalculateFailureIsANoticeAndTheProgramGoesOn) {
    calc.calculateError = 10005;
    EXPECT_FALSE(RunReports(kPrint, ctx));
    EXPECT_TRUE(host.quit.empty());
    // Busy cursor never set; the font never switched, so nothing to restore.
    EXPECT_EQ((std::vector<std::string>{"GetReports:2", "Notice"}), host.calls);
}

TEST_F(Fixture, BuilderErrorIsReportedAndTheRunGoesOn) {
    calc.failOn = "AvailableWC";
    calc.failNumber = 6;
    EXPECT_FALSE(RunReports(kView, ctx));
    EXPECT_EQ((std::vector<std::pair<long, std::string>>{{6, "DetailedReport.RunDetailReport"},
                                                         {6, "SummaryReport.RunSummReport"}}),
              host.reported);
    ASSERT_EQ(3u, host.record.Reports().size());
    EXPECT_TRUE(host.record.Reports()[0].aborted);
    EXPECT_TRUE(host.record.Reports()[1].aborted);
    EXPECT_TRUE(host.record.Reports()[2].ended);  // Inputs does not read AvailableWC
}

TEST_F(Fixture, NoDataNoticeOutsideBatch) {
    calc.failOn = "sName";
    calc.failNumber = 10005;
    host.dialogAnswer = {0, 1, 0};
    EXPECT_FALSE(RunReports(kView, ctx));
    EXPECT_TRUE(host.reported.empty());
    EXPECT_EQ(1, std::count(host.calls.begin(), host.calls.end(), "Notice"));
}

TEST_F(Fixture, NoDataInBatchIsLogged) {
    calc.failOn = "sName";
    calc.failNumber = 10005;
    ctx.batch = true;
    choices = {0, 1, 0};
    EXPECT_FALSE(RunReports(kFile, ctx));
    EXPECT_EQ((std::vector<std::pair<long, std::string>>{{10005, "SummaryReport.RunSummReport"}}),
              host.reported);
    EXPECT_EQ(0, std::count(host.calls.begin(), host.calls.end(), "Notice"));
}

TEST_F(Fixture, InputsErrorEndsTheRun) {
    calc.failOn = "InvPurchases";
    calc.failNumber = 13;
    host.copies = 2;
    EXPECT_FALSE(RunReports(kPrint, ctx));
    EXPECT_EQ((std::vector<std::pair<long, std::string>>{{13, "RunIPReport"}}), host.quit);
    EXPECT_EQ((std::vector<std::string>{"begin:Inputs"}), Kinds());
    // Busy cursor restored; printer font not restored.
    EXPECT_EQ("EndBusy", host.calls.back());
}

TEST_F(Fixture, SinkErrorTakesTheBuildersPath) {
    host.failSink = true;
    host.dialogAnswer = {0, 1, 0};
    EXPECT_FALSE(RunReports(kPrint, ctx));
    EXPECT_EQ((std::vector<std::pair<long, std::string>>{{482, "SummaryReport.RunSummReport"}}),
              host.reported);
    EXPECT_EQ("SetOldFont:Printer default", host.calls.back());
}

TEST(NoticeText, Exact) {
    EXPECT_STREQ("Notice", kNoDataNoticeTitle);
    EXPECT_STREQ("No data was entered. Please either use menu choice File - New to enter new "
                 "information or File - Open to retrieve data that was previously saved.",
                 kNoDataNotice);
}

}  // namespace
