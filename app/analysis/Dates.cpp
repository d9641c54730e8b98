#include "Dates.h"

#include <Reports.h>

namespace caldren::analysis {

namespace {
constexpr const char* kUnsetDate = "12/30/1899";
}

Date ParseDate(const std::string& engineText) { return Reports::ParseDate(engineText); }

std::string OneYearLater(const std::string& engineText) {
    const Date d = ParseDate(engineText);
    if (DateText(d) == kUnsetDate) return kUnsetDate;
    return DateText(common::OneYearLater(d, /*keepMonthEnd=*/true));
}

}  // namespace caldren::analysis
