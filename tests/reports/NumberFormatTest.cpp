#include "Reports.h"

#include <activation/Com.h>
#include <gtest/gtest.h>

using namespace Reports;

namespace {

struct Row {
    const char* input;
    const char* expected;
};

class Dollars : public ::testing::TestWithParam<Row> {};
TEST_P(Dollars, Pattern) { EXPECT_EQ(GetParam().expected, FormatDollars(GetParam().input)); }
INSTANTIATE_TEST_SUITE_P(Reports, Dollars, ::testing::Values(
    Row{"0", "$0"}, Row{"1", "$1"}, Row{"999", "$999"}, Row{"1,000", "$1,000"},
    Row{"250,000", "$250,000"}, Row{"1234567", "$1,234,567"}, Row{"12,345,678,901", "$12,345,678,901"},
    Row{"-93,256", "-$93,256"}, Row{"1234.5", "$1,235"}, Row{"-1234.5", "-$1,235"},
    Row{"1234.4999", "$1,234"}, Row{"0.5", "$1"}, Row{"-0.4", "$0"}, Row{"999.5", "$1,000"},
    Row{"", ""}));

class Amount : public ::testing::TestWithParam<Row> {};
TEST_P(Amount, Pattern) { EXPECT_EQ(GetParam().expected, FormatAmount(GetParam().input)); }
INSTANTIATE_TEST_SUITE_P(Reports, Amount, ::testing::Values(
    Row{"0", "0"}, Row{"219,707", "219,707"}, Row{"-219,707", "-219,707"},
    Row{"100000000", "100,000,000"}, Row{"2.5", "3"}, Row{"-2.5", "-3"}, Row{" 12 ", "12"}));

class Subtracted : public ::testing::TestWithParam<Row> {};
TEST_P(Subtracted, LiteralMinus) { EXPECT_EQ(GetParam().expected, FormatSubtracted(GetParam().input)); }
INSTANTIATE_TEST_SUITE_P(Reports, Subtracted, ::testing::Values(
    Row{"250,000", "-250,000"}, Row{"0", "-0"}, Row{"40,000", "-40,000"},
    Row{"-40,000", "--40,000"}));

class Ratio : public ::testing::TestWithParam<Row> {};
TEST_P(Ratio, FiveDecimals) { EXPECT_EQ(GetParam().expected, FormatRatio(GetParam().input)); }
INSTANTIATE_TEST_SUITE_P(Reports, Ratio, ::testing::Values(
    Row{"0.35833", "0.35833"}, Row{"0", "0.00000"}, Row{"36.5", "36.50000"},
    Row{"35.32258065", "35.32258"}, Row{"0.096774193548", "0.09677"},
    Row{"0.123455", "0.12346"}, Row{"-0.123455", "-0.12346"}, Row{"1234.5", "1234.50000"},
    Row{"0.999995", "1.00000"}, Row{"1e-05", "0.00001"}, Row{"-0.000001", "0.00000"}));

class Percent : public ::testing::TestWithParam<Row> {};
TEST_P(Percent, TimesHundred) { EXPECT_EQ(GetParam().expected, FormatPercent(GetParam().input)); }
INSTANTIATE_TEST_SUITE_P(Reports, Percent, ::testing::Values(
    Row{"0.18660", "18.66%"}, Row{"0.1866", "18.66%"}, Row{"0", "0.00%"}, Row{"0.05", "5.00%"},
    Row{"0.12345", "12.35%"}, Row{"1", "100.00%"}, Row{"-0.12345", "-12.35%"},
    Row{"0.00004", "0.00%"}, Row{"12.5", "1250.00%"}));

class Days : public ::testing::TestWithParam<Row> {};
TEST_P(Days, ShortestFiveDecimals) { EXPECT_EQ(GetParam().expected, FormatDays(GetParam().input)); }
INSTANTIATE_TEST_SUITE_P(Reports, Days, ::testing::Values(
    Row{"45", "45"}, Row{"45.123456", "45.12346"}, Row{"66.91666667", "66.91667"},
    Row{"103.41666667", "103.41667"}, Row{"68.09408602", "68.09409"}, Row{"36.5", "36.5"},
    Row{"18.25", "18.25"}, Row{"0", "0"}, Row{"45.100001", "45.1"}, Row{"-3.000004", "-3"},
    // A tie rounds to the even digit.
    Row{"1.123455", "1.12346"}, Row{"1.123465", "1.12346"}, Row{"1.1234650001", "1.12347"}));

class Dates : public ::testing::TestWithParam<Row> {};
TEST_P(Dates, MonthDayYear) { EXPECT_EQ(GetParam().expected, FormatDate(GetParam().input)); }
INSTANTIATE_TEST_SUITE_P(Reports, Dates, ::testing::Values(
    Row{"12/31/2002", "12/31/2002"}, Row{"6/30/2004", "06/30/2004"}, Row{"1/1/2002", "01/01/2002"},
    Row{"02/29/2004", "02/29/2004"}, Row{"12/30/1899", "12/30/1899"}));

TEST(NumberFormat, NotANumberIsTypeMismatch) {
    for (const char* bad : {"abc", "12x", "--1", "1.2.3", "$5"}) {
        try {
            FormatAmount(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const activation::ComError& e) {
            EXPECT_EQ(13, e.Number()) << bad;
        }
    }
}

TEST(NumberFormat, NotADateIsTypeMismatch) {
    for (const char* bad : {"13/45/2003", "2/29/2003", "12/31", "", "ab/cd/efgh", "1/1/2002x"}) {
        try {
            FormatDate(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const activation::ComError& e) {
            EXPECT_EQ(13, e.Number()) << bad;
        }
    }
}

TEST(NumberFormat, RatioValueFromDouble) {
    EXPECT_EQ("0.16667", FormatRatioValue(0.16667));
    EXPECT_EQ("0.16667", FormatRatioValue(0.1666666667));
    EXPECT_EQ("0.30000", FormatRatioValue(0.3));
    EXPECT_EQ("0.00000", FormatRatioValue(0.0));
    EXPECT_EQ("0.00001", FormatRatioValue(1e-5));
    EXPECT_EQ("-0.09677", FormatRatioValue(-0.0967741935));
}

TEST(NumberFormat, WholeUnits) {
    EXPECT_EQ(370000, ParseWholeUnits("370,000"));
    EXPECT_EQ(-1235, ParseWholeUnits("-1,234.5"));
    EXPECT_EQ(0, ParseWholeUnits(""));
}

TEST(Fields, RightAlignedInTwelve) {
    EXPECT_EQ("    $250,000", RightAlign("$250,000"));
    EXPECT_EQ("            ", RightAlign(""));
    EXPECT_EQ("123456789012", RightAlign("123456789012"));
}

TEST(Fields, LongerValueIsAFieldOfHashes) {
    EXPECT_EQ("############", RightAlign(FormatDollars("1234567890123")));
    EXPECT_EQ("############", RightAlign(FormatDollars("-12345678901")));
    EXPECT_EQ("-$99,999,999", RightAlign(FormatDollars("-99999999")));
    EXPECT_EQ("#####", RightAlign("$12,345,678", 5));
}

TEST(Fields, WidthsCountCharactersNotBytes) {
    EXPECT_EQ("  \xE2\x80\x94\xE2\x80\x94", RightAlign(GetPrintLine(2), 4));
    EXPECT_EQ("\xE2\x80\x94\xE2\x80\x94", RightAlign(GetPrintLine(2), 2));
    EXPECT_EQ("##", RightAlign(GetPrintLine(3), 2));
}

TEST(PrintLine, EmDashesAsUtf8) {
    EXPECT_EQ("", GetPrintLine(0));
    EXPECT_EQ("", GetPrintLine(-3));
    EXPECT_EQ("\xE2\x80\x94", GetPrintLine(1));
    EXPECT_EQ(180u, GetPrintLine(60).size());
}

class Months : public ::testing::TestWithParam<Row> {};
TEST_P(Months, Abbrev) {
    std::string m = GetParam().input;
    MonthAbbrev(m);
    EXPECT_EQ(GetParam().expected, m);
}
INSTANTIATE_TEST_SUITE_P(Reports, Months, ::testing::Values(
    Row{"01", "Jan"}, Row{"02", "Feb"}, Row{"03", "Mar"}, Row{"04", "Apr"}, Row{"05", "May"},
    Row{"06", "Jun"}, Row{"07", "Jul"}, Row{"08", "Aug"}, Row{"09", "Sep"}, Row{"10", "Oct"},
    Row{"11", "Nov"}, Row{"12", "Dec"}, Row{"13", "13"}, Row{"00", "00"}, Row{"1", "1"},
    Row{"", ""}, Row{"Jan", "Jan"}, Row{"012", "012"}));

}  // namespace
