// Small pieces the report layouts share (internal to the report builders).
#pragma once

#include "Reports.h"

#include <string>
#include <string_view>

namespace Reports::layout {

inline constexpr const char* kCrLf = "\r\n";

// A value field of 12 characters, right-aligned.
inline std::string F(const std::string& formatted) { return RightAlign(formatted, 12); }

inline std::string Line(std::string_view text) { return std::string(text) + kCrLf; }

// The month label pieces of a month row: "Jan" and "2003" from "01/15/2003".
inline std::string MonthName(const std::string& monthDate) {
    std::string mm = monthDate.substr(0, 2);
    MonthAbbrev(mm);
    return mm;
}
inline std::string YearOf(const std::string& monthDate) {
    return monthDate.size() >= 4 ? monthDate.substr(monthDate.size() - 4) : monthDate;
}

// Calls fn(month) for every month of the collection, in collection order.
template <class Fn>
void ForEachMonth(const vesmora::_Caldren& calc, Fn&& fn) {
    auto months = calc.get_colMonths();
    if (!months) return;
    auto e = months->get_NewEnum();
    if (!e) return;
    for (auto m = e->Next(); m; m = e->Next()) fn(*m);
}

}  // namespace Reports::layout
