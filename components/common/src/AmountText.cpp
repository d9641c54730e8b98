// AmountText: one left-to-right scan serves both questions, "is this an amount?" and "can
// more keys still make it one?": every state the scan can stop in without a refusal can
// be completed (a digit, three digits of a group, a closing parenthesis).
#include <common/AmountText.h>

namespace common::AmountText {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the blank at s[i]: a space, a tab or a no-break space (UTF-8 C2 A0); else 0.
std::size_t BlankAt(std::string_view s, std::size_t i) {
    if (s[i] == ' ' || s[i] == '\t') return 1;
    if (s[i] == '\xC2' && i + 1 < s.size() && s[i + 1] == '\xA0') return 2;
    return 0;
}

struct Scan {
    Typing state = Typing::Invalid;
    bool digits = false;     // at least one digit
    bool openParen = false;  // "(" without its ")" yet
    Decimal value;           // the digits as typed (leading zeros dropped by PlainText)
};

Scan Run(std::string_view s) {
    enum class Stage { Lead, Symbols, Whole, Fraction, After };
    Scan r;
    Scan invalid;
    Stage stage = Stage::Lead;
    bool paren = false, closed = false, sign = false, dollar = false;
    bool grouped = false;  // a thousands comma seen
    int group = 0;         // digits of the current group of the whole part
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        const std::size_t blank = BlankAt(s, i);
        switch (stage) {
            case Stage::Lead:
                if (blank) {
                    i += blank;
                } else if (c == '(') {
                    paren = true;
                    ++i;
                    stage = Stage::Symbols;
                } else {
                    stage = Stage::Symbols;
                }
                break;
            case Stage::Symbols:
                if (blank) {
                    i += blank;
                } else if (c == '-' || c == '+') {
                    // One sign, and none inside accounting parentheses.
                    if (sign || paren) return invalid;
                    sign = true;
                    r.value.negative = c == '-';
                    ++i;
                } else if (c == '$') {
                    if (dollar) return invalid;
                    dollar = true;
                    ++i;
                } else if (IsDigit(c) || c == '.') {
                    stage = Stage::Whole;
                } else {
                    return invalid;
                }
                break;
            case Stage::Whole:
                if (IsDigit(c)) {
                    if (grouped && group == 3) return invalid;
                    r.value.whole += c;
                    r.digits = true;
                    ++group;
                    ++i;
                } else if (c == ',') {
                    // The first group has one to three digits, every later one three.
                    if (group == 0 || (grouped ? group != 3 : group > 3)) return invalid;
                    grouped = true;
                    group = 0;
                    ++i;
                } else {
                    if (grouped && group != 3) return invalid;
                    if (c == '.') {
                        stage = Stage::Fraction;
                        ++i;
                    } else {
                        stage = Stage::After;
                    }
                }
                break;
            case Stage::Fraction:
                if (IsDigit(c)) {
                    r.value.frac += c;
                    r.digits = true;
                    ++i;
                } else {
                    stage = Stage::After;
                }
                break;
            case Stage::After:
                if (!r.digits) return invalid;  // "." followed by anything but digits
                if (blank) {
                    i += blank;
                } else if (c == ')' && paren && !closed) {
                    closed = true;
                    ++i;
                } else {
                    return invalid;
                }
                break;
        }
    }
    if (paren) r.value.negative = true;
    r.openParen = paren && !closed;
    const bool groupOpen = stage == Stage::Whole && grouped && group != 3;
    r.state = r.digits && !groupOpen && !r.openParen ? Typing::Complete : Typing::Prefix;
    return r;
}

}  // namespace

std::string PlainText(const Decimal& value) {
    std::string whole = value.whole;
    const std::size_t nonZero = whole.find_first_not_of('0');
    whole = nonZero == std::string::npos ? "0" : whole.substr(nonZero);
    std::string out = value.negative && !value.IsZero() ? "-" : "";
    out += whole;
    if (!value.frac.empty()) out += "." + value.frac;
    return out;
}

std::optional<std::string> Normalize(std::string_view text) {
    const Scan r = Run(text);
    if (r.state == Typing::Complete) return PlainText(r.value);
    // Nothing but blanks: an empty cell.
    if (r.state == Typing::Prefix && !r.digits &&
        text.find_first_not_of(" \t\xC2\xA0") == std::string_view::npos)
        return std::string("0");
    return std::nullopt;
}

Partial WhileTyping(std::string_view text) {
    const Scan r = Run(text);
    Partial p;
    p.state = r.state;
    if (r.state == Typing::Complete) {
        p.value = PlainText(r.value);
    } else if (r.state == Typing::Prefix && r.digits && r.openParen) {
        // Everything but the closing parenthesis: is the rest complete?
        const Scan closed = Run(std::string(text) + ")");
        if (closed.state == Typing::Complete) p.value = PlainText(closed.value);
    }
    return p;
}

}  // namespace common::AmountText
