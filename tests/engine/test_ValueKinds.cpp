// Value kinds: text to amount and back, rounding rules, ratio texts, dates, Booleans and
// fixed-width text, all from the table data/valuekinds.txt.
#include "CaseFiles.h"
#include "ValueKinds.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

using namespace vesmora::vk;
using Args = std::vector<std::string>;

Amount Raw(const std::string& text) { return std::stoll(text); }
double Num(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
Conv Checked(bool ok) { return ok ? Conv::Ok : Conv::Overflow; }

std::string Date(const std::string& text) {
    DaySerial d = 0;
    return ParseDate(text, d) ? FormatDate(d) : "fail";
}

std::string Boolean(const std::string& text) {
    bool b = false;
    return ParseBoolean(text, b) ? BooleanText(b) : "fail";
}

double Ratio(const std::string& text) {
    double d = 0;
    return ParseRatio(text, d) ? d : std::nan("");
}

// Conversions to an amount: the amount's raw value, or Overflow / NotANumber.
const std::map<std::string, std::function<Conv(const Args&, Amount&)>> kAmounts = {
    {"amount", [](const Args& a, Amount& r) { return ParseAmount(a[0], r); }},
    {"fromdouble", [](const Args& a, Amount& r) { return DoubleToAmount(Num(a[0]), r); }},
    {"unit",
     [](const Args& a, Amount& r) { return Checked(RoundAmountToUnitHalfEven(Raw(a[0]), r)); }},
    {"add", [](const Args& a, Amount& r) { return Checked(AddAmount(Raw(a[0]), Raw(a[1]), r)); }},
    {"sub", [](const Args& a, Amount& r) { return Checked(SubAmount(Raw(a[0]), Raw(a[1]), r)); }},
    {"mul",
     [](const Args& a, Amount& r) { return Checked(MulAmountInt(Raw(a[0]), Raw(a[1]), r)); }},
};

// Functions whose result is a double: compared by value with the expected text's double.
const std::map<std::string, std::function<double(const Args&)>> kNumbers = {
    {"todouble", [](const Args& a) { return AmountToDouble(Raw(a[0])); }},
    {"round", [](const Args& a) { return RoundHalfEven(Num(a[0]), std::stoi(a[1])); }},
    {"parseratio", [](const Args& a) { return Ratio(a[0]); }},
};

const std::map<std::string, std::function<std::string(const Args&)>> kTexts = {
    {"whole", [](const Args& a) { return FormatWhole(Raw(a[0])); }},
    {"fixed5", [](const Args& a) { return FormatFixed5(Raw(a[0])); }},
    {"plain", [](const Args& a) { return PlainAmount(Raw(a[0])); }},
    {"ratio", [](const Args& a) { return RatioText(Num(a[0])); }},
    {"ratio5", [](const Args& a) { return FormatRatio5(Num(a[0])); }},
    {"date", [](const Args& a) { return Date(a[0]); }},
    {"dateof", [](const Args& a) { return FormatDate(std::stoi(a[0])); }},
    {"serial",
     [](const Args& a) {
         return std::to_string(SerialFromCivil(Raw(a[0]), Raw(a[1]), Raw(a[2])));
     }},
    {"bool", [](const Args& a) { return Boolean(a[0]); }},
    {"chars", [](const Args& a) { return std::to_string(CharCount(a[0])); }},
    {"first", [](const Args& a) { return std::string(FirstChars(a[0], Raw(a[1]))); }},
    {"pad", [](const Args& a) { return PadTo(a[0], Raw(a[1])); }},
    {"rtrim", [](const Args& a) { return RTrim(a[0]); }},
};

TEST(ValueKinds, Table) {
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_ENGINE_DATA "/valuekinds.txt")) {
        const Args args(row.fields.begin() + 1, row.fields.end() - 1);
        const std::string& expected = row.fields.back();
        if (kAmounts.count(row[0])) {
            Amount r = 0;
            const Conv c = kAmounts.at(row[0])(args, r);
            const char* status[] = {"", "NotANumber", "Overflow"};
            EXPECT_EQ(c == Conv::Ok ? std::to_string(r) : status[static_cast<int>(c)], expected)
                << row.where;
        } else if (kNumbers.count(row[0])) {
            const double got = kNumbers.at(row[0])(args);
            EXPECT_TRUE(expected == "fail" ? std::isnan(got) : got == Num(expected))
                << row.where << ": " << got;
        } else {
            ASSERT_TRUE(kTexts.count(row[0])) << row.where;
            EXPECT_EQ(kTexts.at(row[0])(args), expected) << row.where;
        }
    }
}

}  // namespace
