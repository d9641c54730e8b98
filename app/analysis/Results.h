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

struct Results {
    std::string name;     // sName
    std::string line2;    // Line2
    std::string yearEnd;  // EOYCurrent
    Figure available;
    Figure costOfOperations;
    std::vector<MethodFigures> methods;  // the chosen ones: peak first, then average

    const MethodFigures* Method(bool peak) const;
    // The panel's text: the name lines, the year end, the figures in fixed columns (label
    // in 35 characters after two blanks, value right-aligned in 12), a reason after the
    // first figure it stops. Lines end with "\n".
    std::string Text() const;
};

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
