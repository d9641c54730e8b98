// Calendar: the proleptic Gregorian calendar of every date in the program.
//
// Dates run from year 100 to 9999. A day serial counts days from 12/30/1899 (day zero), the
// engine's stored form. Date texts:
//   "mm/dd/yyyy"   the engine's and the reports' form (DateText, FormatDate)
//   "m/d/yyyy"     next year's date shown by the input form (ShortDateText)
//   engine input   "m/d/yyyy" or "mm/dd/yyyy" (three or four year digits) or ISO "yyyy-mm-dd",
//                  blanks and tabs around (ParseDate)
//   slash text     one to four digits on each side of two slashes, nothing around: the date
//                  boxes, pasted cells and the reports' reading of the engine (ParseSlashDate)
// Impossible dates ("2/30/2003", "2/29/1900", "00/00/0000") are refused by every parser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace common {

struct Date {
    int month = 0;
    int day = 0;
    int year = 0;
};

using DaySerial = std::int32_t;  // days since 12/30/1899

bool IsLeapYear(int year);
// Days of the month (February 29 in a leap year); 0 for a month outside 1..12.
int DaysInMonth(int month, int year);
// A real day of a month of a year from 100 to 9999.
bool ValidCivil(int year, int month, int day);
inline bool ValidDate(const Date& d) { return ValidCivil(d.year, d.month, d.day); }

DaySerial SerialFromCivil(int year, int month, int day);
void CivilFromSerial(DaySerial serial, int& year, int& month, int& day);

// The engine's input forms (see above) as a day serial; false when the text is not a date.
bool ParseDate(std::string_view text, DaySerial& out);
// "mm/dd/yyyy" of a day serial.
std::string FormatDate(DaySerial serial);

// "m/d/y" with one to four digits each and no blanks; empty when it is not a date.
std::optional<Date> ParseSlashDate(std::string_view text);
std::string DateText(const Date& date);       // "mm/dd/yyyy"
std::string ShortDateText(const Date& date);  // "m/d/yyyy"

// The same month and day one year later, the day cut to the new month's length (February 29
// becomes February 28). With keepMonthEnd the last day of a month stays the last day of its
// month (02/28/2023 -> 02/29/2024).
Date OneYearLater(Date date, bool keepMonthEnd);

// Month index counted from year 0 (year * 12 + month - 1), for comparing months.
inline int MonthIndex(const Date& d) { return d.year * 12 + d.month - 1; }
// "July 2025" of a month index.
std::string MonthAndYear(int monthIndex);

}  // namespace common
