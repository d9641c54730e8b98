// Amounts and ratios: exact conversions between texts, ten-thousandths and doubles.
#include <common/Amount.h>
#include <common/TextWidth.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace common {

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

constexpr std::uint64_t kPow10[] = {1ULL,      10ULL,      100ULL,      1000ULL,     10000ULL,
                                    100000ULL, 1000000ULL, 10000000ULL, 100000000ULL};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exact rounding of x * 10^n to an integer (n in 0..8): halves to even or away from zero.
// False for NaN, infinities and magnitudes beyond about 2^100.
bool ScaledRound(double x, int n, bool halfEven, i128& out) {
    if (!std::isfinite(x)) return false;
    if (x == 0.0) {
        out = 0;
        return true;
    }
    const bool negative = x < 0;
    int e = 0;
    const double f = std::frexp(std::fabs(x), &e);                 // |x| = f * 2^e
    const auto m = static_cast<std::uint64_t>(std::ldexp(f, 53));  // exact: f has <= 53 bits
    const int exp2 = e - 53;                                       // |x| = m * 2^exp2
    const u128 num = static_cast<u128>(m) * kPow10[n];             // < 2^80
    u128 q;
    if (exp2 >= 0) {
        if (exp2 > 45) return false;
        q = num << exp2;
    } else {
        const int s = -exp2;
        if (s >= 120) {
            q = 0;  // below 2^-40: rounds to zero, never a tie
        } else {
            q = num >> s;
            const u128 rem = num - (q << s);
            const u128 half = static_cast<u128>(1) << (s - 1);
            if (rem > half || (rem == half && (!halfEven || (q & 1) != 0))) ++q;
        }
    }
    out = negative ? -static_cast<i128>(q) : static_cast<i128>(q);
    return true;
}

void AppendGrouped(std::string& s, std::uint64_t v) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v);
    (void)ec;
    const auto n = static_cast<int>(end - digits);
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) s.push_back(',');
        s.push_back(digits[i]);
    }
}

void AppendUnsigned(std::string& s, std::uint64_t v) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v);
    (void)ec;
    s.append(digits, end);
}

std::uint64_t Magnitude(std::int64_t a) {
    return a < 0 ? 0ULL - static_cast<std::uint64_t>(a) : static_cast<std::uint64_t>(a);
}

// Integer k as text with n decimals ("-0.09677" for k = -9677, n = 5).
std::string ScaledText(i128 k, int n) {
    std::string s;
    u128 mag = k < 0 ? static_cast<u128>(-k) : static_cast<u128>(k);
    if (k < 0) s.push_back('-');
    const u128 p = kPow10[n];
    const u128 whole = mag / p;
    const auto frac = static_cast<std::uint64_t>(mag % p);
    // whole fits in 64 bits for every value this is used with (|k| < 2^100 / 10^n is
    // checked by the callers through int64 limits).
    AppendUnsigned(s, static_cast<std::uint64_t>(whole));
    if (n > 0) {
        s.push_back('.');
        char buf[24];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, frac);
        (void)ec;
        s.append(static_cast<std::size_t>(n - (end - buf)), '0');
        s.append(buf, end);
    }
    return s;
}

}  // namespace

// ---- amounts --------------------------------------------------------------------------

Conv ParseAmount(std::string_view text, Amount& out) {
    std::string_view s = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    // Whole part: digits; with thousands commas, one to three digits and then groups of
    // exactly three ("7,900,00" and "1,2,3" are no amounts).
    u128 whole = 0;
    int significant = 0;  // digits of the whole part after leading zeros
    bool anyDigit = false;
    bool grouped = false;  // a thousands comma seen
    int group = 0;         // digits of the current group
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (IsDigit(c)) {
            anyDigit = true;
            ++group;
            if (significant > 0 || c != '0') {
                if (++significant <= 21) whole = whole * 10 + static_cast<unsigned>(c - '0');
            }
        } else if (c == ',') {
            if (group == 0 || (grouped ? group != 3 : group > 3)) return Conv::NotANumber;
            grouped = true;
            group = 0;
        } else {
            break;
        }
    }
    if (grouped && group != 3) return Conv::NotANumber;
    // Fraction: four digits kept, the rest decides the rounding.
    std::uint64_t frac = 0;
    int fracDigits = 0;
    int roundDigit = -1;         // fifth decimal
    bool stickyNonZero = false;  // any nonzero digit after the fifth
    if (i < s.size() && s[i] == '.') {
        ++i;
        for (; i < s.size() && IsDigit(s[i]); ++i) {
            anyDigit = true;
            const int d = s[i] - '0';
            if (fracDigits < 4) {
                frac = frac * 10 + static_cast<unsigned>(d);
                ++fracDigits;
            } else if (roundDigit < 0) {
                roundDigit = d;
            } else if (d != 0) {
                stickyNonZero = true;
            }
        }
    }
    if (i != s.size() || !anyDigit) return Conv::NotANumber;
    // Syntax is sound from here on: what remains can only overflow.
    if (significant > 20) return Conv::Overflow;
    while (fracDigits < 4) {
        frac *= 10;
        ++fracDigits;
    }
    u128 raw = whole * kAmountScale + frac;
    if (roundDigit > 5 || (roundDigit == 5 && (stickyNonZero || (raw & 1) != 0))) ++raw;
    const u128 limit = negative ? static_cast<u128>(std::numeric_limits<Amount>::max()) + 1
                                : static_cast<u128>(std::numeric_limits<Amount>::max());
    if (raw > limit) return Conv::Overflow;
    out = negative ? static_cast<Amount>(-static_cast<i128>(raw)) : static_cast<Amount>(raw);
    return Conv::Ok;
}

