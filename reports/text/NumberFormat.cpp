// Number patterns of the reports, applied to the engine's US-format text. The patterns are
// the program's shared rules (<common/Amount.h>); here a text that is not a figure or a
// date becomes the reports' error 13, a figure too large for whole units error 6.
#include "Reports.h"

#include <activation/Com.h>
#include <common/Amount.h>
#include <common/Calendar.h>
#include <common/TextWidth.h>

#include <charconv>

namespace Reports {
namespace {

[[noreturn]] void TypeMismatch(std::string_view text, const char* what) {
    throw activation::ComError(13, "Reports.Format",
                               "Type mismatch: \"" + std::string(text) + "\" is not " + what);
}

std::string Formatted(std::string_view text, common::Pattern pattern) {
    std::optional<std::string> s = common::FormatPattern(text, pattern);
    if (!s) TypeMismatch(text, "a number");
    return std::move(*s);
}

}  // namespace

std::string FormatDollars(std::string_view t) { return Formatted(t, common::Pattern::Dollars); }
std::string FormatAmount(std::string_view t) { return Formatted(t, common::Pattern::Whole); }
std::string FormatSubtracted(std::string_view t) {
    return Formatted(t, common::Pattern::Subtracted);
}
std::string FormatRatio(std::string_view t) { return Formatted(t, common::Pattern::Ratio5); }
std::string FormatPercent(std::string_view t) { return Formatted(t, common::Pattern::Percent); }
std::string FormatDays(std::string_view t) { return Formatted(t, common::Pattern::Days); }

common::Date ParseDate(std::string_view text) {
    std::optional<common::Date> d = common::ParseSlashDate(common::Trim(text));
    if (!d) TypeMismatch(text, "a date");
    return *d;
}

std::string FormatDate(std::string_view text) { return common::DateText(ParseDate(text)); }

std::string FormatRatioValue(double value) {
    char buf[512];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) TypeMismatch("<ratio>", "a number");
    return FormatRatio(std::string_view(buf, static_cast<size_t>(p - buf)));
}

long long ParseWholeUnits(std::string_view text) {
    long long v = 0;
    const common::Conv c = common::ParseWholeUnits(text, v);
    if (c == common::Conv::NotANumber) TypeMismatch(text, "a number");
    if (c == common::Conv::Overflow) throw activation::ComError(6, "Reports.Format", "Overflow");
    return v;
}

std::string RightAlign(std::string_view text, std::size_t width) {
    return common::RightAlign(text, width);
}

std::string PadRight(std::string_view text, std::size_t width) {
    return common::PadRight(text, width);
}

std::string Blanks(int n) {
    return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string();
}

std::string Repeat(char c, int n) {
    return n > 0 ? std::string(static_cast<size_t>(n), c) : std::string();
}

}  // namespace Reports
