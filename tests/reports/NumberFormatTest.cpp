// The number patterns' errors, fields, rule line and month names of the reports, from the
// table data/formats.txt.
#include "ReportsTest.h"

#include <functional>

namespace {

using namespace Reports;
using Args = std::vector<std::string>;

std::string Abbreviated(std::string month) {
    MonthAbbrev(month);
    return month;
}

const std::map<std::string, std::function<std::string(const Args&)>> kFormats = {
    {"dollars", [](const Args& a) { return FormatDollars(a[0]); }},
    {"amount", [](const Args& a) { return FormatAmount(a[0]); }},
    {"subtracted", [](const Args& a) { return FormatSubtracted(a[0]); }},
    {"ratio", [](const Args& a) { return FormatRatio(a[0]); }},
    {"percent", [](const Args& a) { return FormatPercent(a[0]); }},
    {"days", [](const Args& a) { return FormatDays(a[0]); }},
    {"date", [](const Args& a) { return FormatDate(a[0]); }},
    {"ratiovalue", [](const Args& a) { return FormatRatioValue(std::stod(a[0])); }},
    {"wholeunits", [](const Args& a) { return std::to_string(ParseWholeUnits(a[0])); }},
    {"align", [](const Args& a) { return RightAlign(a[0]); }},
    {"padright", [](const Args& a) { return PadRight(a[0], std::stoul(a[1])); }},
    {"printline", [](const Args& a) { return GetPrintLine(std::stoi(a[0])); }},
    {"month", [](const Args& a) { return Abbreviated(a[0]); }},
    {"blanks", [](const Args& a) { return "[" + Blanks(std::stoi(a[0])) + "]"; }},
    {"repeat", [](const Args& a) { return Repeat(a[0][0], std::stoi(a[1])); }},
};

TEST(NumberFormat, Table) {
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_REPORTS_DATA "/formats.txt")) {
        ASSERT_TRUE(kFormats.count(row[0])) << row.where;
        std::string got;
        try {
            got = kFormats.at(row[0])(Args(row.fields.begin() + 1, row.fields.end() - 1));
        } catch (const activation::ComError& e) {
            got = "error " + std::to_string(e.Number());
        }
        EXPECT_EQ(got, row.fields.back()) << row.where;
    }
}

}  // namespace
