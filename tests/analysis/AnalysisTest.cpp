// Results, checks and next year's file name on the real engine, against the files of
// tests/data/analysis (hand-laid from the worked examples and the sample analysis).
#include "../TestSupport.h"
#include "ReportsTest.h"

#include <NewYearCommand.h>
#include <ReportSink.h>
#include <Reports.h>
#include <RunState.h>
#include <analysis/Analyzer.h>
#include <analysis/Checks.h>
#include <analysis/InputChanges.h>
#include <analysis/Rollforward.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <tuple>

#include <strings.h>

namespace {

namespace fs = std::filesystem;
using namespace caldren::analysis;
using casefiles::ReadFile;
using casefiles::SameBytes;
using testsupport::TempDir;

const fs::path kData = fs::path(CALDREN_TEST_DATA) / "analysis";

vesmora::ComPtr<vesmora::_Caldren> Loaded(const std::string& name) {
    auto calc = NewEngine();
    calc->Load((kData / name).string());
    return calc;
}

// Findings as the expected files list them: kind and text, the fields, the action.
std::string Listing(const std::vector<Finding>& findings) {
    std::string s;
    for (const Finding& f : findings) {
        s += KindName(f.kind) + ": " + f.text + "\r\n  fields:";
        for (const FieldRef& r : f.fields)
            s += " " + (r.month ? std::to_string(r.month) + " " : "") + r.property;
        if (f.action != CheckAction::None) s += "\r\n  action: " + ActionCaption(f.action);
        s += "\r\n";
    }
    return s;
}

struct FileCase {
    const char* file;
    const char* expected;
};
// Test names show the file, not the bytes of the pointers.
std::ostream& operator<<(std::ostream& os, const FileCase& c) { return os << c.file; }

class Checks : public ::testing::TestWithParam<FileCase> {};

TEST_P(Checks, FireOrStayQuiet) {
    auto live = Loaded(GetParam().file);
    Analyzer analyzer(NewEngine);
    EXPECT_TRUE(
        SameBytes(ReadFile(kData / GetParam().expected), Listing(analyzer.Update(*live).findings)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, Checks,
    ::testing::Values(
        FileCase{"checks_clean_estimated.cld", "checks_none.txt"},
        FileCase{"checks_clean_actual.cld", "checks_none.txt"},
        FileCase{"checks_cogs.cld", "checks_cogs.txt"},
        FileCase{"checks_totals.cld", "checks_totals.txt"},
        FileCase{"checks_dates.cld", "checks_dates.txt"},
        FileCase{"checks_twelfth_actual.cld", "checks_twelfth_actual.txt"},
        FileCase{"checks_twelfth_actual_over.cld", "checks_twelfth_actual_over.txt"},
        FileCase{"checks_twelfth_estimated_edge.cld", "checks_twelfth_estimated_edge.txt"},
        FileCase{"checks_twelfth_estimated_over.cld", "checks_twelfth_estimated_over.txt"},
        FileCase{"checks_negative.cld", "checks_negative.txt"},
        FileCase{"checks_negative_estimated.cld", "checks_negative_estimated.txt"},
        FileCase{"checks_zero_sales.cld", "checks_zero_sales.txt"},
        FileCase{"checks_zero_cogs.cld", "checks_zero_cogs.txt"},
        FileCase{"checks_signs.cld", "checks_signs.txt"},
        FileCase{"checks_scale.cld", "checks_scale.txt"},
        FileCase{"checks_small.cld", "checks_small.txt"},
        FileCase{"checks_month_above.cld", "checks_month_above.txt"},
        FileCase{"worked_both_no_cogs.cld", "checks_worked_both_no_cogs.txt"}));

TEST(MonthDates, MoveIntoTheTaxYear) {
    // File, dates moved, month 1 and month 12 afterwards: the 15th stays, a month end stays one.
    for (const auto& [file, moved, first, twelfth] :
         {std::tuple{"checks_dates.cld", 12, "01/15/2025", "12/15/2025"},
          {"checks_dates_month_ends.cld", 12, "03/31/2023", "02/29/2024"},
          {"rollforward_source.cld", 0, "03/31/2022", "02/28/2023"}}) {
        auto live = Loaded(file);
        EXPECT_EQ(moved, MoveMonthDatesIntoTaxYear(*live)) << file;
        EXPECT_EQ(first, live->get_colMonths()->get_Item(vesmora::IndexKey{1L})->get_MonthDate());
        EXPECT_EQ(twelfth,
                  live->get_colMonths()->get_Item(vesmora::IndexKey{12L})->get_MonthDate());
        EXPECT_EQ("", Listing(CheckFigures(*live)));
    }
}

// The value fields of the Summary report's line that begins with `label` (any case): the
// one column, or the peak and the average column of the two-column layout.
std::vector<std::string> SummaryFields(const std::string& report, const std::string& label) {
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        if (::strncasecmp(line.c_str(), ("  " + label).c_str(), label.size() + 2) != 0) continue;
        std::vector<std::string> fields;
        for (std::size_t at :
             line.size() > 60 ? std::vector<std::size_t>{39, 58} : std::vector<std::size_t>{37})
            fields.push_back(
                line.substr(at, 12).substr(line.substr(at, 12).find_first_not_of(' ')));
        return fields;
    }
    return {};
}

class Panel : public ::testing::TestWithParam<FileCase> {};

TEST_P(Panel, SameTextsAsTheSummaryReportAndTheAnalysisUntouched) {
    TempDir dir;
    auto live = Loaded(GetParam().file);
    live->Save((fs::path(dir.path()) / "before.cld").string());
    Analyzer analyzer(NewEngine);
    const Results& r = analyzer.Update(*live).results;
    live->Save((fs::path(dir.path()) / "after.cld").string());
    EXPECT_EQ(ReadFile(fs::path(dir.path()) / "before.cld"),
              ReadFile(fs::path(dir.path()) / "after.cld"));
    EXPECT_EQ("0", live->get_CostOfOperations());  // never calculated
    EXPECT_TRUE(SameBytes(ReadFile(kData / GetParam().expected), r.Text()));

    auto reported = Loaded(GetParam().file);
    try {
        reported->Calculate();
    } catch (const activation::ComError&) {
        return;  // no Summary report to compare with
    }
    Reports::RecordingSink sink;
    Reports::BuildSummReport(*reported, sink);
    EXPECT_TRUE(sink.Reports().back().ended);  // a file sink appends only an ended report
    const std::string body = sink.Reports().back().Body();
    const std::pair<const char*, int> rows[] = {{"Availa", -1},
                                                {" For Business Cycle", kNeeded},
                                                {" is needed", kExcessBefore},
                                                {"Less, Other", kOtherNeeds},
                                                {"Less, Contingencies", kContingencies},
                                                {"Excess Working Capital", kExcess}};
    for (const auto& [label, row] : rows) {
        const std::vector<std::string> fields = SummaryFields(body, label);
        ASSERT_EQ(r.methods.size(), fields.size()) << label;
        for (std::size_t k = 0; k < fields.size(); ++k)
            EXPECT_EQ(fields[k], row < 0 ? r.available.text
                                         : r.methods[k].rows[static_cast<std::size_t>(row)].text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Panel,
    ::testing::Values(FileCase{"worked_average.cld", "panel_average.txt"},
                      FileCase{"worked_peak.cld", "panel_peak.txt"},
                      FileCase{"worked_both.cld", "panel_both.txt"},
                      FileCase{"worked_both_no_sales.cld", "panel_both_no_sales.txt"},
                      FileCase{"worked_both_no_cogs.cld", "panel_both_no_cogs.txt"},
                      FileCase{"worked_both_negative.cld", "panel_both_negative.txt"}));

TEST(NextYearLine2, YearsOfTheOldTaxYearMoveOn) {
    for (const casefiles::Row& row : casefiles::Rows((kData / "next_year_line2.txt").string()))
        EXPECT_EQ(row[3], NextYearLine2(row[0], row[1], row[2])) << row.where;
}

TEST(NextYearFileName, InTheSameFolder) {
    TempDir dir;
    const std::string d = fs::path(dir.path()).string();
    EXPECT_EQ(d + "/acme2003.cld", NextYearFileName(d + "/acme.cld", "12/31/2002", "12/31/2003"));
    EXPECT_EQ(d + "/acme 2003.CLD",
              NextYearFileName(d + "/acme 2002.CLD", "12/31/2002", "12/31/2003"));
    EXPECT_EQ(d + "/notes.txt2027.cld",
              NextYearFileName(d + "/notes.txt", "06/30/2026", "06/30/2027"));
    std::ofstream(fs::path(dir.path()) / "acme2003.cld") << "";
    std::ofstream(fs::path(dir.path()) / "acme2003 (2).cld") << "";
    EXPECT_EQ(d + "/acme2003 (3).cld",
              NextYearFileName(d + "/acme2002.cld", "12/31/2002", "12/31/2003"));
}

TEST(NewYearCommand, ReplacesTheAnalysisUnderTheProposedNameAndWritesNothing) {
    TempDir dir;
    caldren::RunState state;
    state.document.currentFileName = (fs::path(dir.path()) / "brennet 2023.cld").string();
    fs::copy_file(kData / "rollforward_source.cld", state.document.currentFileName);
    state.document.engine = NewEngine();
    state.document.engine->Load(state.document.currentFileName);
    int notices = 0;
    const int subscription = InputChanges().Subscribe([&] { ++notices; });
    EXPECT_TRUE(caldren::NewYearCommand::Run(state));
    InputChanges().Unsubscribe(subscription);
    EXPECT_EQ((fs::path(dir.path()) / "brennet 2024.cld").string(), state.document.currentFileName);
    EXPECT_EQ("02/29/2024", state.document.engine->get_EOYCurrent());
    EXPECT_FALSE(state.document.IsSaved());
    EXPECT_EQ(1, notices);
    EXPECT_EQ(
        1, std::distance(fs::directory_iterator(fs::path(dir.path())), fs::directory_iterator{}));
}

}  // namespace
