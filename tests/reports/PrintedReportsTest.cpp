// The report builders driving the printed page model, as the Print sink does: pages,
// headings on every page, page steps, page numbers. Fake page metrics (66 lines a page).
#include "FakeEngine.h"
#include "PrintModel.h"
#include "Reports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Reports;

namespace {

class PageDevice : public PRINT::PrintDevice {
public:
    explicit PageDevice(int lines) : L(lines) {}
    int L;
    std::vector<std::vector<std::string>> pages;
    int jobs = 0;
    bool open = false;
    std::vector<std::string> errors;

    int LinesPerPage() override { return L; }
    void DrawText(int line, int column, std::string_view text) override {
        if (!open) {
            pages.emplace_back();
            open = true;
        }
        auto& p = pages.back();
        if (static_cast<int>(p.size()) <= line) p.resize(line + 1);
        if (static_cast<int>(p[line].size()) < column) p[line].resize(column, ' ');
        p[line].replace(column, text.size(), text);
    }
    void EndPage() override { open = false; }
    void EndDoc() override {
        ++jobs;
        open = false;
    }
    void ShowLineCountError(const std::string& t) override { errors.push_back(t); }
};

// PrintOrDisplay in Print mode: page control, then the chunk as it is.
class PageSink : public ReportSink {
public:
    explicit PageSink(PRINT::PageModel& pm) : m_pm(pm) {}
    void BeginReport(const ReportStart&) override {}
    void PrintOrDisplay(std::string_view chunk, int lines, const ReportHeadings& h) override {
        m_pm.PrnManager2(lines, h.h1, h.h2, h.h3);
        m_pm.PrintChunk(chunk);
    }
    void EndReport() override { m_pm.PrnManager2(kEndReport, "", "", ""); }
    void EndPrintJob() override { m_pm.PrnManager2(kEndJob, "", "", ""); }

private:
    PRINT::PageModel& m_pm;
};

fake::Caldren Both() {
    fake::Caldren c;
    fake::LoadPeakExample(c);
    c.ave = true;
    return c;
}

TEST(PrintedReports, DetailedBothMethodsOnThreePages) {
    fake::Caldren c = Both();
    PageDevice dev(66);
    PRINT::PageModel pm(dev);
    PageSink sink(pm);
    BuildDetailReport(c, sink, "/data/acme.cld");
    sink.EndPrintJob();
    EXPECT_TRUE(dev.errors.empty());
    ASSERT_EQ(3u, dev.pages.size());
    for (size_t i = 0; i < dev.pages.size(); ++i) {
        const auto& p = dev.pages[i];
        EXPECT_EQ("         Acme Castings, Inc.", p[6]) << i;
        EXPECT_EQ("         Accumulated Earnings Analysis", p[7]) << i;
        EXPECT_EQ("         Available Working Capital", p[8]) << i;
        EXPECT_EQ("  Page  " + std::to_string(i + 1), p.back()) << i;
    }
    EXPECT_EQ("  Year Ending 12/31/2003", dev.pages[0][11]);
    EXPECT_EQ("  Next Year's (2003) Operating Cycles:", dev.pages[1][12]);
    EXPECT_EQ("  Working Capital Needed For Business Cycle", dev.pages[2][10]);
    EXPECT_EQ(1, dev.jobs);
}

TEST(PrintedReports, SummaryHeadingTakesThreeLines) {
    fake::Caldren c = Both();
    PageDevice dev(66);
    PRINT::PageModel pm(dev);
    PageSink sink(pm);
    BuildSummReport(c, sink, "/data/acme.cld");
    ASSERT_EQ(1u, dev.pages.size());
    const auto& p = dev.pages[0];
    EXPECT_EQ("         Summary", p[8]);
    EXPECT_EQ("", p[9]);
    EXPECT_EQ("  Year Ending 12/31/2002", p[10]);
    EXPECT_EQ("", p[11]);
    EXPECT_EQ(std::string(60, ' ') + "Caldren", p[12]);
    EXPECT_EQ("  Page  1", p.back());
}

TEST(PrintedReports, TwoCopiesOfThreeReportsAreTwoJobs) {
    fake::Caldren c = Both();
    PageDevice dev(66);
    PRINT::PageModel pm(dev);
    PageSink sink(pm);
    for (int copy = 0; copy < 2; ++copy) {
        BuildIPReport(c, sink, "/data/acme.cld");
        BuildSummReport(c, sink, "/data/acme.cld");
        BuildDetailReport(c, sink, "/data/acme.cld");
        sink.EndPrintJob();
    }
    EXPECT_EQ(2, dev.jobs);
    // Inputs: 2 pages (general inputs, monthly table); Summary 1; Detailed 3.
    ASSERT_EQ(12u, dev.pages.size());
    EXPECT_EQ("         Inputs - Caldren Formula Calculator", dev.pages[0][8]);
    EXPECT_EQ("         Inputs - Caldren Formula Calculator", dev.pages[1][8]);
    EXPECT_EQ("         Summary", dev.pages[2][8]);
    EXPECT_EQ("         Available Working Capital", dev.pages[3][8]);
    EXPECT_EQ("  Page  6", dev.pages[5].back());
    EXPECT_EQ("  Page  1", dev.pages[6].back());  // the second job counts from 1
}

}  // namespace
