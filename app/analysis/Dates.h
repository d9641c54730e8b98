// Calendar pieces of the analysis's dates (engine text "mm/dd/yyyy"), on the program's one
// calendar (<common/Calendar.h>).
#pragma once

#include <common/Calendar.h>

#include <string>

namespace caldren::analysis {

using common::Date;
using common::DateText;  // "mm/dd/yyyy"
using common::DaysInMonth;
using common::MonthAndYear;  // "July 2025"
using common::MonthIndex;    // year * 12 + month - 1, for comparing months

// The engine's date text as a date; throws ComError 13 when it is not a date.
Date ParseDate(const std::string& engineText);

// The same date one year later; the last day of a month stays the last day of its month
// (02/28/2023 -> 02/29/2024, 02/29/2024 -> 02/28/2025). The engine's unset date 12/30/1899
// stays as it is.
std::string OneYearLater(const std::string& engineText);

}  // namespace caldren::analysis
