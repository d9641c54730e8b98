// Results: the figures of the results panel for a calculated analysis.
//
// Each figure is the same text as the reports print: the Summary report's patterns for
// available working capital ("$##,###,##0"), the working capital needed ("##,###,##0"), the
// excess before and after other needs ("$##,###,##0"), other reasonable needs and
// contingencies ("##,###,##0"); the Detailed Analysis report's for the cost of operations
// ("$##,###,##0"); and the comparison report's for the operating cycle in days and as a part
// of a year (the adjusted cycle of the average method, the net cycle of the peak method).
// A figure that cannot be computed shows "\u2014" (an em dash) and a reason.
#pragma once

#include <activation/Com.h>
#include <vesmora/Vesmora.h>

#include <string>
#include <vector>

namespace caldren::analysis {

// The text of a figure that cannot be computed: an em dash (UTF-8).
inline constexpr const char* kNoFigure = "\xE2\x80\x94";

struct Figure {
    std::string label;
    std::string text;    // as the report prints it, or kNoFigure
    std::string reason;  // why there is no figure ("Net Sales is zero"); empty otherwise
};

// The rows of a method, in this order.
enum MethodRow : int {
    kCycleDays,
    kCyclePart,
    kNeeded,
    kExcessBefore,
    kOtherNeeds,
    kContingencies,
    kExcess,
    kMethodRows
};

struct MethodFigures {
    bool peak = false;
    std::string title;         // "Caldren Formula - Using Peak Amounts", ...
    std::vector<Figure> rows;  // kMethodRows figures
};

// One line of the panel and the table row it stands for.
struct PanelLine {
    std::string text;     // the line as the panel shows it (no line end)
    std::string label;    // the row's label cell (empty for an empty line)
    std::string value;    // the report's text of the figure, the year end, or empty
    std::string reason;   // why the figure cannot be computed, when it cannot
    bool figure = false;  // the value is a figure
};

struct Results {
    std::string name;     // sName
    std::string line2;    // Line2
    std::string yearEnd;  // EOYCurrent
    Figure available;
    Figure costOfOperations;
    std::vector<MethodFigures> methods;  // the chosen ones: peak first, then average

    const MethodFigures* Method(bool peak) const;
    // The panel's lines: the name lines, the year end, the figures in fixed columns (label
    // in 35 characters after two blanks, value right-aligned in 12 as PanelFigure writes
    // it, a negative's closing parenthesis in the column after), a reason after the first
    // figure it stops.
    std::vector<PanelLine> Lines() const;
    // The lines as one text; lines end with "\n".
    std::string Text() const;
};

// A figure as the panel shows it, as accountants read it: a negative in parentheses
// ("($389,119)"), a figure with decimals with five of them, so that a column's decimals
// line up ("95.4694" -> "95.46940"); other texts as they are.
std::string PanelFigure(const std::string& reportText);
// The figure as a spreadsheet reads a number: no "$", no thousands commas, a leading minus
// ("-389119", "95.46940"); empty for a text that is no figure.
std::string PlainNumber(const std::string& reportText);

// The lines from `first` to `last` (inclusive, clipped) of the panel as a table for the
// clipboard: one row per line with a label and a value cell (a heading line has its label
// only), and a third cell where a figure has a reason; empty lines are left out.
//   TableText: cells separated by tabs, rows ended by "\n", values as PlainNumber writes
//              them (a spreadsheet pastes two columns of numbers);
//   TableHtml: an HTML table whose value cells show the panel's figure and carry the number
//              for spreadsheets (x:num, sdval).
std::string TableText(const std::vector<PanelLine>& lines, std::size_t first, std::size_t last);
std::string TableHtml(const std::vector<PanelLine>& lines, std::size_t first, std::size_t last);

// Why a calculation that failed gives no figures: "Net Sales is zero", "Cost of Goods Sold
// is zero" (peak method with months), else "not calculated: " and the error's text.
std::string FailureReason(const vesmora::_Caldren& calc, const activation::ComError& error,
                          bool peak);

// How the last calculation went: the methods chosen and, for each group of figures, why it
// was not computed (empty when it was).
struct Outcome {
    bool peak = false;
    bool average = false;
    std::string costReason;
    std::string availableReason;
    std::string peakReason;
    std::string averageReason;
};

// The figures of the calculated `calc` (its name lines and year end too).
Results ReadResults(const vesmora::_Caldren& calc, const Outcome& outcome);

}  // namespace caldren::analysis
