// FigureChange: printed figures read back exactly, laid out again, and their change.
#include "FigureChange.h"

#include <common/TextWidth.h>

#include <algorithm>
#include <cstdlib>

namespace Reports {

namespace {

constexpr int kMaxDecimals = 5;
// Thirteen digits padded to five decimals still fit a long long (below 10^18).
constexpr std::size_t kMaxDigits = 13;

long long Power10(int n) {
    long long p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

std::string Grouped(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        out.push_back(digits[i]);
        const std::size_t left = digits.size() - 1 - i;
        if (left > 0 && left % 3 == 0) out.push_back(',');
    }
    return out;
}

// The figure's scaled value at `decimals` decimals (at least its own).
long long ScaledTo(const PrintedFigure& f, int decimals) {
    return f.scaled * Power10(decimals - f.decimals);
}

}  // namespace

std::optional<PrintedFigure> ReadPrintedFigure(std::string_view text) {
    std::string_view s = common::Trim(text);
    PrintedFigure f;
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    if (!s.empty() && s.front() == '$') {
        f.dollars = true;
        s.remove_prefix(1);
    }
    std::string digits;
    bool point = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
            if (point) ++f.decimals;
        } else if (c == ',' && !point && !digits.empty() && i + 1 < s.size()) {
            continue;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits.empty() || digits.size() > kMaxDigits || f.decimals > kMaxDecimals)
        return std::nullopt;
    f.scaled = std::strtoll(digits.c_str(), nullptr, 10) * (negative ? -1 : 1);
    return f;
}

std::string PrintFigure(const PrintedFigure& figure, int decimals, bool parentheses, bool plus) {
    decimals = std::clamp(std::max(decimals, figure.decimals), 0, kMaxDecimals);
    const long long value = ScaledTo(figure, decimals);
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    const std::string whole = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    std::string text = (figure.dollars ? "$" : "") + (decimals == 0 ? Grouped(whole) : whole);
    if (decimals > 0) text += "." + digits.substr(whole.size());
    if (value < 0) return parentheses ? "(" + text + ")" : "-" + text;
    return (plus && value > 0 ? "+" : "") + text;
}

FigureChangeText FigureChange(std::string_view before, std::string_view after) {
    const std::optional<PrintedFigure> a = ReadPrintedFigure(before);
    const std::optional<PrintedFigure> b = ReadPrintedFigure(after);
    if (!a || !b) return {};
    PrintedFigure change;
    change.decimals = std::max(a->decimals, b->decimals);
    change.dollars = a->dollars || b->dollars;
    const long long from = ScaledTo(*a, change.decimals);
    change.scaled = ScaledTo(*b, change.decimals) - from;
    FigureChangeText text;
    text.amount = PrintFigure(change, change.decimals, false, true);
    if (from == 0) {
        text.percent = change.scaled == 0 ? "0.00%" : "n/m";
        return text;
    }
    // Hundredths of a percent, halves away from zero.
    const __int128 size = from < 0 ? -static_cast<__int128>(from) : from;
    const __int128 moved =
        change.scaled < 0 ? -static_cast<__int128>(change.scaled) : change.scaled;
    const __int128 hundredths = (moved * 20000 + size) / (2 * size);
    PrintedFigure percent;
    percent.decimals = 2;
    percent.scaled = static_cast<long long>(hundredths) * (change.scaled < 0 ? -1 : 1);
    text.percent = PrintFigure(percent, 2, false, true) + "%";
    return text;
}

}  // namespace Reports
