// Amount: the figures of the program, typed, and their text forms.
//
//   Amount    signed 64-bit count of ten-thousandths of a unit: the engine's stored value
//   ratio     double: cycles, days, percentages as the engine computes them
//   Decimal   an exact decimal of any length: a figure read from the engine's text for a
//             report pattern, or an amount typed by a person (AmountText.h)
//
// Numbers follow US conventions: "1,234.56", a leading minus. Every routine is pure; a
// failure comes back as a status or an empty optional, and each caller turns it into the
// error number of its own place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace common {

using Amount = std::int64_t;  // ten-thousandths of a unit
constexpr Amount kAmountScale = 10000;

enum class Conv { Ok, NotANumber, Overflow };

// ---- amounts --------------------------------------------------------------------------

// The engine's reading of an amount (typed by a user or read from a file): optional blanks
// around, an optional leading "+" or "-", digits in the whole part, at most one decimal
// point. Thousands commas, when there are any, are strict: one to three digits, then groups
// of exactly three ("1,234,567"; never "7,900,00", "1,2,3", "1234,567" or "12,34"). At least one
// digit; no letters, no exponent, no currency sign. More than four decimals are rounded half to
// even on the exact decimal value (as a currency conversion does). Beyond the range:
// Conv::Overflow.
Conv ParseAmount(std::string_view text, Amount& out);

// Checked arithmetic: false on overflow (the result is then unspecified).
bool AddAmount(Amount a, Amount b, Amount& out);
bool SubAmount(Amount a, Amount b, Amount& out);
bool MulAmountInt(Amount a, std::int64_t factor, Amount& out);

// Nearest whole unit, ties to even (exact). False on overflow.
bool RoundAmountToUnitHalfEven(Amount a, Amount& out);

// "##,###,##0": nearest whole unit (halves away from zero), thousands commas, a leading
// minus for negatives. A value that rounds to zero gives "0".
std::string FormatWhole(Amount a);
// "##0.00000" of an amount: five decimals, no grouping (exact).
std::string FormatFixed5(Amount a);
// Plain decimal text: no grouping, no trailing zeros in the fraction ("1234", "-0.5").
std::string PlainAmount(Amount a);
// The value as a double: the double nearest to its decimal value.
double AmountToDouble(Amount a);
// A double converted to an amount: four decimals, ties to even on the exact binary value.
// NaN, infinities and values beyond the range give Conv::Overflow.
Conv DoubleToAmount(double x, Amount& out);

// ---- ratios ---------------------------------------------------------------------------

// Shortest decimal text of x with at most 15 significant digits, without exponent
// ("66.9166666666667", "0.05", "-3", "0.00001").
std::string RatioText(double x);
// Plain decimal text (optional sign, digits, point, optional exponent) to a double.
bool ParseRatio(std::string_view text, double& out);
// x rounded to n decimals (0..8), ties to even on the exact binary value.
double RoundHalfEven(double x, int decimals);
// "##0.00000": five decimals, halves away from zero on the exact binary value, no grouping.
// A value that rounds to zero gives "0.00000".
std::string FormatRatio5(double x);

// ---- exact decimals and the reports' patterns -------------------------------------------

struct Decimal {
    bool negative = false;
    std::string whole;  // digits without leading zeros; empty for zero
    std::string frac;   // fraction digits as they stand

    bool IsZero() const;
};

// A figure as the engine writes it: blanks and tabs around, an optional sign, digits with
// thousands commas in the whole part (strict, as ParseAmount takes them), an optional point and
// fraction, an optional exponent as a double prints it ("-1,234.5678", "+12", ".5", "1e-05"). Empty
// when it is not a number.
std::optional<Decimal> ParseDecimal(std::string_view text);

enum class Tie { AwayFromZero, ToEven };
// Rounds to `places` fraction digits (exactly that many afterwards).
void RoundDecimal(Decimal& d, std::size_t places, Tie tie);

enum class Pattern {
    Dollars,     // "$##,###,##0"   whole units, halves away from zero: "$1,235", "-$93,256"
    Whole,       // "##,###,##0"    "1,235"
    Subtracted,  // "-##,###,##0"   the minus is a literal: "-250,000", "--40,000"
    Ratio5,      // "##0.00000"     "0.35833"
    Percent,     // "##0.00%"       the value times 100: "18.66%"
    Days,        // five decimals, ties to even, trailing zeros dropped: "66.91667", "45"
};
// The pattern's text of a value; a value that rounds to zero has no sign ("0", "$0").
std::string FormatPattern(Decimal d, Pattern pattern);
// The same of a figure's text; "" for a blank text, empty when it is not a number.
std::optional<std::string> FormatPattern(std::string_view text, Pattern pattern);
// "##,###,##0" of a count of whole units.
std::string WholeUnitsText(long long units);
// A figure's text as whole units (halves away from zero); a blank text is 0.
Conv ParseWholeUnits(std::string_view text, long long& out);

// A figure right-aligned in a field of `width` characters. A figure wider than its field
// would print as another figure if cut: it fills the field with "#" instead.
std::string RightAlign(std::string_view text, std::size_t width);

}  // namespace common
