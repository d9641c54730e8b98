// The value kinds of the engine and their text forms at the engine boundary.
//
//   amount   signed 64-bit count of ten-thousandths of a unit (four decimals)
//   ratio    double
//   percent  float (GrossProfitPercent only)
//   date     day serial, day zero = 12/30/1899
//   fixed    text of a fixed number of characters (UTF-8 characters, not bytes)
//
// Numbers and dates follow US conventions: "1,234.56", a leading minus, month/day/year.
// Amounts, ratios, dates and text widths are the program's shared rules (components/common,
// where each form is described); the Booleans are the engine's own. Every routine is pure;
// failures come back as a status, never as undefined behaviour: the callers turn them into
// the error numbers of the property concerned.
#pragma once

#include <common/Amount.h>
#include <common/Calendar.h>
#include <common/TextWidth.h>

#include <string_view>

namespace vesmora::vk {

using common::Amount;
using common::Conv;
using common::DaySerial;
using common::kAmountScale;

using common::AddAmount;
using common::AmountToDouble;
using common::DoubleToAmount;
using common::FormatFixed5;
using common::FormatWhole;
using common::MulAmountInt;
using common::ParseAmount;
using common::PlainAmount;
using common::RoundAmountToUnitHalfEven;
using common::SubAmount;

using common::FormatRatio5;
using common::ParseRatio;
using common::RatioText;
using common::RoundHalfEven;

using common::CivilFromSerial;
using common::FormatDate;
using common::ParseDate;
using common::SerialFromCivil;
using common::ValidCivil;

using common::CharCount;
using common::FirstChars;
using common::PadTo;
using common::RTrim;
using common::Trim;

// "True"/"False" in any case, or numeric text (0 is false, anything else true), with
// optional blanks around. Anything else, including the empty text, fails.
bool ParseBoolean(std::string_view text, bool& out);
inline const char* BooleanText(bool b) { return b ? "True" : "False"; }

}  // namespace vesmora::vk
