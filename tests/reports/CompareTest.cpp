// The comparison of several years: exact bytes against hand-laid files built from the
// worked examples (average method: year end 12/31/2002; peak method: 12/31/2003), the
// order of the columns by year end, failed files, chunking for the printed pages.
#include "FakeEngine.h"
#include "CompareRun.h"
#include "ReportCompare.h"
#include "Reports.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Reports;
using testsupport::Expected;
using testsupport::SameBytes;

namespace {

using CalcPtr = vesmora::ComPtr<vesmora::_Caldren>;

CalcPtr Share(fake::Caldren& c) { return CalcPtr::Share(&c); }

// The worked example of the average method, year end 12/31/2002.
void AverageFile(fake::Caldren& c) {
    fake::LoadAverageExample(c);
    c.v["EOYCurrent"] = "12/31/2002";
}
// The worked example of the peak method alone, year end 12/31/2003.
void PeakFile(fake::Caldren& c) {
    fake::LoadPeakExample(c);
    c.ave = false;
    c.v["EOYCurrent"] = "12/31/2003";
    c.v["sName"] = "Acme Castings, Inc. (2003)";
}
// Both methods, year end 06/30/2003.
void BothFile(fake::Caldren& c) {
    fake::LoadPeakExample(c);
    c.v["EOYCurrent"] = "6/30/2003";
}

CompareFile Good(const std::string& name, fake::Caldren& c) {
    CompareFile f;
    f.fileName = name;
    f.calc = Share(c);
    return f;
}

std::string FileText(const std::vector<CompareFile>& files, RecordingSink* keep = nullptr) {
    RecordingSink sink;
    BuildCompareReport(files, sink);
    EXPECT_EQ(1u, sink.Reports().size());
    EXPECT_TRUE(sink.Reports().back().ended);
    if (keep) *keep = sink;
    return sink.Reports().back().Body() + "\r\n";
}

// The first line of a report body: the column headings.
std::string HeadingLine(const std::string& body) { return body.substr(0, body.find("\r\n")); }

}  // namespace

TEST(CompareReport, TwoFilesOrderedByYearEnd) {
    fake::Caldren ave, peak;
    AverageFile(ave);
    PeakFile(peak);
    // Given latest first: the report still starts with the earlier year.
    RecordingSink sink;
    const std::string text =
        FileText({Good("/data/acme2003.cld", peak), Good("/data/acme2002.cld", ave)}, &sink);
    EXPECT_TRUE(SameBytes(Expected("compare_two.txt"), text));

    const auto& r = sink.Reports().back();
    EXPECT_EQ(ReportKind::Compare, r.start.kind);
    EXPECT_EQ("Comparison Report", r.start.caption);
    // Headings from the first column's file.
    EXPECT_EQ("Acme Castings, Inc.", r.start.headings.h1);
    EXPECT_EQ("Accumulated Earnings Analysis", r.start.headings.h2);
    EXPECT_EQ("Comparison Of Years", r.start.headings.h3);
    // One chunk of 20 lines (the last without a line end).
    ASSERT_EQ(1u, r.chunks.size());
    EXPECT_EQ(20, r.chunks[0].lines);
    EXPECT_NE("\r\n", r.chunks[0].text.substr(r.chunks[0].text.size() - 2));
    EXPECT_EQ((std::vector<std::string>{"begin:Compare", "chunk:20", "end"}), sink.Events());
}

TEST(CompareReport, ThreeFilesWithBothMethods) {
    fake::Caldren ave, peak, both;
    AverageFile(ave);
    PeakFile(peak);
    BothFile(both);
    const std::string text = FileText({Good("/data/acme2003.cld", peak),
                                       Good("/data/acme2002.cld", ave),
                                       Good("/data/acme-fy2003-both.CLD", both)});
    EXPECT_TRUE(SameBytes(Expected("compare_three.txt"), text));
}

TEST(CompareReport, FailedFileGetsItsColumnAndNote) {
    fake::Caldren ave, peak;
    AverageFile(ave);
    PeakFile(peak);
    CompareFile broken;
    broken.fileName = "/data/broken.cld";
    broken.failure = "Could not be loaded: the file does not exist";
    RecordingSink sink;
    const std::string text = FileText(
        {broken, Good("/data/acme2003.cld", peak), Good("/data/acme2002.cld", ave)}, &sink);
    EXPECT_TRUE(SameBytes(Expected("compare_failed.txt"), text));
    // The table and the note are separate chunks: 20 lines, then the note (2 lines).
    const auto& r = sink.Reports().back();
    ASSERT_EQ(2u, r.chunks.size());
    EXPECT_EQ(20, r.chunks[0].lines);
    EXPECT_EQ(2, r.chunks[1].lines);
}

