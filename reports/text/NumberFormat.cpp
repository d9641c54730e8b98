// Number patterns of the reports, applied to the engine's US-format text.
//
// The engine hands every value out as text ("1,234", "-1,234", "0.12345", "45.5"). The
// text is parsed as an exact decimal (no binary floating point on the way), rounded in
// decimal and laid out by the pattern, so a value never changes by the trip.
#include "Reports.h"

#include <activation/Com.h>

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace Reports {
namespace {

// An exact decimal: sign, integer digits (no leading zeros; empty for 0) and fraction
// digits.
struct Decimal {
    bool negative = false;
    std::string whole;
    std::string frac;

    bool IsZero() const {
        return whole.find_first_not_of('0') == std::string::npos &&
               frac.find_first_not_of('0') == std::string::npos;
    }
};

[[noreturn]] void TypeMismatch(std::string_view text) {
    throw activation::ComError(13, "Reports.Format",
                               "Type mismatch: \"" + std::string(text) + "\" is not a number");
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Parses "-1,234.5678", "+12", ".5", "1e-05" (exponent form as a double prints it).
Decimal Parse(std::string_view text) {
    std::string_view s = Trim(text);
    Decimal d;
    if (s.empty()) TypeMismatch(text);
    if (s.front() == '-' || s.front() == '+') {
        d.negative = s.front() == '-';
        s.remove_prefix(1);
    }
    bool anyDigit = false;
    bool inFrac = false;
    size_t i = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            (inFrac ? d.frac : d.whole).push_back(c);
            anyDigit = true;
        } else if (c == ',' && !inFrac) {
            continue;
        } else if (c == '.' && !inFrac) {
            inFrac = true;
        } else {
            break;
        }
    }
    if (!anyDigit) TypeMismatch(text);
    if (i < s.size()) {
        // Only an exponent may follow.
        if (s[i] != 'e' && s[i] != 'E') TypeMismatch(text);
        std::string_view e = s.substr(i + 1);
        int exp = 0;
        auto [p, ec] = std::from_chars(e.data() + (!e.empty() && e.front() == '+' ? 1 : 0),
                                       e.data() + e.size(), exp);
        if (ec != std::errc() || p != e.data() + e.size() || exp > 400 || exp < -400)
            TypeMismatch(text);
        std::string digits = d.whole + d.frac;
        long point = static_cast<long>(d.whole.size()) + exp;
        if (point < 0) {
            digits.insert(0, static_cast<size_t>(-point), '0');
            point = 0;
        }
        if (point > static_cast<long>(digits.size())) digits.append(point - digits.size(), '0');
        d.whole = digits.substr(0, point);
        d.frac = digits.substr(point);
    }
    size_t nz = d.whole.find_first_not_of('0');
    d.whole = nz == std::string::npos ? std::string() : d.whole.substr(nz);
    return d;
}

// Adds one unit in the last place of a digit string; returns true on a carry out.
bool Increment(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    return true;
}

enum class Tie { AwayFromZero, ToEven };

// Rounds to `places` fraction digits (exactly that many afterwards).
void Round(Decimal& d, size_t places, Tie tie) {
    if (d.frac.size() <= places) {
        d.frac.append(places - d.frac.size(), '0');
        return;
    }
    char first = d.frac[places];
    bool restZero = d.frac.find_first_not_of('0', places + 1) == std::string::npos;
    d.frac.resize(places);
    bool up = false;
    if (first > '5') {
        up = true;
    } else if (first == '5') {
        if (!restZero || tie == Tie::AwayFromZero) {
            up = true;
        } else {
            char last = places > 0 ? d.frac.back() : (d.whole.empty() ? '0' : d.whole.back());
            up = ((last - '0') % 2) == 1;
        }
    }
    if (up && Increment(d.frac)) {
        if (Increment(d.whole)) d.whole.insert(0, 1, '1');
        if (d.whole.empty()) d.whole = "1";
    }
}

void TimesHundred(Decimal& d) {
    d.frac.append(2 - std::min<size_t>(2, d.frac.size()), '0');
    d.whole += d.frac.substr(0, 2);
    d.frac.erase(0, 2);
    size_t nz = d.whole.find_first_not_of('0');
    d.whole = nz == std::string::npos ? std::string() : d.whole.substr(nz);
}

std::string Group(const std::string& whole) {
    std::string digits = whole.empty() ? "0" : whole;
    std::string out;
    size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        out.push_back(digits[i]);
        size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out.push_back(',');
    }
    return out;
}

