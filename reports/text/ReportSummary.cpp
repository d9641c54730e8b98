// ReportSummary: the Summary report, one page with one value column per method.
#include "Layout.h"
#include "Reports.h"

namespace Reports {

using namespace layout;

namespace {

// Lines 8 to 20 of the one-method layouts (value field in columns 37 to 48).
std::string OneColumnBody(const vesmora::_Caldren& calc, bool peak) {
    const std::string rule = Blanks(35) + Repeat('-', 14);
    std::string s;
    s += Line(rule);
    s += Line("  " + PadRight("Available Working Captial", 35) +
              F(FormatDollars(calc.get_AvailableWC())));
    s += Line("  Working Capital Needed");
    s += Line("  " + PadRight(" For Business Cycle", 35) +
              F(FormatAmount(peak ? calc.get_NeededWCPeak() : calc.get_NeededWCAve())));
    s += Line(rule);
    s += Line("  Working Capital In Excess Of What");
    s += Line("  " + PadRight(" Is Needed For A Business Cycle", 35) +
              F(FormatDollars(peak ? calc.get_ExcessPreContingencyWCPeak()
                                   : calc.get_ExcessPreContingencyWCAve())));
    s += Line("");
    s += Line("  " + PadRight("Less, Other Reasonable Needs", 35) +
              F(FormatAmount(calc.get_Reasonableneeds())));
    s += Line("  " + PadRight("Less, Contingencies", 35) +
              F(FormatAmount(calc.get_Contingencies())));
    s += Line(rule);
    s += Line("  " + PadRight("Excess Working Capital", 35) +
              F(FormatDollars(peak ? calc.get_ExcessWCPeak() : calc.get_ExcessWCAve())));
    s += Blanks(35) + Repeat('=', 14);  // no line end
    return s;
}

}  // namespace

void BuildSummReport(const vesmora::_Caldren& calc, ReportSink& sink,
                     const std::string& currentFile) {
    ReportStart start;
    start.kind = ReportKind::Summary;
    start.caption = "Summary Report - " + currentFile;
    const std::string eoy = calc.get_EOYCurrent();
    start.headings.h1 = calc.get_sName();
    start.headings.h2 = calc.get_Line2();
    start.headings.h3 = std::string("Summary") + kCrLf + kCrLf + "  Year Ending " + eoy;
    const ReportHeadings& h = start.headings;
    sink.BeginReport(start);

    if (auto months = calc.get_colMonths()) months->FillFiscalMonth(eoy);

    const bool ave = calc.get_DoAveCycle();
    const bool peak = calc.get_DoPeakCycle();
    if (ave && peak) {
        const std::string rule = Blanks(38) + Repeat('-', 13) + Blanks(6) + Repeat('-', 13);
        auto two = [](const std::string& a, const std::string& b) {
            return F(a) + Blanks(7) + F(b);
        };
        const std::string available = FormatDollars(calc.get_AvailableWC());
        const std::string needs = FormatAmount(calc.get_Reasonableneeds());
        const std::string contingencies = FormatAmount(calc.get_Contingencies());
        std::string s;
        s += Line(Blanks(53) + "       Caldren");
        s += Line(Blanks(53) + "       Formula");
        s += Line(Blanks(53) + "       Modified");
        s += Line(Blanks(53) + "          By");
        s += Line(Blanks(41) + "Caldren" + Blanks(13) + "Empire");
        s += Line(Blanks(41) + "Formula" + Blanks(13) + "Steel");
        s += Line(rule);
        s += Line("  " + PadRight("Availablable Working Capital", 37) + two(available, available));
        s += Line("  Working Capital Needed");
        s += Line("  " + std::string(" For Business Cycle") + Blanks(18) +
                  two(FormatAmount(calc.get_NeededWCPeak()), FormatAmount(calc.get_NeededWCAve())));
        s += Line(rule);
        s += Line("");
        s += Line("  Working Capital in Excess of What");
        s += Line("  " + PadRight(" is needed for business cycle", 37) +
                  two(FormatDollars(calc.get_ExcessPreContingencyWCPeak()),
                      FormatDollars(calc.get_ExcessPreContingencyWCAve())));
        s += Line("");
        s += Line("  Less, Other Reasonable Needs" + Blanks(9) + two(needs, needs));
        s += Line("  Less, Contingencies" + Blanks(18) + two(contingencies, contingencies));
        sink.PrintOrDisplay(s, 18, h);

        std::string t;
        t += Line(Blanks(38) + Repeat('-', 13) + Blanks(7) + Repeat('-', 12));
        t += Line(
            "  Excess Working Capital" + Blanks(15) +
            two(FormatDollars(calc.get_ExcessWCPeak()), FormatDollars(calc.get_ExcessWCAve())));
        t += Blanks(38) + Repeat('=', 13) + Blanks(7) + Repeat('=', 12);  // no line end
        sink.PrintOrDisplay(t, 2, h);
    } else if (ave) {
        std::string s;
        s += Line(Blanks(40) + "Caldren");
        s += Line(Blanks(40) + "Formula");
        s += Line(Blanks(40) + "Modified");
        s += Line(Blanks(42) + "By");
        s += Line(Blanks(41) + "Empire");
        s += Line(Blanks(41) + "Steel");
        s += Line(Blanks(40) + "Castings");
        s += OneColumnBody(calc, false);
        sink.PrintOrDisplay(s, 20, h);
    } else if (peak) {
        std::string s;
        s += Line(Blanks(40) + "Caldren");
        s += Line(Blanks(40) + "Formula");
        s += OneColumnBody(calc, true);
        sink.PrintOrDisplay(s, 15, h);
    }
    sink.EndReport();
}

}  // namespace Reports
