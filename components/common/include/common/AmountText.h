// AmountText: amounts as accountants write them, turned into the engine's plain form.
//
// One syntax for every place where a person types or pastes an amount: the fields of the
// input form, the cells of the monthly grid, and months pasted from a spreadsheet.
//
//   8420000   8,420,000   $8,420,000   8,420,000.50   .5   -50,000   -$50,000   $-50,000
//   (50,000)  ($50,000)   ( 5 )         blanks (also no-break spaces) around the whole
//
// Thousands commas only in the whole part, between groups of three digits (the first
// group one to three digits); at most one sign and one dollar sign before the digits; a
// negative either with a minus sign or in parentheses, not both. No exponent, no percent
// sign, no blanks between digits. The engine receives the plain form: "-50000",
// "1234.50" (the fraction as written, leading zeros of the whole part dropped, no sign
// on zero). Whether the value fits an amount is the engine's decision.
//
// The value is read once into a Decimal (Amount.h); the plain form is written from it.
#pragma once

#include <common/Amount.h>

#include <optional>
#include <string>
#include <string_view>

namespace common::AmountText {

// The plain form of a complete amount; the empty (or blank) text is "0". Empty optional
// when the text is not an amount.
std::optional<std::string> Normalize(std::string_view text);
// The engine's plain form of a value: "-50000", "1234.50", "0" (no sign on zero).
std::string PlainText(const Decimal& value);

// A text as it stands while it is being typed, one key at a time.
enum class Typing {
    Complete,  // an amount as it is ("8,420", "($5)", "12.")
    Prefix,    // not yet, but more keys can make it one ("8,", "$", "(", "($5", "-$", "12,34")
    Invalid,   // no further key makes it an amount ("8,7600", "1.25e", "12a", "(-5")
};

struct Partial {
    Typing state = Typing::Invalid;
    // The value typed so far, in plain form, when there is one: the amount itself, or for a
    // prefix that only lacks its closing parenthesis the amount it already shows ("($5" ->
    // "-5"). Nothing for "8,", "$", "(" and the like.
    std::optional<std::string> value;
};

Partial WhileTyping(std::string_view text);

}  // namespace common::AmountText
