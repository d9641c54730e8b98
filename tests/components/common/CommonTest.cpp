// The shared rules, from the tables in data/: amounts and the reports' patterns, the typed
// amounts, the calendar and text widths. Each row: function | arguments... | expected.
#include "CaseFiles.h"

#include <common/Amount.h>
#include <common/AmountText.h>
#include <common/Calendar.h>
#include <common/TextWidth.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

using namespace common;
using Args = std::vector<std::string>;

long long Int(const std::string& text) { return std::stoll(text); }
int Small(const std::string& text) { return std::stoi(text); }
double Num(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
// Doubles compare by value: both sides as the text of 17 significant digits.
std::string Value(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    return std::isnan(d) ? "fail" : buf;
}

// The out-values of the conversions, read by Raw after the conversion has run.
Amount out = 0;
long long units = 0;
double ratio = 0;
DaySerial serial = 0;
template <class T>
std::string Raw(Conv c, const T& value) {
    return c == Conv::Ok ? std::to_string(value) : c == Conv::Overflow ? "Overflow" : "NotANumber";
}
std::string Raw(bool ok, const Amount& value) { return Raw(ok ? Conv::Ok : Conv::Overflow, value); }
std::string Text(const std::optional<std::string>& s) { return s.value_or("fail"); }
// A slash date, shown as read (0), one year later (1) or one year later as a month end (2).
std::string Slash(const std::string& text, int later) {
    const std::optional<Date> d = ParseSlashDate(text);
    if (!d) return "fail";
    if (later == 0) return DateText(*d);
    return later == 1 ? ShortDateText(OneYearLater(*d, false)) : DateText(OneYearLater(*d, true));
}

using F = std::function<std::string(const Args&)>;
const std::map<std::string, F> kFunctions = {
    {"amount", [](const Args& a) { return Raw(ParseAmount(a[0], out), out); }},
    {"fromdouble", [](const Args& a) { return Raw(DoubleToAmount(Num(a[0]), out), out); }},
    {"unit", [](const Args& a) { return Raw(RoundAmountToUnitHalfEven(Int(a[0]), out), out); }},
    {"add", [](const Args& a) { return Raw(AddAmount(Int(a[0]), Int(a[1]), out), out); }},
    {"sub", [](const Args& a) { return Raw(SubAmount(Int(a[0]), Int(a[1]), out), out); }},
    {"mul", [](const Args& a) { return Raw(MulAmountInt(Int(a[0]), Int(a[1]), out), out); }},
    {"todouble", [](const Args& a) { return Value(AmountToDouble(Int(a[0]))); }},
    {"round", [](const Args& a) { return Value(RoundHalfEven(Num(a[0]), Small(a[1]))); }},
    {"parseratio", [](const Args& a) { return ParseRatio(a[0], ratio) ? Value(ratio) : "fail"; }},
    {"whole", [](const Args& a) { return FormatWhole(Int(a[0])); }},
    {"fixed5", [](const Args& a) { return FormatFixed5(Int(a[0])); }},
    {"plain", [](const Args& a) { return PlainAmount(Int(a[0])); }},
    {"ratio", [](const Args& a) { return RatioText(Num(a[0])); }},
    {"ratio5", [](const Args& a) { return FormatRatio5(Num(a[0])); }},
    {"dollars", [](const Args& a) { return Text(FormatPattern(a[0], Pattern::Dollars)); }},
    {"grouped", [](const Args& a) { return Text(FormatPattern(a[0], Pattern::Whole)); }},
    {"subtracted", [](const Args& a) { return Text(FormatPattern(a[0], Pattern::Subtracted)); }},
    {"ratiopattern", [](const Args& a) { return Text(FormatPattern(a[0], Pattern::Ratio5)); }},
    {"percent", [](const Args& a) { return Text(FormatPattern(a[0], Pattern::Percent)); }},
    {"days", [](const Args& a) { return Text(FormatPattern(a[0], Pattern::Days)); }},
    {"wholeunits", [](const Args& a) { return Raw(ParseWholeUnits(a[0], units), units); }},
    {"align", [](const Args& a) { return RightAlign(a[0], a.size() > 1 ? Int(a[1]) : 12); }},
    {"typed", [](const Args& a) { return AmountText::Normalize(a[0]).value_or("-"); }},
    {"leap", [](const Args& a) { return IsLeapYear(Small(a[0])) ? "true" : "false"; }},
    {"monthdays",
     [](const Args& a) { return std::to_string(DaysInMonth(Small(a[0]), Small(a[1]))); }},
    {"date", [](const Args& a) { return ParseDate(a[0], serial) ? FormatDate(serial) : "fail"; }},
    {"serial",
     [](const Args& a) {
         return std::to_string(SerialFromCivil(Small(a[0]), Small(a[1]), Small(a[2])));
     }},
    {"dateof", [](const Args& a) { return FormatDate(Small(a[0])); }},
    {"slash", [](const Args& a) { return Slash(a[0], 0); }},
    {"nextyear", [](const Args& a) { return Slash(a[0], 1); }},
    {"monthend", [](const Args& a) { return Slash(a[0], 2); }},
    {"monthname", [](const Args& a) { return MonthAndYear(Small(a[0])); }},
    {"chars", [](const Args& a) { return std::to_string(CharCount(a[0])); }},
    {"first", [](const Args& a) { return std::string(FirstChars(a[0], Int(a[1]))); }},
    {"pad", [](const Args& a) { return PadTo(a[0], Int(a[1])); }},
    {"padright", [](const Args& a) { return PadRight(a[0], Int(a[1])); }},
    {"rtrim", [](const Args& a) { return RTrim(a[0]); }},
    {"boundary", [](const Args& a) { return std::to_string(CharBoundaryBefore(a[0], Int(a[1]))); }},
    {"starts",
     [](const Args& a) {
         std::string s;
         for (std::size_t at : CharStarts(a[0])) s += std::to_string(at) + " ";
         return s.substr(0, s.size() - 1);
     }},
};

class Rules : public ::testing::TestWithParam<const char*> {};

TEST_P(Rules, Table) {
    for (const casefiles::Row& row :
         casefiles::Rows(std::string(CALDREN_COMMON_DATA "/") + GetParam() + ".txt")) {
        ASSERT_TRUE(kFunctions.count(row[0])) << row.where;
        const std::string got =
            kFunctions.at(row[0])(Args(row.fields.begin() + 1, row.fields.end() - 1));
        const std::string& expected = row.fields.back();
        const bool number = row[0] == "todouble" || row[0] == "round" || row[0] == "parseratio";
        EXPECT_EQ(got, number && expected != "fail" ? Value(Num(expected)) : expected) << row.where;
    }
}

INSTANTIATE_TEST_SUITE_P(Common, Rules, ::testing::Values("amounts", "calendar", "textwidth"),
                         [](const auto& p) { return std::string(p.param); });

}  // namespace