TEST(CompareReport, FileLoadedButNotCalculatedKeepsItsYearEndPlace) {
    fake::Caldren ave, peak, bad;
    AverageFile(ave);
    PeakFile(peak);
    AverageFile(bad);
    bad.v["EOYCurrent"] = "06/30/2003";
    CompareFile f = Good("/data/bad.cld", bad);
    f.failure = "Could not be calculated: Division by zero (error 11)";
    const std::string text =
        FileText({Good("/data/acme2003.cld", peak), f, Good("/data/acme2002.cld", ave)});
    const std::string expectedHead = std::string(37, ' ') + "    acme2002  " + "         bad  " +
                                     "    acme2003";
    EXPECT_EQ(expectedHead, HeadingLine(text));
    EXPECT_NE(std::string::npos,
              text.find("  Year Ending                          12/31/2002    06/30/2003    "
                        "12/31/2003\r\n"));
    EXPECT_NE(std::string::npos,
              text.find("  Available Working Capital              $250,000        Failed"
                        "      $250,000\r\n"));
    EXPECT_NE(std::string::npos,
              text.find("  Cost Of Operations                     $840,000    See Note 1"
                        "      $840,000\r\n"));
    EXPECT_NE(std::string::npos,
              text.find("\r\n  Note 1: /data/bad.cld: Could not be calculated: Division by zero\r\n"
                        "          (error 11)"));
}

// Year ends across years and months; files without a year end last, in the given order.
struct OrderCase {
    std::vector<std::string> yearEnds;  // "" = not loaded
    std::vector<int> expected;          // indexes in column order
};

class CompareOrdering : public ::testing::TestWithParam<OrderCase> {};

TEST_P(CompareOrdering, ByYearEnd) {
    const OrderCase& p = GetParam();
    std::vector<std::unique_ptr<fake::Caldren>> calcs;
    std::vector<CompareFile> files;
    for (std::size_t i = 0; i < p.yearEnds.size(); ++i) {
        CompareFile f;
        f.fileName = "f" + std::to_string(i) + ".cld";
        if (p.yearEnds[i].empty()) {
            f.failure = "Could not be loaded: the file does not exist";
        } else {
            calcs.push_back(std::make_unique<fake::Caldren>());
            calcs.back()->v["EOYCurrent"] = p.yearEnds[i];
            f.calc = Share(*calcs.back());
        }
        files.push_back(std::move(f));
    }
    std::vector<int> got;
    for (const CompareFile* f : CompareOrder(files))
        got.push_back(static_cast<int>(f - files.data()));
    EXPECT_EQ(p.expected, got);
}

INSTANTIATE_TEST_SUITE_P(Compare, CompareOrdering, ::testing::Values(
    OrderCase{{"12/31/2003", "12/31/2002"}, {1, 0}},
    OrderCase{{"12/31/2002", "12/31/2003"}, {0, 1}},
    // Month before day, year before month.
    OrderCase{{"01/31/2003", "12/31/2002", "06/30/2003"}, {1, 0, 2}},
    OrderCase{{"12/01/2002", "11/30/2002", "12/31/2001"}, {2, 1, 0}},
    // Equal year ends keep the order given.
    OrderCase{{"12/31/2002", "12/31/2001", "12/31/2002"}, {1, 0, 2}},
    OrderCase{{"", "12/31/2004", "", "12/31/2003"}, {3, 1, 0, 2}},
    OrderCase{{"6/30/2005", "6/30/2004", "6/30/2003", "6/30/2002", "6/30/2001", "6/30/2000"},
              {5, 4, 3, 2, 1, 0}}));

