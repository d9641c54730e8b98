// RunReports through a scripted host: order of the reports per mode, copies, the dialog's
// choices, the batch run, and the error paths (data/runs.txt). The notice's text is checked
// where the windows show it (tests/gui/reports).
#include "ReportsTest.h"

#include <sstream>

namespace {

using namespace Reports;
using namespace reportstest;

// Records every host call; answers from its fields. Its sinks record into `record` and
// fail while building the reports named in `failIn`.
class ScriptedHost : public ReportsHost {
public:
    std::string calls, failIn;
    ReportChoices answer;
    int copies = 1;
    long failNumber = 0;
    RecordingSink record;

    void Call(const std::string& call) { calls += (calls.empty() ? "" : " ") + call; }
    void GetReports(ReportMode mode, ReportChoices& c) override {
        Call("GetReports:" + std::to_string(mode));
        c = answer;
    }
    int GetCopies() override {
        Call("GetCopies");
        return copies;
    }
    void SetNewFont(PrinterFontRecord& saved) override {
        Call("SetNewFont");
        saved.name = "Printer default";
    }
    void SetOldFont(const PrinterFontRecord& saved) override { Call("SetOldFont:" + saved.name); }
    void BeginBusy() override { Call("BeginBusy"); }
    void EndBusy() override { Call("EndBusy"); }
    void ProcessEvents() override { Call("ProcessEvents"); }
    void ShowNoDataNotice() override { Call("Notice"); }
    void ShowCalculationProblem(const std::string& text) override {
        Call("Problem:" + text.substr(0, text.find('.')));
    }
    void ReportOrLog(const activation::ComError& e, const std::string& location) override {
        Call("ReportOrLog:" + std::to_string(e.Number()) + ":" + location);
    }
    void ReportErrorAndQuit(const activation::ComError& e, const std::string& location) override {
        Call("ReportErrorAndQuit:" + std::to_string(e.Number()) + ":" + location);
    }
    std::unique_ptr<ReportSink> MakeSink(ReportMode mode) override {
        Call("MakeSink:" + std::to_string(mode));
        return std::make_unique<Forwarding>(*this);
    }

    class Forwarding : public ReportSink {
    public:
        explicit Forwarding(ScriptedHost& h) : m_h(h) {}
        void BeginReport(const ReportStart& s) override {
            m_kind = s.kind == ReportKind::Summary    ? "Summary"
                     : s.kind == ReportKind::Detailed ? "Detailed"
                                                      : "Inputs";
            m_h.record.BeginReport(s);
        }
        void PrintOrDisplay(std::string_view c, int n, const ReportHeadings& h) override {
            if (m_h.failIn.find(m_kind) != std::string::npos)
                throw activation::ComError(m_h.failNumber, "Sink");
            m_h.record.PrintOrDisplay(c, n, h);
        }
        void EndReport() override { m_h.record.EndReport(); }
        void AbortReport() noexcept override { m_h.record.AbortReport(); }
        void EndPrintJob() override { m_h.record.EndPrintJob(); }

    private:
        ScriptedHost& m_h;
        std::string m_kind;
    };
};

ReportChoices Choices(const std::string& text) {
    ReportChoices c{0, 0, 0};
    std::istringstream(text) >> c.input >> c.summary >> c.detail;
    return c;
}

TEST(RunReports, Table) {
    const std::map<std::string, ReportMode> modes = {
        {"View", kView}, {"Print", kPrint}, {"File", kFile}};
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_REPORTS_DATA "/runs.txt")) {
        auto calc = Analysis(row[4] == "new" ? "new" : "both", false);
        if (row[4] == "zero sales") calc->Load(CALDREN_REPORTS_DATA "/zero_sales.cld");
        ScriptedHost host;
        ReportChoices choices{1, 1, 1};
        (row[1] == "yes" ? choices : host.answer) = Choices(row[2]);
        host.copies = std::stoi(row[3]);
        if (row[4] != "zero sales") std::istringstream(row[4]) >> host.failIn >> host.failNumber;
        RunContext ctx{*calc, host, choices, "/data/acme.cld", row[1] == "yes"};
        EXPECT_EQ(RunReports(modes.at(row[0]), ctx) ? "true" : "false", row[7]) << row.where;
        std::string events;
        for (const std::string& e : host.record.Events())
            if (e.rfind("chunk:", 0) != 0) events += (events.empty() ? "" : " ") + e;
        EXPECT_EQ(host.calls, row[5]) << row.where;
        EXPECT_EQ(events, row[6]) << row.where;
        EXPECT_EQ(calc->get_CostOfOperations() == "0" ? "no" : "yes", row[8]) << row.where;
        EXPECT_EQ(std::to_string(choices.input) + " " + std::to_string(choices.summary) + " " +
                      std::to_string(choices.detail),
                  row[9])
            << row.where;
    }
}

}  // namespace