bool AddAmount(Amount a, Amount b, Amount& out) { return !__builtin_add_overflow(a, b, &out); }
bool SubAmount(Amount a, Amount b, Amount& out) { return !__builtin_sub_overflow(a, b, &out); }
bool MulAmountInt(Amount a, std::int64_t factor, Amount& out) {
    return !__builtin_mul_overflow(a, factor, &out);
}

bool RoundAmountToUnitHalfEven(Amount a, Amount& out) {
    Amount q = a / kAmountScale;
    const Amount r = a % kAmountScale;  // same sign as a
    const Amount absR = r < 0 ? -r : r;
    if (absR > kAmountScale / 2 || (absR == kAmountScale / 2 && (q % 2) != 0))
        q += (a < 0 ? -1 : 1);
    return MulAmountInt(q, kAmountScale, out);
}

std::string FormatWhole(Amount a) {
    Amount q = a / kAmountScale;
    const Amount r = a % kAmountScale;
    if (r >= kAmountScale / 2) ++q;
    if (r <= -kAmountScale / 2) --q;
    std::string s;
    if (q < 0) s.push_back('-');
    AppendGrouped(s, Magnitude(q));
    return s;
}

std::string FormatFixed5(Amount a) { return ScaledText(static_cast<i128>(a) * 10, 5); }

std::string PlainAmount(Amount a) {
    std::string s = ScaledText(a, 4);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

double AmountToDouble(Amount a) {
    constexpr Amount kExactLimit = Amount{1} << 53;
    if (a < kExactLimit && a > -kExactLimit)  // both operands exact: one correct rounding
        return static_cast<double>(a) / static_cast<double>(kAmountScale);
    double d = 0;
    const std::string text = PlainAmount(a);
    std::from_chars(text.data(), text.data() + text.size(), d);
    return d;
}

Conv DoubleToAmount(double x, Amount& out) {
    i128 k = 0;
    if (!ScaledRound(x, 4, /*halfEven=*/true, k)) return Conv::Overflow;
    if (k > std::numeric_limits<Amount>::max() || k < std::numeric_limits<Amount>::min())
        return Conv::Overflow;
    out = static_cast<Amount>(k);
    return Conv::Ok;
}

// ---- ratios ---------------------------------------------------------------------------

std::string RatioText(double x) {
    if (!std::isfinite(x)) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%g", x);
        return buf;
    }
    if (x == 0.0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", x);  // [-]d.dddddddddddddde[+-]XX
    std::string_view v(buf);
    std::string s;
    if (v.front() == '-') {
        s.push_back('-');
        v.remove_prefix(1);
    }
    const std::size_t ePos = v.find('e');
    std::string digits;
    digits.push_back(v[0]);
    digits.append(v.substr(2, ePos - 2));
    const int exp10 = std::atoi(std::string(v.substr(ePos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int nDigits = static_cast<int>(digits.size());
    // value = 0.d1d2d3... * 10^(exp10 + 1)
    const int pointPos = exp10 + 1;  // digits before the decimal point
    if (pointPos <= 0) {
        s += "0.";
        s.append(static_cast<std::size_t>(-pointPos), '0');
        s += digits;
    } else if (pointPos >= nDigits) {
        s += digits;
        s.append(static_cast<std::size_t>(pointPos - nDigits), '0');
    } else {
        s.append(digits, 0, static_cast<std::size_t>(pointPos));
        s.push_back('.');
        s.append(digits, static_cast<std::size_t>(pointPos), std::string::npos);
    }
    return s;
}

bool ParseRatio(std::string_view text, double& out) {
    std::string_view s = Trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    double v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size()) return false;
    out = v;
    return true;
}

double RoundHalfEven(double x, int decimals) {
    i128 k = 0;
    if (ScaledRound(x, decimals, /*halfEven=*/true, k) && k < (static_cast<i128>(1) << 53) &&
        k > -(static_cast<i128>(1) << 53)) {
        // Both operands exact: the quotient is the double nearest to k / 10^n.
        return static_cast<double>(static_cast<std::int64_t>(k)) /
               static_cast<double>(kPow10[decimals]);
    }
    if (!std::isfinite(x)) return x;
    // Large magnitudes: printf rounds the exact value, ties to even.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    return std::strtod(buf, nullptr);
}

std::string FormatRatio5(double x) {
    i128 k = 0;
    if (ScaledRound(x, 5, /*halfEven=*/false, k) && k <= std::numeric_limits<std::int64_t>::max() &&
        k >= -std::numeric_limits<std::int64_t>::max())
        return ScaledText(k, 5);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.5f", x);
    return buf;
}

}  // namespace common