// The sign of a value that rounds to zero is dropped ("0", not "-0").
std::string Sign(const Decimal& d) { return d.negative && !d.IsZero() ? "-" : ""; }

// Whole units with grouping: the body of "##,###,##0".
std::string WholeGrouped(std::string_view text, const char* prefix) {
    Decimal d = Parse(text);
    Round(d, 0, Tie::AwayFromZero);
    return Sign(d) + prefix + Group(d.whole);
}

}  // namespace

std::string FormatDollars(std::string_view t) {
    if (Trim(t).empty()) return {};
    return WholeGrouped(t, "$");
}

std::string FormatAmount(std::string_view t) {
    if (Trim(t).empty()) return {};
    return WholeGrouped(t, "");
}

std::string FormatSubtracted(std::string_view t) {
    if (Trim(t).empty()) return {};
    // The pattern's minus is a literal: a negative value shows its own sign before it.
    return WholeGrouped(t, "-");
}

std::string FormatRatio(std::string_view t) {
    if (Trim(t).empty()) return {};
    Decimal d = Parse(t);
    Round(d, 5, Tie::AwayFromZero);
    return Sign(d) + (d.whole.empty() ? "0" : d.whole) + "." + d.frac;
}

std::string FormatPercent(std::string_view t) {
    if (Trim(t).empty()) return {};
    Decimal d = Parse(t);
    TimesHundred(d);
    Round(d, 2, Tie::AwayFromZero);
    return Sign(d) + (d.whole.empty() ? "0" : d.whole) + "." + d.frac + "%";
}

std::string FormatDays(std::string_view t) {
    if (Trim(t).empty()) return {};
    Decimal d = Parse(t);
    Round(d, 5, Tie::ToEven);
    while (!d.frac.empty() && d.frac.back() == '0') d.frac.pop_back();
    std::string out = Sign(d) + (d.whole.empty() ? "0" : d.whole);
    if (!d.frac.empty()) out += "." + d.frac;
    return out;
}

std::string FormatDate(std::string_view text) {
    std::string_view s = Trim(text);
    std::array<int, 3> parts{};
    size_t k = 0;
    size_t i = 0;
    while (k < 3) {
        size_t start = i;
        int v = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - start < 4)
            v = v * 10 + (s[i++] - '0');
        if (i == start) break;
        parts[k++] = v;
        if (k < 3) {
            if (i < s.size() && s[i] == '/')
                ++i;
            else
                break;
        }
    }
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int m = parts[0], dd = parts[1], y = parts[2];
    if (k != 3 || i != s.size() || m < 1 || m > 12 || dd < 1 || dd > kDays[m - 1] || y < 100)
        throw activation::ComError(13, "Reports.Format",
                                   "Type mismatch: \"" + std::string(text) + "\" is not a date");
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (m == 2 && dd == 29 && !leap)
        throw activation::ComError(13, "Reports.Format",
                                   "Type mismatch: \"" + std::string(text) + "\" is not a date");
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", m, dd, y);
    return buf;
}

std::string FormatRatioValue(double value) {
    char buf[512];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) TypeMismatch("<ratio>");
    return FormatRatio(std::string_view(buf, static_cast<size_t>(p - buf)));
}

long long ParseWholeUnits(std::string_view text) {
    if (Trim(text).empty()) return 0;
    Decimal d = Parse(text);
    Round(d, 0, Tie::AwayFromZero);
    if (d.whole.size() > 18) throw activation::ComError(6, "Reports.Format", "Overflow");
    long long v = 0;
    for (char c : d.whole) v = v * 10 + (c - '0');
    return d.negative ? -v : v;
}

namespace {
size_t Utf8Length(std::string_view s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}
}  // namespace

std::string RightAlign(std::string_view text, std::size_t width) {
    size_t len = Utf8Length(text);
    // A value cut short would print as another figure: a full field of "#" says it did not fit.
    if (len > width) return std::string(width, '#');
    return std::string(width - len, ' ') + std::string(text);
}

std::string PadRight(std::string_view text, std::size_t width) {
    size_t len = Utf8Length(text);
    if (len >= width) return std::string(text);
    return std::string(text) + std::string(width - len, ' ');
}

std::string Blanks(int n) {
    return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string();
}

std::string Repeat(char c, int n) {
    return n > 0 ? std::string(static_cast<size_t>(n), c) : std::string();
}

}  // namespace Reports
