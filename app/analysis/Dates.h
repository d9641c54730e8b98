// Calendar pieces of the analysis's dates (engine text "mm/dd/yyyy").
#pragma once

#include <string>

namespace caldren::analysis {

struct Date {
    int month = 0;
    int day = 0;
    int year = 0;
};

// The engine's date text as a date; throws ComError 13 when it is not a date.
Date ParseDate(const std::string& engineText);
// "mm/dd/yyyy".
std::string DateText(const Date& date);

int DaysInMonth(int month, int year);

// The same date one year later; the last day of a month stays the last day of its month
// (02/28/2023 -> 02/29/2024, 02/29/2024 -> 02/28/2025). The engine's unset date 12/30/1899
// stays as it is.
std::string OneYearLater(const std::string& engineText);

// Month index of a date counted from year 0 (year * 12 + month - 1), for comparing months.
inline int MonthIndex(const Date& d) { return d.year * 12 + d.month - 1; }

// "July 2025".
std::string MonthAndYear(int monthIndex);

}  // namespace caldren::analysis
