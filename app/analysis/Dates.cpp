#include "Dates.h"

#include <Reports.h>

#include <algorithm>
#include <cstdio>

namespace caldren::analysis {

namespace {
constexpr const char* kUnsetDate = "12/30/1899";
}

Date ParseDate(const std::string& engineText) {
    const std::string d = Reports::FormatDate(engineText);  // "mm/dd/yyyy" or ComError 13
    return Date{std::stoi(d.substr(0, 2)), std::stoi(d.substr(3, 2)), std::stoi(d.substr(6))};
}

std::string DateText(const Date& date) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", date.month, date.day, date.year);
    return buf;
}

int DaysInMonth(int month, int year) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string OneYearLater(const std::string& engineText) {
    Date d = ParseDate(engineText);
    if (DateText(d) == kUnsetDate) return kUnsetDate;
    const bool monthEnd = d.day == DaysInMonth(d.month, d.year);
    ++d.year;
    d.day = monthEnd ? DaysInMonth(d.month, d.year) : std::min(d.day, DaysInMonth(d.month, d.year));
    return DateText(d);
}

std::string MonthAndYear(int monthIndex) {
    static const char* const kNames[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    return std::string(kNames[monthIndex % 12]) + " " + std::to_string(monthIndex / 12);
}

}  // namespace caldren::analysis
