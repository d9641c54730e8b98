// Exact decimals and the reports' number patterns. A figure's text is read as an exact
// decimal (no binary floating point on the way), rounded in decimal and laid out by the
// pattern, so a value never changes by the trip.
#include <common/Amount.h>
#include <common/TextWidth.h>

#include <algorithm>
#include <charconv>

namespace common {

namespace {

void DropLeadingZeros(std::string& whole) {
    const std::size_t nz = whole.find_first_not_of('0');
    whole = nz == std::string::npos ? std::string() : whole.substr(nz);
}

// Adds one unit in the last place of a digit string; returns true on a carry out.
bool Increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    return true;
}

void TimesHundred(Decimal& d) {
    d.frac.append(2 - std::min<std::size_t>(2, d.frac.size()), '0');
    d.whole += d.frac.substr(0, 2);
    d.frac.erase(0, 2);
    DropLeadingZeros(d.whole);
}

std::string Group(const std::string& whole) {
    const std::string digits = whole.empty() ? "0" : whole;
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(digits[i]);
        const std::size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out.push_back(',');
    }
    return out;
}

// The sign of a value that rounds to zero is dropped ("0", not "-0").
std::string Sign(const Decimal& d) { return d.negative && !d.IsZero() ? "-" : ""; }

std::string Units(const Decimal& d) { return d.whole.empty() ? "0" : d.whole; }

}  // namespace

bool Decimal::IsZero() const {
    return whole.find_first_not_of('0') == std::string::npos &&
           frac.find_first_not_of('0') == std::string::npos;
}

std::optional<Decimal> ParseDecimal(std::string_view text) {
    std::string_view s = Trim(text);
    Decimal d;
    if (s.empty()) return std::nullopt;
    if (s.front() == '-' || s.front() == '+') {
        d.negative = s.front() == '-';
        s.remove_prefix(1);
    }
    bool anyDigit = false;
    bool inFrac = false;
    bool grouped = false;  // thousands commas as ParseAmount takes them
    int group = 0;
    std::size_t i = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            (inFrac ? d.frac : d.whole).push_back(c);
            anyDigit = true;
            ++group;
        } else if (c == ',' && !inFrac) {
            if (group == 0 || (grouped ? group != 3 : group > 3)) return std::nullopt;
            grouped = true;
            group = 0;
        } else if (c == '.' && !inFrac) {
            if (grouped && group != 3) return std::nullopt;
            inFrac = true;
        } else {
            break;
        }
    }
    if (!anyDigit || (grouped && !inFrac && group != 3)) return std::nullopt;
    if (i < s.size()) {
        // Only an exponent may follow.
        if (s[i] != 'e' && s[i] != 'E') return std::nullopt;
        const std::string_view e = s.substr(i + 1);
        int exp = 0;
        auto [p, ec] = std::from_chars(e.data() + (!e.empty() && e.front() == '+' ? 1 : 0),
                                       e.data() + e.size(), exp);
        if (ec != std::errc() || p != e.data() + e.size() || exp > 400 || exp < -400)
            return std::nullopt;
        std::string digits = d.whole + d.frac;
        long point = static_cast<long>(d.whole.size()) + exp;
        if (point < 0) {
            digits.insert(0, static_cast<std::size_t>(-point), '0');
            point = 0;
        }
        if (point > static_cast<long>(digits.size())) digits.append(point - digits.size(), '0');
        d.whole = digits.substr(0, point);
        d.frac = digits.substr(point);
    }
    DropLeadingZeros(d.whole);
    return d;
}

void RoundDecimal(Decimal& d, std::size_t places, Tie tie) {
    if (d.frac.size() <= places) {
        d.frac.append(places - d.frac.size(), '0');
        return;
    }
    const char first = d.frac[places];
    const bool restZero = d.frac.find_first_not_of('0', places + 1) == std::string::npos;
    d.frac.resize(places);
    bool up = false;
    if (first > '5') {
        up = true;
    } else if (first == '5') {
        if (!restZero || tie == Tie::AwayFromZero) {
            up = true;
        } else {
            const char last = places > 0 ? d.frac.back() : (d.whole.empty() ? '0' : d.whole.back());
            up = ((last - '0') % 2) == 1;
        }
    }
    if (up && Increment(d.frac)) {
        if (Increment(d.whole)) d.whole.insert(0, 1, '1');
        if (d.whole.empty()) d.whole = "1";
    }
}

std::string FormatPattern(Decimal d, Pattern pattern) {
    switch (pattern) {
        case Pattern::Dollars:
        case Pattern::Whole:
        case Pattern::Subtracted: {
            RoundDecimal(d, 0, Tie::AwayFromZero);
            const char* literal = pattern == Pattern::Dollars      ? "$"
                                  : pattern == Pattern::Subtracted ? "-"
                                                                   : "";
            return Sign(d) + literal + Group(d.whole);
        }
        case Pattern::Ratio5:
            RoundDecimal(d, 5, Tie::AwayFromZero);
            return Sign(d) + Units(d) + "." + d.frac;
        case Pattern::Percent:
            TimesHundred(d);
            RoundDecimal(d, 2, Tie::AwayFromZero);
            return Sign(d) + Units(d) + "." + d.frac + "%";
        case Pattern::Days: {
            RoundDecimal(d, 5, Tie::ToEven);
            while (!d.frac.empty() && d.frac.back() == '0') d.frac.pop_back();
            std::string out = Sign(d) + Units(d);
            if (!d.frac.empty()) out += "." + d.frac;
            return out;
        }
    }
    return {};
}

std::optional<std::string> FormatPattern(std::string_view text, Pattern pattern) {
    if (Trim(text).empty()) return std::string();
    std::optional<Decimal> d = ParseDecimal(text);
    if (!d) return std::nullopt;
    return FormatPattern(std::move(*d), pattern);
}

std::string WholeUnitsText(long long units) {
    Decimal d;
    d.negative = units < 0;
    d.whole = std::to_string(units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                       : static_cast<unsigned long long>(units));
    DropLeadingZeros(d.whole);
    return FormatPattern(std::move(d), Pattern::Whole);
}

Conv ParseWholeUnits(std::string_view text, long long& out) {
    out = 0;
    if (Trim(text).empty()) return Conv::Ok;
    std::optional<Decimal> d = ParseDecimal(text);
    if (!d) return Conv::NotANumber;
    RoundDecimal(*d, 0, Tie::AwayFromZero);
    if (d->whole.size() > 18) return Conv::Overflow;
    long long v = 0;
    for (char c : d->whole) v = v * 10 + (c - '0');
    out = d->negative ? -v : v;
    return Conv::Ok;
}

std::string RightAlign(std::string_view text, std::size_t width) {
    const std::size_t len = CharCount(text);
    // A value cut short would print as another figure: a full field of "#" says it did not fit.
    if (len > width) return std::string(width, '#');
    return std::string(width - len, ' ') + std::string(text);
}

}  // namespace common
