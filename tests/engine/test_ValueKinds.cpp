// Value kinds: amount text in and out, rounding rules, ratio texts, dates, booleans and
// fixed-width text.
#include "ValueKinds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace vesmora::vk;

// ---- text to amount ---------------------------------------------------------------------

struct ParseRow {
    const char* text;
    Conv status;
    Amount raw;  // ten-thousandths, when Ok
};

class ParseAmountTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseAmountTest, Converts) {
    const ParseRow& row = GetParam();
    Amount a = -777;
    EXPECT_EQ(ParseAmount(row.text, a), row.status) << '"' << row.text << '"';
    if (row.status == Conv::Ok) {
        EXPECT_EQ(a, row.raw) << '"' << row.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseAmountTest,
    ::testing::Values(
        ParseRow{"1,234.56", Conv::Ok, 12345600}, ParseRow{"-1234", Conv::Ok, -12340000},
        ParseRow{" 12 ", Conv::Ok, 120000}, ParseRow{"+5", Conv::Ok, 50000},
        ParseRow{"0", Conv::Ok, 0}, ParseRow{"-0", Conv::Ok, 0}, ParseRow{".5", Conv::Ok, 5000},
        ParseRow{"5.", Conv::Ok, 50000}, ParseRow{"1,234,567", Conv::Ok, 12345670000},
        ParseRow{"\t7\t", Conv::Ok, 70000}, ParseRow{"0001", Conv::Ok, 10000},
        ParseRow{"1234.6", Conv::Ok, 12346000}, ParseRow{"0.0001", Conv::Ok, 1},
        // more than four decimals: half to even on the exact decimal value
        ParseRow{"0.00005", Conv::Ok, 0}, ParseRow{"0.00015", Conv::Ok, 2},
        ParseRow{"0.000051", Conv::Ok, 1}, ParseRow{"0.00014999", Conv::Ok, 1},
        ParseRow{"-0.00015", Conv::Ok, -2}, ParseRow{"2.50005", Conv::Ok, 25000},
        // range edges
        ParseRow{"922,337,203,685,477.5807", Conv::Ok, std::numeric_limits<Amount>::max()},
        ParseRow{"-922337203685477.5808", Conv::Ok, std::numeric_limits<Amount>::min()},
        ParseRow{"922337203685477.5808", Conv::Overflow, 0},
        ParseRow{"922337203685478", Conv::Overflow, 0},
        ParseRow{"9999999999999999999", Conv::Overflow, 0},
        ParseRow{"123456789012345678901234567890", Conv::Overflow, 0},
        ParseRow{"922337203685477.58075", Conv::Overflow, 0},
        // not numbers
        ParseRow{"", Conv::NotANumber, 0}, ParseRow{"   ", Conv::NotANumber, 0},
        ParseRow{"abc", Conv::NotANumber, 0}, ParseRow{"12a", Conv::NotANumber, 0},
        ParseRow{"1.2.3", Conv::NotANumber, 0}, ParseRow{"-", Conv::NotANumber, 0},
        ParseRow{".", Conv::NotANumber, 0}, ParseRow{"1e400", Conv::NotANumber, 0},
        ParseRow{"1e5", Conv::NotANumber, 0}, ParseRow{",123", Conv::NotANumber, 0},
        ParseRow{"123,", Conv::NotANumber, 0}, ParseRow{"1,,000", Conv::NotANumber, 0},
        ParseRow{"1.000,5", Conv::NotANumber, 0}, ParseRow{"--5", Conv::NotANumber, 0},
        ParseRow{"5-", Conv::NotANumber, 0}, ParseRow{"1 000", Conv::NotANumber, 0},
        ParseRow{"$100", Conv::NotANumber, 0}, ParseRow{"0x10", Conv::NotANumber, 0},
        ParseRow{"nan", Conv::NotANumber, 0}, ParseRow{"inf", Conv::NotANumber, 0}));

TEST(ParseAmount, VeryLongTextsDoNotOverflowTheParser) {
    Amount a = 0;
    EXPECT_EQ(ParseAmount(std::string(100000, '9'), a), Conv::Overflow);
    EXPECT_EQ(ParseAmount(std::string(100000, '0') + "42", a), Conv::Ok);
    EXPECT_EQ(a, 420000);
    EXPECT_EQ(ParseAmount("1." + std::string(100000, '0') + "1", a), Conv::Ok);
    EXPECT_EQ(a, 10000);
    EXPECT_EQ(ParseAmount(std::string(100000, '9') + "x", a), Conv::NotANumber);
}

// ---- amount to text ---------------------------------------------------------------------

struct FormatRow {
    Amount raw;
    const char* whole;   // "##,###,##0"
    const char* fixed5;  // "##0.00000"
    const char* plain;
};

class FormatAmountTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatAmountTest, Formats) {
    const FormatRow& row = GetParam();
    EXPECT_EQ(FormatWhole(row.raw), row.whole);
    EXPECT_EQ(FormatFixed5(row.raw), row.fixed5);
    EXPECT_EQ(PlainAmount(row.raw), row.plain);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatAmountTest,
    ::testing::Values(
        FormatRow{0, "0", "0.00000", "0"}, FormatRow{12346000, "1,235", "1234.60000", "1234.6"},
        FormatRow{12344000, "1,234", "1234.40000", "1234.4"},
        // halves away from zero
        FormatRow{12345000, "1,235", "1234.50000", "1234.5"},
        FormatRow{-12345000, "-1,235", "-1234.50000", "-1234.5"},
        FormatRow{5000, "1", "0.50000", "0.5"}, FormatRow{15000, "2", "1.50000", "1.5"},
        FormatRow{25000, "3", "2.50000", "2.5"}, FormatRow{4999, "0", "0.49990", "0.4999"},
        FormatRow{-4000, "0", "-0.40000", "-0.4"}, FormatRow{-5000, "-1", "-0.50000", "-0.5"},
        FormatRow{1500000000, "150,000", "150000.00000", "150000"},
        FormatRow{999999999, "100,000", "99999.99990", "99999.9999"},
        FormatRow{1234567890000, "123,456,789", "123456789.00000", "123456789"},
        FormatRow{-10000000, "-1,000", "-1000.00000", "-1000"},
        FormatRow{500000250, "50,000", "50000.02500", "50000.025"},
        FormatRow{std::numeric_limits<Amount>::max(), "922,337,203,685,478", "922337203685477.58070",
                  "922337203685477.5807"},
        FormatRow{std::numeric_limits<Amount>::min(), "-922,337,203,685,478", "-922337203685477.58080",
                  "-922337203685477.5808"}));