TEST(CompareReport, FourToSixFilesInBlocksOfThree) {
    std::vector<std::unique_ptr<fake::Caldren>> calcs;
    std::vector<CompareFile> files;
    const char* years[] = {"2005", "2001", "2004", "2000", "2003", "2002"};
    for (const char* y : years) {
        calcs.push_back(std::make_unique<fake::Caldren>());
        AverageFile(*calcs.back());
        calcs.back()->v["EOYCurrent"] = std::string("12/31/") + y;
        files.push_back(Good(std::string("/data/fy") + y + ".cld", *calcs.back()));
    }
    RecordingSink sink;
    const std::string text = FileText(files, &sink);
    const auto& r = sink.Reports().back();
    ASSERT_EQ(2u, r.chunks.size());
    // Block one: 2000 to 2002; block two: an empty line, then 2003 to 2005.
    EXPECT_EQ(std::string(37, ' ') + "      fy2000        fy2001        fy2002",
              HeadingLine(r.chunks[0].text));
    ASSERT_EQ("\r\n", r.chunks[1].text.substr(0, 2));
    EXPECT_EQ(std::string(37, ' ') + "      fy2003        fy2004        fy2005",
              HeadingLine(r.chunks[1].text.substr(2)));
    // Average only: 13 lines of a block; the second has the empty line in front.
    EXPECT_EQ(13, r.chunks[0].lines);
    EXPECT_EQ(14, r.chunks[1].lines);
    // No line wider than 78 characters.
    std::size_t start = 0;
    for (std::size_t e = text.find("\r\n"); e != std::string::npos; e = text.find("\r\n", start)) {
        EXPECT_LE(e - start, 78u) << text.substr(start, e - start);
        start = e + 2;
    }
}

TEST(CompareReport, RefusesFewerThanTwoOrMoreThanSix) {
    fake::Caldren c;
    AverageFile(c);
    RecordingSink sink;
    for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{7}}) {
        std::vector<CompareFile> files(n, Good("/data/a.cld", c));
        try {
            BuildCompareReport(files, sink);
            ADD_FAILURE() << n << " files accepted";
        } catch (const activation::ComError& e) {
            EXPECT_EQ(5, e.Number());
            EXPECT_EQ("Choose from two to six data files to compare.", e.Description());
        }
    }
    EXPECT_TRUE(sink.Reports().empty());
}

TEST(CompareReport, EveryFileFailed) {
    CompareFile a, b;
    a.fileName = "a.cld";
    a.failure = "Could not be loaded: the file does not exist";
    b.fileName = "b.cld";
    b.failure = "Could not be loaded: Bad file format (error 321)";
    RecordingSink sink;
    const std::string text = FileText({a, b}, &sink);
    const std::string expected =
        std::string(37, ' ') + "           a             b\r\n"
        "  Year Ending\r\n" +
        std::string(37, ' ') + "------------  ------------\r\n"
        "  Available Working Capital                Failed        Failed\r\n"
        "  Cost Of Operations                   See Note 1    See Note 2\r\n" +
        std::string(37, ' ') + "============  ============\r\n"
        "\r\n"
        "  Note 1: a.cld: Could not be loaded: the file does not exist\r\n"
        "  Note 2: b.cld: Could not be loaded: Bad file format (error 321)\r\n";
    EXPECT_TRUE(SameBytes(expected, text));
    EXPECT_EQ("", sink.Reports().back().start.headings.h1);
}

TEST(CompareReport, LongReasonWrapsUnderTheNote) {
    fake::Caldren c;
    AverageFile(c);
    CompareFile bad;
    bad.fileName = "/a/very/long/folder/name/for/the/data/files/of/this/client/fy2001.cld";
    bad.failure = "Could not be calculated: Need to calculate results based on complete "
                  "information (error 10005)";
    const std::string text = FileText({Good("/data/acme2002.cld", c), bad});
    const std::string notes = text.substr(text.find("  Note 1: "));
    EXPECT_EQ("  Note 1: /a/very/long/folder/name/for/the/data/files/of/this/client/fy2001.cld:\r\n"
              "          Could not be calculated: Need to calculate results based on\r\n"
              "          complete information (error 10005)\r\n",
              notes);
}

struct ReasonCase {
    long number;
    const char* source;
    const char* description;
    const char* expected;
};

class CompareReason : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(CompareReason, FromTheErrorObject) {
    const ReasonCase& p = GetParam();
    EXPECT_EQ(p.expected,
              CompareFailureText(activation::ComError(p.number, p.source, p.description)));
}

