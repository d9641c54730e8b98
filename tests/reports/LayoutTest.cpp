// The three report layouts against hand-laid expected files (figures of the worked
// examples), with chunk boundaries and line counts.
#include "FakeEngine.h"
#include "Reports.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Reports;
using testsupport::Expected;
using testsupport::SameBytes;

namespace {

const std::string kFile = "/data/acme.cld";

// The File-mode text of one report: its chunks joined, and the CR LF the file adds.
template <class Build>
RecordingSink::Report BuildOne(Build build, const fake::Caldren& c) {
    RecordingSink sink;
    build(c, sink, kFile);
    EXPECT_EQ(1u, sink.Reports().size());
    EXPECT_TRUE(sink.Reports().back().ended);
    return sink.Reports().back();
}

std::vector<int> LineCounts(const RecordingSink::Report& r) {
    std::vector<int> v;
    for (const auto& c : r.chunks) v.push_back(c.lines);
    return v;
}

// Lines (CR LF count) of each chunk.
std::vector<int> Breaks(const RecordingSink::Report& r) {
    std::vector<int> v;
    for (const auto& c : r.chunks) {
        int n = 0;
        for (size_t p = c.text.find("\r\n"); p != std::string::npos; p = c.text.find("\r\n", p + 2))
            ++n;
        v.push_back(n);
    }
    return v;
}

enum Methods { kNeither, kAverage, kPeak, kBoth, kPeakActual };

fake::Caldren Make(Methods m) {
    fake::Caldren c;
    if (m == kAverage || m == kNeither) fake::LoadAverageExample(c);
    else fake::LoadPeakExample(c);
    c.ave = m == kAverage || m == kBoth;
    c.peak = m == kPeak || m == kBoth || m == kPeakActual;
    if (m == kPeakActual) c.salesAndPurch = false;
    return c;
}

// ---- Summary -------------------------------------------------------------------------

struct SummaryCase {
    Methods methods;
    const char* file;
    std::vector<int> lineCounts;
};

class Summary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(Summary, ExactBytesAndChunks) {
    const auto& p = GetParam();
    fake::Caldren c = Make(p.methods);
    auto r = BuildOne(&BuildSummReport, c);
    EXPECT_TRUE(SameBytes(Expected(p.file), r.Body() + "\r\n"));
    EXPECT_EQ(p.lineCounts, LineCounts(r));
    EXPECT_EQ("Summary Report - /data/acme.cld", r.start.caption);
    EXPECT_EQ("Acme Castings, Inc.", r.start.headings.h1);
    EXPECT_EQ("Accumulated Earnings Analysis", r.start.headings.h2);
    EXPECT_EQ("Summary\r\n\r\n  Year Ending 12/31/2002", r.start.headings.h3);
    for (const auto& chunk : r.chunks) EXPECT_EQ(r.start.headings.h3, chunk.headings.h3);
    // The months are renumbered from the current year end.
    EXPECT_EQ(1, c.months.fillCalls);
    EXPECT_EQ("12/31/2002", c.months.lastFYE);
}

INSTANTIATE_TEST_SUITE_P(Reports, Summary, ::testing::Values(
    SummaryCase{kBoth, "summary_both.txt", {18, 2}},
    SummaryCase{kAverage, "summary_average.txt", {20}},
    SummaryCase{kPeak, "summary_peak.txt", {15}},
    SummaryCase{kNeither, "summary_neither.txt", {}}));

TEST(SummaryLayout, TwoColumnChunksEndWithoutLineEnd) {
    fake::Caldren c = Make(kBoth);
    auto r = BuildOne(&BuildSummReport, c);
    ASSERT_EQ(2u, r.chunks.size());
    EXPECT_EQ((std::vector<int>{17, 2}), Breaks(r));
    EXPECT_EQ("  Less, Contingencies                        10,000             10,000\r\n",
              r.chunks[0].text.substr(r.chunks[0].text.rfind("  Less, Contingencies")));
    EXPECT_EQ(std::string(38, ' ') + std::string(13, '=') + std::string(7, ' ') + std::string(12, '='),
              r.chunks[1].text.substr(r.chunks[1].text.rfind("\r\n") + 2));
}

TEST(SummaryLayout, NegativeExcessKeepsItsSignInsideTheField) {
    fake::Caldren c = Make(kAverage);
    c.v["ExcessWCAve"] = "-1,234,567";
    auto r = BuildOne(&BuildSummReport, c);
    EXPECT_NE(std::string::npos,
              r.Body().find("  Excess Working Capital" + std::string(14, ' ') + "-$1,234,567\r\n"));
}

// ---- Detailed ------------------------------------------------------------------------

struct DetailCase {
    Methods methods;
    const char* file;
    std::vector<int> lineCounts;
};

class Detailed : public ::testing::TestWithParam<DetailCase> {};

TEST_P(Detailed, ExactBytesAndChunks) {
    const auto& p = GetParam();
    fake::Caldren c = Make(p.methods);
    auto r = BuildOne(&BuildDetailReport, c);
    EXPECT_TRUE(SameBytes(Expected(p.file), r.Body() + "\r\n"));
    EXPECT_EQ(p.lineCounts, LineCounts(r));
    EXPECT_EQ("Detailed Analysis Report - /data/acme.cld", r.start.caption);
    EXPECT_EQ("Available Working Capital", r.start.headings.h3);
    for (const auto& chunk : r.chunks) {
        EXPECT_EQ("Available Working Capital", chunk.headings.h3);
        if (chunk.lines == kNewPage) {
            EXPECT_EQ("", chunk.text);
        }
    }
    EXPECT_EQ(1, c.months.fillCalls);
}

INSTANTIATE_TEST_SUITE_P(Reports, Detailed, ::testing::Values(
    DetailCase{kNeither, "detailed_neither.txt", {13, 9}},
    DetailCase{kAverage, "detailed_average.txt", {13, 9, 1, -300, 7, 12, 8, 6}},
    DetailCase{kPeak, "detailed_peak.txt", {13, 9, 6, 4, 1, 1, 1, 1, -300, 10, 1, 1, 1, 18}},
    DetailCase{kPeakActual, "detailed_peak_actual.txt", {13, 9, 1, -300, 10, 1, 1, 1, 18}},
    DetailCase{kBoth, "detailed_both.txt",
               {13, 9, 6, 4, 1, 1, 1, 1, -300, 10, 1, 1, 1, 18, 1, -300, 7, 12, 8, 6}}));

TEST(DetailedLayout, WorksheetChunksSplitInsideLines) {
    fake::Caldren c = Make(kAverage);
    auto r = BuildOne(&BuildDetailReport, c);
    ASSERT_EQ(8u, r.chunks.size());
    const std::string& h = r.chunks[5].text;
    const std::string& i = r.chunks[6].text;
    const std::string& j = r.chunks[7].text;
    EXPECT_EQ(std::string(39, ' '), h.substr(h.rfind("\r\n") + 2));  // I1's indent
    EXPECT_EQ("    $180,000\r\n", i.substr(0, 14));                    // I1's field
    EXPECT_EQ("  ", i.substr(i.rfind("\r\n") + 2));                   // J1's indent
    EXPECT_EQ(0u, j.find("Days In Adjusted Operating Cycle"));
    EXPECT_EQ((std::vector<int>{13, 10, 0, 0, 7, 12, 8, 6}), Breaks(r));
}

TEST(DetailedLayout, OnlyTheFirstMonthRowCarriesDollarSigns) {
    fake::Caldren c = Make(kPeak);
    for (int k = 0; k < 9; ++k) c.months.AddMonth("1,000", "2,000", "3,000", "4,000", 0, 0, 0);
    auto r = BuildOne(&BuildDetailReport, c);
    int dollarRows = 0, rows = 0;
    for (const auto& chunk : r.chunks) {
        if (chunk.lines != 1 || chunk.text.empty() || chunk.text.find("Sales") != std::string::npos)
            continue;
        if (chunk.text.find('.') != std::string::npos) continue;  // cycle rows
        ++rows;
        if (chunk.text.find('$') != std::string::npos) ++dollarRows;
    }
    EXPECT_EQ(12, rows);
    EXPECT_EQ(1, dollarRows);
}

TEST(DetailedLayout, DaysShownInShortestForm) {
    fake::Caldren c = Make(kAverage);
    c.v["InvTurnDaysAve"] = "45";
    c.v["OperatingCycleDaysAve"] = "45.123456";
    auto body = BuildOne(&BuildDetailReport, c).Body();
    EXPECT_NE(std::string::npos, body.find("  Inventory Turnover - Days" + std::string(26, ' ') +
                                           "          45\r\n"));
    EXPECT_NE(std::string::npos, body.find("  Days In Operating Cycle" + std::string(28, ' ') +
                                           "    45.12346\r\n"));
}

// ---- Inputs --------------------------------------------------------------------------

class Inputs : public ::testing::TestWithParam<DetailCase> {};

TEST_P(Inputs, ExactBytesAndChunks) {
    const auto& p = GetParam();
    fake::Caldren c = Make(p.methods);
    auto r = BuildOne(&BuildIPReport, c);
    EXPECT_TRUE(SameBytes(Expected(p.file), r.Body() + "\r\n"));
    EXPECT_EQ(p.lineCounts, LineCounts(r));
    EXPECT_EQ("Inputs Report", r.start.caption);
    EXPECT_EQ("Inputs - Caldren Formula Calculator", r.start.headings.h3);
    // The Inputs report calculates nothing and renumbers nothing.
    EXPECT_EQ(0, c.months.fillCalls);
}

INSTANTIATE_TEST_SUITE_P(Reports, Inputs, ::testing::Values(
    DetailCase{kAverage, "inputs_average.txt", {4, 8, 4, 13, 9}},
    DetailCase{kPeak, "inputs_peak.txt", {4, 8, 4, 13, 9, 3, -300, 6, 1, 1, 1, 5}},
    DetailCase{kPeakActual, "inputs_peak_actual.txt", {4, 8, 4, 13, 9, 3, -300, 6, 1, 1, 1, 5}}));

TEST(InputsLayout, GeneralAmountsEndInColumn57) {
    fake::Caldren c = Make(kAverage);
    auto body = BuildOne(&BuildIPReport, c).Body();
    size_t start = body.find("  Cost of Goods Sold");
    size_t end = body.find("  Reasonable Needs");
    end = body.find("\r\n", end);
    std::string block = body.substr(start, end - start);
    size_t pos = 0;
    while (pos < block.size()) {
        size_t e = block.find("\r\n", pos);
        std::string line = block.substr(pos, e == std::string::npos ? std::string::npos : e - pos);
        if (!line.empty() && line.back() >= '0' && line.back() <= '9') {
            EXPECT_EQ(57u, line.size()) << line;
        }
        if (e == std::string::npos) break;
        pos = e + 2;
    }
}

TEST(InputsLayout, FiscalYearEndInJune) {
    fake::Caldren c = Make(kAverage);
    c.v["EOYCurrent"] = "06/30/2002";
    auto body = BuildOne(&BuildIPReport, c).Body();
    EXPECT_NE(std::string::npos, body.find("  Inventory - 7/1/2001" + std::string(15, ' ')));
    EXPECT_NE(std::string::npos, body.find("   7/1/2001" + std::string(26, ' ')));
    EXPECT_NE(std::string::npos, body.find("  A/R 7/1/2001" + std::string(23, ' ')));
    EXPECT_NE(std::string::npos, body.find("  Cost of Goods Sold(COGS) - 2002    "));
    EXPECT_NE(std::string::npos, body.find("  Inventory Purchases - 2002"));
    EXPECT_NE(std::string::npos, body.find("  Inventory - 06/30/2002" + std::string(13, ' ')));
    EXPECT_NE(std::string::npos, body.find("  COGS - 2003"));
}

TEST(InputsLayout, NewAnalysisWithPeakShowsTwelveDecemberRows) {
    fake::Caldren c;  // a new analysis: every amount 0, months all 12/31/2002
    c.peak = true;
    for (int k = 0; k < 12; ++k) {
        auto& m = c.months.AddMonth("0", "0", "0", "0", 0, 0, 0);
        m.date = "12/31/2002";
    }
    auto r = BuildOne(&BuildIPReport, c);
    const std::string body = r.Body();
    EXPECT_NE(std::string::npos, body.find("  Dec 2002           $0              $0             $0\r\n"));
    size_t rows = 0;
    for (size_t p = body.find("  Dec 2002"); p != std::string::npos; p = body.find("  Dec 2002", p + 1))
        ++rows;
    EXPECT_EQ(12u, rows);
    EXPECT_NE(std::string::npos, body.find("  Dec 2002            0               0              0\r\n"));
    EXPECT_NE(std::string::npos, body.find("   Tot.                $0              $0             $0\r\n"));
}

TEST(InputsLayout, NegativeAmountsShowTheirSignBeforeTheDollar) {
    fake::Caldren c = Make(kAverage);
    c.v["OtherWorkCapAdj"] = "-5,000";
    auto body = BuildOne(&BuildIPReport, c).Body();
    EXPECT_NE(std::string::npos, body.find("   Working Capital" + std::string(19, ' ') +
                                           std::string(13, ' ') + "-$5,000\r\n"));
}

}  // namespace