TEST(AmountArithmetic, OverflowIsDetected) {
    constexpr Amount kMax = std::numeric_limits<Amount>::max();
    Amount r = 0;
    EXPECT_FALSE(AddAmount(kMax, 1, r));
    EXPECT_FALSE(SubAmount(std::numeric_limits<Amount>::min(), 1, r));
    EXPECT_FALSE(MulAmountInt(kMax / 50, 100, r));
    EXPECT_TRUE(AddAmount(kMax - 1, 1, r));
    EXPECT_EQ(r, kMax);
}

struct UnitRow {
    Amount raw;
    Amount rounded;
};
class RoundToUnitTest : public ::testing::TestWithParam<UnitRow> {};
TEST_P(RoundToUnitTest, TiesToEven) {
    Amount r = 0;
    ASSERT_TRUE(RoundAmountToUnitHalfEven(GetParam().raw, r));
    EXPECT_EQ(r, GetParam().rounded);
}
INSTANTIATE_TEST_SUITE_P(Rows, RoundToUnitTest,
                         ::testing::Values(UnitRow{5000, 0}, UnitRow{15000, 20000}, UnitRow{25000, 20000},
                                           UnitRow{-25000, -20000}, UnitRow{-35000, -40000},
                                           UnitRow{25001, 30000}, UnitRow{24999, 20000},
                                           UnitRow{999999750, 1000000000},  // 99,999.975
                                           UnitRow{1049999800, 1050000000}, UnitRow{0, 0}));

TEST(RoundToUnit, OverflowAtTheTopOfTheRange) {
    Amount r = 0;
    EXPECT_FALSE(RoundAmountToUnitHalfEven(std::numeric_limits<Amount>::max(), r));
}

struct DoubleRow {
    double x;
    Conv status;
    Amount raw;
};
class DoubleToAmountTest : public ::testing::TestWithParam<DoubleRow> {};
TEST_P(DoubleToAmountTest, FourDecimalsTiesToEven) {
    Amount a = 0;
    EXPECT_EQ(DoubleToAmount(GetParam().x, a), GetParam().status) << GetParam().x;
    if (GetParam().status == Conv::Ok) {
        EXPECT_EQ(a, GetParam().raw) << GetParam().x;
    }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, DoubleToAmountTest,
    ::testing::Values(DoubleRow{0.0, Conv::Ok, 0}, DoubleRow{110000.0, Conv::Ok, 1100000000},
                      DoubleRow{0.00005, Conv::Ok, 1},  // binary value lies above the tie
                      DoubleRow{0.03125, Conv::Ok, 312},   // exact tie 312.5 -> even
                      DoubleRow{0.03135, Conv::Ok, 314},
                      DoubleRow{-0.03125, Conv::Ok, -312}, DoubleRow{0.00015, Conv::Ok, 1},
                      DoubleRow{50000.025000000001, Conv::Ok, 500000250},
                      DoubleRow{33.33333206176758, Conv::Ok, 333333},
                      DoubleRow{450000000000000.5, Conv::Ok, 4500000000000005000},
                      DoubleRow{1e15, Conv::Overflow, 0}, DoubleRow{-1e300, Conv::Overflow, 0},
                      DoubleRow{std::numeric_limits<double>::infinity(), Conv::Overflow, 0},
                      DoubleRow{std::numeric_limits<double>::quiet_NaN(), Conv::Overflow, 0},
                      DoubleRow{1e-300, Conv::Ok, 0}));