INSTANTIATE_TEST_SUITE_P(Compare, CompareReason, ::testing::Values(
    ReasonCase{11, "Caldren.Calculate\rc_calcs.CalcOpCyclePeak\rc_calcs", "Caldren Formula Calculator",
               "Division by zero (error 11)"},
    ReasonCase{10005,
               "Caldren.Calculate\rNeed to calculate results based on complete information.",
               "Caldren Formula Calculator",
               "Need to calculate results based on complete information (error 10005)"},
    ReasonCase{10002, "Caldren.Load\rCaldren.COGS", "Not a number", "Not a number (error 10002)"},
    ReasonCase{99999, "X.Y", "", "Unknown error (error 99999)"}));

// ---- "/compare" on the command line ----------------------------------------------------

namespace {

struct NamesCase {
    const char* line;
    std::vector<std::string> names;
};

class CompareNames : public ::testing::TestWithParam<NamesCase> {};

TEST_P(CompareNames, FromTheCommandLine) {
    EXPECT_EQ(GetParam().names, GetCompareFileNames(GetParam().line)) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Compare, CompareNames, ::testing::Values(
    NamesCase{"/compare a.cld b.cld /output out.txt /silent", {"a.cld", "b.cld"}},
    // Names kept as typed, extension in any case, absolute paths with folders.
    NamesCase{"/silent /COMPARE /data/Acme 2002.CLD /data/Acme 2003.cld /output o.txt",
              {"/data/Acme 2002.CLD", "/data/Acme 2003.cld"}},
    // A folder named like a switch is part of a name.
    NamesCase{"/compare /srv/output/a.cld /srv/silent b.cld /silent /output o.txt",
              {"/srv/output/a.cld", "/srv/silent b.cld"}},
    // Six names at the end of the line.
    NamesCase{"/output o.txt /silent /compare 1.cld 2.cld 3.cld 4.cld 5.cld 6.cld",
              {"1.cld", "2.cld", "3.cld", "4.cld", "5.cld", "6.cld"}},
    // A name that does not end at ".cld" followed by a separator ends the list.
    NamesCase{"/compare a.cld b.cld.bak c.cld", {"a.cld", "b.cld"}},
    // No names, no switch, a switch inside a path.
    NamesCase{"/compare /output o.txt", {}},
    NamesCase{"/compare", {}},
    NamesCase{"/input a.cld /output o.txt /silent", {}},
    NamesCase{"/input /srv/compare a.cld /silent", {}},
    NamesCase{"/comparex a.cld b.cld", {}}));

TEST(CompareNames, SwitchWhereAWordBegins) {
    EXPECT_TRUE(HasCompareSwitch("/compare a.cld b.cld"));
    EXPECT_TRUE(HasCompareSwitch("/silent /Compare a.cld"));
    EXPECT_FALSE(HasCompareSwitch("/input /srv/compare/a.cld"));
    EXPECT_FALSE(HasCompareSwitch("x/compare a.cld"));
    EXPECT_FALSE(HasCompareSwitch("/compared a.cld"));
}

}  // namespace

namespace {

// Names longer than a field: two heading lines, broken after a blank, "-", "_" or ".".
TEST(CompareReport, LongNamesTakeTwoHeadingLines) {
    fake::Caldren a, b, c;
    AverageFile(a);
    AverageFile(b);
    AverageFile(c);
    a.v["EOYCurrent"] = "06/30/2025";
    b.v["EOYCurrent"] = "06/30/2026";
    c.v["EOYCurrent"] = "06/30/2027";
    RecordingSink sink;
    const std::string text =
        FileText({Good("/clients/Harlow FY2025.cld", a), Good("/clients/Harlow FY2026.CLD", b),
                  Good("/clients/abcdefghijklmnopqrstuvwxyz.cld", c)},
                 &sink);
    const std::string pad(37, ' ');
    EXPECT_EQ(pad + "      Harlow        Harlow  abcdefghijkl\r\n" +
                  pad + "      FY2025        FY2026  opqrstuvwxyz\r\n" +
                  "  Year Ending                          06/30/2025    06/30/2026    06/30/2027\r\n",
              text.substr(0, text.find("  Year Ending")) +
                  text.substr(text.find("  Year Ending"), text.find("\r\n", text.find("  Year Ending")) + 2 -
                                                                text.find("  Year Ending")));
    EXPECT_EQ(14, sink.Reports()[0].chunks[0].lines);  // 13 lines of the average table and one more
}

}  // namespace
