#include "Results.h"

#include "Inputs.h"

#include <ReportCompare.h>
#include <Reports.h>

namespace caldren::analysis {

using C = vesmora::_Caldren;

namespace {

constexpr std::size_t kLabelWidth = 35;

Figure Make(const char* label, const std::string& reason, std::string (*format)(std::string_view),
            const C& calc, std::string (C::*get)() const) {
    if (!reason.empty()) return Figure{label, kNoFigure, reason};
    return Figure{label, format((calc.*get)()), {}};
}

std::string Days(std::string_view ratio) { return Reports::RatioAsDays(std::string(ratio)); }

MethodFigures Method(const C& calc, bool peak, const std::string& reason) {
    using namespace Reports;
    MethodFigures m;
    m.peak = peak;
    m.title = peak ? "Caldren Formula - Using Peak Amounts"
                   : "Caldren Formula Modified By Empire Steel Castings";
    if (peak) {
        m.rows.push_back(
            Make("Net Operating Cycle - Days", reason, Days, calc, &C::get_NetOperatingCycle));
        m.rows.push_back(Make("Net Operating Cycle - Part Of Year", reason, FormatRatio, calc,
                              &C::get_NetOperatingCycle));
        m.rows.push_back(
            Make("Working Capital Needed", reason, FormatAmount, calc, &C::get_NeededWCPeak));
        m.rows.push_back(Make("Excess Before Other Needs", reason, FormatDollars, calc,
                              &C::get_ExcessPreContingencyWCPeak));
    } else {
        m.rows.push_back(Make("Adj. Operating Cycle - Days", reason, FormatDays, calc,
                              &C::get_OperatingCycleAdjDaysAve));
        m.rows.push_back(Make("Adj. Operating Cycle - Part Of Year", reason, FormatRatio, calc,
                              &C::get_AdjOperatingCycleAve));
        m.rows.push_back(
            Make("Working Capital Needed", reason, FormatAmount, calc, &C::get_NeededWCAve));
        m.rows.push_back(Make("Excess Before Other Needs", reason, FormatDollars, calc,
                              &C::get_ExcessPreContingencyWCAve));
    }
    // Other needs and contingencies are inputs: shown even when the method has no figures.
    m.rows.push_back(
        Make("Less, Other Reasonable Needs", {}, FormatAmount, calc, &C::get_Reasonableneeds));
    m.rows.push_back(Make("Less, Contingencies", {}, FormatAmount, calc, &C::get_Contingencies));
    m.rows.push_back(Make("Excess Working Capital", reason, FormatDollars, calc,
                          peak ? &C::get_ExcessWCPeak : &C::get_ExcessWCAve));
    return m;
}

}  // namespace

const MethodFigures* Results::Method(bool peak) const {
    for (const MethodFigures& m : methods)
        if (m.peak == peak) return &m;
    return nullptr;
}

std::string Results::Text() const {
    std::string s;
    std::string lastReason;
    auto row = [&](const Figure& f) {
        std::string line =
            "  " + Reports::PadRight(f.label, kLabelWidth) + Reports::RightAlign(f.text, 12);
        if (!f.reason.empty() && f.reason != lastReason) line += "  " + f.reason;
        if (!f.reason.empty()) lastReason = f.reason;
        s += line + "\n";
    };
    if (!name.empty()) s += "  " + name + "\n";
    if (!line2.empty()) s += "  " + line2 + "\n";
    s += "  Year Ending " + yearEnd + "\n\n";
    row(available);
    row(costOfOperations);
    if (methods.empty()) s += "\n  No method is chosen.\n";
    for (const MethodFigures& m : methods) {
        s += "\n  " + m.title + "\n";
        lastReason.clear();
        for (const Figure& f : m.rows) row(f);
    }
    return s;
}

std::string FailureReason(const C& calc, const activation::ComError& error, bool peak) {
    if (WholeUnits(calc.get_NetSales()) == 0) return "Net Sales is zero";
    auto months = calc.get_colMonths();
    if (peak && WholeUnits(calc.get_COGS()) == 0 && months && months->get_Count() > 0)
        return "Cost of Goods Sold is zero";
    return "not calculated: " + Reports::CompareFailureText(error);
}

Results ReadResults(const C& calc, const Outcome& outcome) {
    Results r;
    r.name = calc.get_sName();
    r.line2 = calc.get_Line2();
    r.yearEnd = calc.get_EOYCurrent();
    r.available = Make("Available Working Capital", outcome.availableReason, Reports::FormatDollars,
                       calc, &C::get_AvailableWC);
    r.costOfOperations = Make("Cost Of Operations", outcome.costReason, Reports::FormatDollars,
                              calc, &C::get_CostOfOperations);
    if (outcome.peak) r.methods.push_back(Method(calc, true, outcome.peakReason));
    if (outcome.average) r.methods.push_back(Method(calc, false, outcome.averageReason));
    return r;
}

}  // namespace caldren::analysis
