#include "Results.h"

#include "Inputs.h"

#include <FigureChange.h>
#include <ReportCompare.h>
#include <Reports.h>

#include <algorithm>
#include <optional>

namespace caldren::analysis {

using C = vesmora::_Caldren;

namespace {

constexpr std::size_t kLabelWidth = 35;
constexpr int kPanelDecimals = 5;  // the most a day count or a part of a year has

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

std::vector<PanelLine> Results::Lines() const {
    std::vector<PanelLine> lines;
    std::string lastReason;
    auto text = [&](const std::string& label, const std::string& value = {}) {
        lines.push_back(
            {"  " + label + (value.empty() ? "" : " " + value), label, value, {}, false});
    };
    auto row = [&](const Figure& f) {
        const std::string shown = PanelFigure(f.text);
        const bool hanging = !shown.empty() && shown.back() == ')';
        std::string line =
            "  " + Reports::PadRight(f.label, kLabelWidth) +
            Reports::RightAlign(hanging ? shown.substr(0, shown.size() - 1) : shown, 12) +
            (hanging ? ")" : "");
        if (!f.reason.empty() && f.reason != lastReason) line += "  " + f.reason;
        if (!f.reason.empty()) lastReason = f.reason;
        lines.push_back({line, f.label, f.text, f.reason, true});
    };
    if (!name.empty()) text(name);
    if (!line2.empty()) text(line2);
    text("Year Ending", yearEnd);
    lines.emplace_back();
    row(available);
    row(costOfOperations);
    if (methods.empty()) {
        lines.emplace_back();
        text("No method is chosen.");
    }
    for (const MethodFigures& m : methods) {
        lines.emplace_back();
        text(m.title);
        lastReason.clear();
        for (const Figure& f : m.rows) row(f);
    }
    return lines;
}

std::string Results::Text() const {
    std::string s;
    for (const PanelLine& line : Lines()) s += line.text + "\n";
    return s;
}

std::string PanelFigure(const std::string& reportText) {
    const std::optional<Reports::PrintedFigure> f = Reports::ReadPrintedFigure(reportText);
    if (!f) return reportText;
    return Reports::PrintFigure(*f, f->decimals > 0 ? kPanelDecimals : 0, true);
}

std::string PlainNumber(const std::string& reportText) {
    std::optional<Reports::PrintedFigure> f = Reports::ReadPrintedFigure(reportText);
    if (!f) return {};
    f->dollars = false;
    std::string text = Reports::PrintFigure(*f, f->decimals > 0 ? kPanelDecimals : 0, false);
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    return text;
}

namespace {

std::string Html(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The lines [first, last] that hold something.
template <class Fn>
void ForRows(const std::vector<PanelLine>& lines, std::size_t first, std::size_t last, Fn&& fn) {
    for (std::size_t i = first; i <= last && i < lines.size(); ++i)
        if (!lines[i].label.empty()) fn(lines[i]);
}

}  // namespace

std::string TableText(const std::vector<PanelLine>& lines, std::size_t first, std::size_t last) {
    std::string s;
    ForRows(lines, first, last, [&](const PanelLine& l) {
        const std::string number = l.figure ? PlainNumber(l.value) : std::string();
        const std::string& value = number.empty() ? l.value : number;
        s += l.label + (value.empty() && l.reason.empty() ? "" : "\t" + value) +
             (l.reason.empty() ? "" : "\t" + l.reason) + "\n";
    });
    return s;
}

std::string TableHtml(const std::vector<PanelLine>& lines, std::size_t first, std::size_t last) {
    std::string s = "<meta charset=\"utf-8\">\n<table>\n";
    ForRows(lines, first, last, [&](const PanelLine& l) {
        const std::string number = l.figure ? PlainNumber(l.value) : std::string();
        s += "<tr><td>" + Html(l.label) + "</td>";
        if (number.empty())
            s += "<td>" + Html(l.value) + "</td>";
        else
            s += "<td align=\"right\" x:num=\"" + number + "\" sdval=\"" + number + "\">" +
                 Html(PanelFigure(l.value)) + "</td>";
        if (!l.reason.empty()) s += "<td>" + Html(l.reason) + "</td>";
        s += "</tr>\n";
    });
    return s + "</table>\n";
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
