// FigureChange: figures as the reports print them, read back exactly, and the change from
// one year's figure to the next. The comparison of years prints the change under each
// figure; the results panel lays the same figures out as accountants read them.
//
// A printed figure is an optional "-", an optional "$", digits with thousands commas, an
// optional point and decimals ("$1,234", "-$93,256", "156,744", "95.4694", "0.26156"). It
// is read without rounding: the change of two printed figures is the difference of what
// was printed, so a column of changes foots with the columns it stands between.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Reports {

struct PrintedFigure {
    long long scaled = 0;  // the value in units of the last decimal printed
    int decimals = 0;      // 0 to 5
    bool dollars = false;  // printed with "$"
};

// The printed figure; empty for a text that is no figure ("", "Not chosen", "—") or that
// has more than 13 digits or 5 decimals.
std::optional<PrintedFigure> ReadPrintedFigure(std::string_view text);

// A figure laid out: `decimals` decimals (padded with zeros, never rounded: at least as
// many as it has), thousands commas in a whole number, "$" when it had one. A negative
// value is written in parentheses when `parentheses` ("($389,119)"), else with a leading
// minus ("-$389,119"); `plus` puts "+" before a positive value. Zero has no sign.
std::string PrintFigure(const PrintedFigure& figure, int decimals, bool parentheses,
                        bool plus = false);

// The change from `before` to `after` (two figures printed with the same pattern).
struct FigureChangeText {
    std::string amount;   // the difference as they are printed, signed: "+$25,000", "-0.07496",
                          // "$0"
    std::string percent;  // of the earlier figure's size, two decimals: "+10.00%", "-3.41%",
                          // "0.00%"; "n/m" (not meaningful) when the earlier one is zero
                          // and the later one is not
};
// Empty texts when either is no figure.
FigureChangeText FigureChange(std::string_view before, std::string_view after);

}  // namespace Reports
