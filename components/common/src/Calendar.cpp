#include <common/Calendar.h>
#include <common/TextWidth.h>

#include <algorithm>
#include <cstdio>

namespace common {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Days from 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

constexpr long long kDayZeroFrom1970 = -25569;  // 12/30/1899

// minLen..maxLen digits at s[i], not followed by another digit.
bool ReadDigits(std::string_view s, std::size_t& i, int minLen, int maxLen, int& value) {
    int n = 0;
    value = 0;
    while (i < s.size() && IsDigit(s[i]) && n < maxLen) {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++n;
    }
    return n >= minLen && !(i < s.size() && IsDigit(s[i]));
}

// A part, then (unless it is the last) the separator.
bool ReadPart(std::string_view s, std::size_t& i, int minLen, int maxLen, int& value, char sep) {
    if (!ReadDigits(s, i, minLen, maxLen, value)) return false;
    return sep == 0 || (i < s.size() && s[i++] == sep);
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool ValidCivil(int year, int month, int day) {
    return year >= 100 && year <= 9999 && day >= 1 && day <= DaysInMonth(month, year);
}

DaySerial SerialFromCivil(int year, int month, int day) {
    return static_cast<DaySerial>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kDayZeroFrom1970);
}

void CivilFromSerial(DaySerial serial, int& year, int& month, int& day) {
    long long z = static_cast<long long>(serial) + kDayZeroFrom1970 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool ParseDate(std::string_view text, DaySerial& out) {
    const std::string_view s = Trim(text);
    int y = 0, m = 0, d = 0;
    std::size_t i = 0;
    const bool parsed = s.size() >= 5 && s[4] == '-'  // ISO yyyy-mm-dd
                            ? ReadPart(s, i, 4, 4, y, '-') && ReadPart(s, i, 1, 2, m, '-') &&
                                  ReadPart(s, i, 1, 2, d, 0)
                            : ReadPart(s, i, 1, 2, m, '/') && ReadPart(s, i, 1, 2, d, '/') &&
                                  ReadPart(s, i, 3, 4, y, 0);
    if (!parsed || i != s.size() || !ValidCivil(y, m, d)) return false;
    out = SerialFromCivil(y, m, d);
    return true;
}

std::string FormatDate(DaySerial serial) {
    Date d;
    CivilFromSerial(serial, d.year, d.month, d.day);
    return DateText(d);
}

std::optional<Date> ParseSlashDate(std::string_view s) {
    Date d;
    std::size_t i = 0;
    if (!ReadPart(s, i, 1, 4, d.month, '/') || !ReadPart(s, i, 1, 4, d.day, '/') ||
        !ReadPart(s, i, 1, 4, d.year, 0) || i != s.size() || !ValidDate(d))
        return std::nullopt;
    return d;
}

std::string DateText(const Date& date) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", date.month, date.day, date.year);
    return buf;
}

std::string ShortDateText(const Date& date) {
    return std::to_string(date.month) + "/" + std::to_string(date.day) + "/" +
           std::to_string(date.year);
}

Date OneYearLater(Date date, bool keepMonthEnd) {
    const bool monthEnd = keepMonthEnd && date.day == DaysInMonth(date.month, date.year);
    ++date.year;
    const int last = DaysInMonth(date.month, date.year);
    if (last > 0 && (monthEnd || date.day > last)) date.day = last;
    return date;
}

std::string MonthAndYear(int monthIndex) {
    static const char* const kNames[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    return std::string(kNames[monthIndex % 12]) + " " + std::to_string(monthIndex / 12);
}

}  // namespace common