// ---- ratios -----------------------------------------------------------------------------

struct RatioRow {
    double x;
    const char* text;
};
class RatioTextTest : public ::testing::TestWithParam<RatioRow> {};
TEST_P(RatioTextTest, FifteenSignificantDigits) { EXPECT_EQ(RatioText(GetParam().x), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(
    Rows, RatioTextTest,
    ::testing::Values(RatioRow{66.91666666666666, "66.9166666666667"}, RatioRow{36.5, "36.5"},
                      RatioRow{35.32258064516129, "35.3225806451613"}, RatioRow{0.1866, "0.1866"},
                      RatioRow{0.35833333333333334, "0.358333333333333"}, RatioRow{0.0, "0"},
                      RatioRow{-3.0, "-3"}, RatioRow{0.00001, "0.00001"},
                      RatioRow{1.5e-7, "0.00000015"}, RatioRow{1e20, "100000000000000000000"},
                      RatioRow{-0.2615558064516129, "-0.261555806451613"},
                      RatioRow{33.33333, "33.33333"}, RatioRow{0.1 + 0.2, "0.3"}));

TEST(RatioText, ParsesBackToTheRoundedValue) {
    double d = 0;
    ASSERT_TRUE(ParseRatio(RatioText(0.35833333333333334), d));
    EXPECT_EQ(d, 0.358333333333333);
    EXPECT_FALSE(ParseRatio("", d));
    EXPECT_FALSE(ParseRatio("1,5", d));
    EXPECT_TRUE(ParseRatio("+2.5", d));
    EXPECT_EQ(d, 2.5);
}

struct RoundRow {
    double x;
    int decimals;
    double expected;
};
class RoundHalfEvenTest : public ::testing::TestWithParam<RoundRow> {};
TEST_P(RoundHalfEvenTest, Rounds) {
    EXPECT_EQ(RoundHalfEven(GetParam().x, GetParam().decimals), GetParam().expected) << GetParam().x;
}
INSTANTIATE_TEST_SUITE_P(
    Rows, RoundHalfEvenTest,
    ::testing::Values(RoundRow{66.91666666666666, 8, 66.91666667}, RoundRow{0.18655913978494623, 4, 0.1866},
                      RoundRow{0.05, 4, 0.05}, RoundRow{2.5, 0, 2.0}, RoundRow{3.5, 0, 4.0},
                      RoundRow{-2.5, 0, -2.0}, RoundRow{50000.5, 0, 50000.0},
                      RoundRow{0.125, 2, 0.12}, RoundRow{0.375, 2, 0.38},
                      RoundRow{33.33333206176758, 5, 33.33333}, RoundRow{33.33333206176758, 2, 33.33},
                      // 2.675 is stored below the tie: rounds down on its exact value
                      RoundRow{2.675, 2, 2.67}, RoundRow{1e20, 8, 1e20}));

struct Ratio5Row {
    double x;
    const char* text;
};
class FormatRatio5Test : public ::testing::TestWithParam<Ratio5Row> {};
TEST_P(FormatRatio5Test, FiveDecimalsHalvesAwayFromZero) {
    EXPECT_EQ(FormatRatio5(GetParam().x), GetParam().text) << GetParam().x;
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FormatRatio5Test,
    ::testing::Values(Ratio5Row{0.358333333333333, "0.35833"}, Ratio5Row{0.1666666667, "0.16667"},
                      Ratio5Row{0.0, "0.00000"}, Ratio5Row{-0.0967741935483871, "-0.09677"},
                      Ratio5Row{0.015625, "0.01563"},  // exact tie: away from zero
                      Ratio5Row{-0.015625, "-0.01563"}, Ratio5Row{36.5, "36.50000"},
                      Ratio5Row{123456.789, "123456.78900"}, Ratio5Row{-0.000001, "0.00000"},
                      Ratio5Row{1e20, "100000000000000000000.00000"}));

// ---- dates ------------------------------------------------------------------------------

struct DateRow {
    const char* text;
    bool ok;
    const char* formatted;
};
class DateTest : public ::testing::TestWithParam<DateRow> {};
TEST_P(DateTest, ParsesAndFormats) {
    DaySerial d = 0;
    EXPECT_EQ(ParseDate(GetParam().text, d), GetParam().ok) << GetParam().text;
    if (GetParam().ok) {
        EXPECT_EQ(FormatDate(d), GetParam().formatted);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, DateTest,
    ::testing::Values(DateRow{"6/30/2004", true, "06/30/2004"}, DateRow{"06/30/2004", true, "06/30/2004"},
                      DateRow{" 12/31/2002 ", true, "12/31/2002"}, DateRow{"2003-07-15", true, "07/15/2003"},
                      DateRow{"2/29/2004", true, "02/29/2004"}, DateRow{"2/29/2000", true, "02/29/2000"},
                      DateRow{"1/1/100", true, "01/01/0100"}, DateRow{"1/1/99", false, ""}, DateRow{"1/1/099", false, ""}, DateRow{"1/1/0100", true, "01/01/0100"},
                      DateRow{"12/31/9999", true, "12/31/9999"}, DateRow{"12/30/1899", true, "12/30/1899"},
                      DateRow{"13/45/2003", false, ""}, DateRow{"2/30/2003", false, ""},
                      DateRow{"2/29/2003", false, ""}, DateRow{"2/29/1900", false, ""},
                      DateRow{"00/00/0000", false, ""}, DateRow{"", false, ""}, DateRow{"6/30", false, ""},
                      DateRow{"6/30/04", false, ""}, DateRow{"6/30/20044", false, ""},
                      DateRow{"6-30-2004", false, ""}, DateRow{"6/30/2004x", false, ""},
                      DateRow{"4/31/2003", false, ""}, DateRow{"1/1/10000", false, ""},
                      DateRow{"abc", false, ""}));

TEST(Dates, DayZeroIs30December1899) {
    EXPECT_EQ(FormatDate(0), "12/30/1899");
    EXPECT_EQ(SerialFromCivil(1899, 12, 30), 0);
    EXPECT_EQ(SerialFromCivil(1900, 1, 1), 2);
    EXPECT_EQ(SerialFromCivil(2002, 12, 31), 37621);  // the platform's serial of that date
    EXPECT_EQ(FormatDate(-1), "12/29/1899");
}

// ---- booleans and text ------------------------------------------------------------------

TEST(Booleans, TextToBoolean) {
    bool b = false;
    for (const char* t : {"True", "TRUE", "true", " tRuE ", "1", "-1", "2.5", "0.001"}) {
        EXPECT_TRUE(ParseBoolean(t, b)) << t;
        EXPECT_TRUE(b) << t;
    }
    for (const char* t : {"False", "false", "FALSE", "0", "0.0", "-0", "0,000"}) {
        EXPECT_TRUE(ParseBoolean(t, b)) << t;
        EXPECT_FALSE(b) << t;
    }
    for (const char* t : {"", " ", "yes", "no", "T", "Truth", "1x"}) EXPECT_FALSE(ParseBoolean(t, b)) << t;
}

TEST(FixedText, CountsCharactersNotBytes) {
    EXPECT_EQ(CharCount("abc"), 3u);
    EXPECT_EQ(CharCount("Müller & Söhne"), 14u);
    EXPECT_EQ(CharCount("日本"), 2u);
    EXPECT_EQ(FirstChars("ÄÖÜabc", 4), "ÄÖÜa");
    EXPECT_EQ(PadTo("Ä", 3), "Ä  ");
    EXPECT_EQ(PadTo("abcdef", 3), "abc");
    EXPECT_EQ(RTrim("ab  "), "ab");
    EXPECT_EQ(RTrim("  "), "");
    EXPECT_EQ(RTrim(" a\t "), " a\t");
}

}  // namespace

namespace {

TEST(AmountToDouble, NearestDoubleOfTheDecimalValue) {
    using namespace vesmora::vk;
    EXPECT_EQ(AmountToDouble(333333), 33.3333);
    EXPECT_EQ(AmountToDouble(-12345), -1.2345);
    EXPECT_EQ(AmountToDouble(1100000000), 110000.0);
    EXPECT_EQ(AmountToDouble(std::numeric_limits<Amount>::max()), 922337203685477.5807);
    EXPECT_EQ(AmountToDouble(9007199254740993), 900719925474.0993);  // beyond 2^53 ten-thousandths
    EXPECT_EQ(AmountToDouble(0), 0.0);
}

}  // namespace
