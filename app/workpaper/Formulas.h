// Formulas: the program's rounding steps written as spreadsheet formulas.
//
// The program rounds the exact binary value of a figure: a half goes to the even neighbour
// in its calculations and away from zero where it shows a ratio to five decimals. A
// spreadsheet's ROUND looks at fifteen decimal digits instead, so a figure that is a half
// in decimal (0.096775 = 60,000.5 / 620,000) but a hair below it in binary would round up
// there and down in the program. Round() decides as the program does: it splits the value
// into a high part of 25 bits and the rest (both products with the scale are then exact)
// and compares the two halves of value x 2 x 10^n - (2k + 1), which a spreadsheet compares
// exactly because they are far apart from each other relative to their difference.
#pragma once

#include <string>

namespace workpaper::Formulas {

enum class Tie { Even, AwayFromZero };

// `cell` rounded to `decimals` places (0..8) on its exact binary value. `cell` is a cell
// reference or a name: it is repeated in the formula.
std::string Round(const std::string& cell, int decimals, Tie tie);

// `cell` as the program stores a ratio: its text of fifteen significant digits, read back.
std::string Fifteen(const std::string& cell);

// An amount as the program uses it: kept to four decimals (a fifth decimal of five rounds
// the fourth to even), then whole units, halves away from zero. Exact for entries of up to
// six decimals (an entry is decimal, not binary).
std::string WholeUnits(const std::string& cell);

// The power of two that scales `cell` to 24 binary digits (single precision), or 1 for 0.
std::string SingleScale(const std::string& cell);
// `cell` rounded to single precision with its scale (SingleScale) in `scaleCell`.
std::string Single(const std::string& cell, const std::string& scaleCell);

}  // namespace workpaper::Formulas
