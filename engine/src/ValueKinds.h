// The value kinds of the engine and their text forms at the engine boundary.
//
//   amount   signed 64-bit count of ten-thousandths of a unit (four decimals)
//   ratio    double
//   percent  float (GrossProfitPercent only)
//   date     day serial, day zero = 12/30/1899
//   fixed    text of a fixed number of characters (UTF-8 characters, not bytes)
//
// Numbers and dates follow US conventions: "1,234.56", a leading minus, month/day/year.
// Every routine here is pure; failures come back as a status, never as undefined
// behaviour: the callers turn them into the error numbers of the property concerned.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesmora::vk {

using Amount = std::int64_t;  // ten-thousandths of a unit
constexpr Amount kAmountScale = 10000;
using DaySerial = std::int32_t;  // days since 12/30/1899

enum class Conv { Ok, NotANumber, Overflow };

// ---- amounts --------------------------------------------------------------------------

// Text typed by a user or read from a file: optional blanks around, an optional leading
// "+" or "-", digits with thousands commas in the whole part, at most one decimal point.
// At least one digit; no letters, no exponent, no currency sign. More than four decimals
// are rounded half to even on the exact decimal value (as a currency conversion does).
// A value beyond the amount range gives Conv::Overflow.
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

// ---- dates ----------------------------------------------------------------------------

// Accepts "m/d/yyyy", "mm/dd/yyyy" (one or two digits for month and day, three or four for the
// year) and ISO "yyyy-mm-dd", with optional blanks around. Years 100 to 9999. Rejects
// impossible dates ("13/45/2003", "2/30/2003", "00/00/0000").
bool ParseDate(std::string_view text, DaySerial& out);
std::string FormatDate(DaySerial d);  // "mm/dd/yyyy"
DaySerial SerialFromCivil(int year, int month, int day);
void CivilFromSerial(DaySerial d, int& year, int& month, int& day);
bool ValidCivil(int year, int month, int day);

// ---- booleans -------------------------------------------------------------------------

// "True"/"False" in any case, or numeric text (0 is false, anything else true), with
// optional blanks around. Anything else, including the empty text, fails.
bool ParseBoolean(std::string_view text, bool& out);
inline const char* BooleanText(bool b) { return b ? "True" : "False"; }

// ---- fixed-width text -----------------------------------------------------------------

// Number of characters of a UTF-8 text (bytes that do not continue a sequence).
std::size_t CharCount(std::string_view text);
// The first n characters of text.
std::string_view FirstChars(std::string_view text, std::size_t n);
// text (at most width characters) blank-padded on the right to width characters.
std::string PadTo(std::string_view text, std::size_t width);
// text without trailing blanks.
std::string RTrim(std::string_view text);

}  // namespace vesmora::vk
