// ReportSummary: the Summary report, one page with one value column per method.
#include "ReportWriter.h"

namespace Reports {

namespace {

// The body's first chunk is paged as one line more than the line ends it holds (18 for
// 17, 20 for 19, 15 for 14); the printed page breaks have always depended on it.
constexpr int kFirstChunkExtraLine = 1;

// Two value fields: the peak column, 7 blanks, the average column.
std::string TwoFields(const std::string& peak, const std::string& average) {
    return ValueField(peak) + Blanks(7) + ValueField(average);
}

// Both methods, lines 1 to 17: the column titles down to the contingencies.
std::string TwoColumnFigures(const vesmora::_Caldren& calc, Wording wording) {
    const std::string rule = Blanks(38) + Repeat('-', 13) + Blanks(6) + Repeat('-', 13);
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
    s += Line(
        "  " +
        PadRight(Worded(wording, "Availablable Working Capital", "Available Working Capital"), 37) +
        TwoFields(available, available));
    s += Line("  Working Capital Needed");
    s += Line(
        "  " + std::string(" For Business Cycle") + Blanks(18) +
        TwoFields(FormatAmount(calc.get_NeededWCPeak()), FormatAmount(calc.get_NeededWCAve())));
    s += Line(rule);
    s += Line("");
    s += Line("  Working Capital in Excess of What");
    s += Line("  " + PadRight(" is needed for business cycle", 37) +
              TwoFields(FormatDollars(calc.get_ExcessPreContingencyWCPeak()),
                        FormatDollars(calc.get_ExcessPreContingencyWCAve())));
    s += Line("");
    s += Line("  Less, Other Reasonable Needs" + Blanks(9) + TwoFields(needs, needs));
    s += Line("  Less, Contingencies" + Blanks(18) + TwoFields(contingencies, contingencies));
    return s;
}

// Both methods, lines 18 to 20: the excess working capital between its rules.
std::string TwoColumnExcess(const vesmora::_Caldren& calc) {
    std::string s;
    s += Line(Blanks(38) + Repeat('-', 13) + Blanks(7) + Repeat('-', 12));
    s += Line(
        "  Excess Working Capital" + Blanks(15) +
        TwoFields(FormatDollars(calc.get_ExcessWCPeak()), FormatDollars(calc.get_ExcessWCAve())));
    s += Blanks(38) + Repeat('=', 13) + Blanks(7) + Repeat('=', 12);  // no line end
    return s;
}

// Lines 8 to 20 of the one-method layouts (value field in columns 37 to 48).
std::string OneColumnFigures(const vesmora::_Caldren& calc, bool peak, Wording wording) {
    const std::string rule = Blanks(35) + Repeat('-', 14);
    std::string s;
    s += Line(rule);
    s += Line(
        "  " +
        PadRight(Worded(wording, "Available Working Captial", "Available Working Capital"), 35) +
        ValueField(FormatDollars(calc.get_AvailableWC())));
    s += Line("  Working Capital Needed");
    s += Line("  " + PadRight(" For Business Cycle", 35) +
              ValueField(FormatAmount(peak ? calc.get_NeededWCPeak() : calc.get_NeededWCAve())));
    s += Line(rule);
    s += Line("  Working Capital In Excess Of What");
    s += Line("  " + PadRight(" Is Needed For A Business Cycle", 35) +
              ValueField(FormatDollars(peak ? calc.get_ExcessPreContingencyWCPeak()
                                            : calc.get_ExcessPreContingencyWCAve())));
    s += Line("");
    s += Line("  " + PadRight("Less, Other Reasonable Needs", 35) +
              ValueField(FormatAmount(calc.get_Reasonableneeds())));
    s += Line("  " + PadRight("Less, Contingencies", 35) +
              ValueField(FormatAmount(calc.get_Contingencies())));
    s += Line(rule);
    s += Line("  " + PadRight("Excess Working Capital", 35) +
              ValueField(FormatDollars(peak ? calc.get_ExcessWCPeak() : calc.get_ExcessWCAve())));
    s += Blanks(35) + Repeat('=', 14);  // no line end
    return s;
}

// The average method alone: its seven title lines over the figures.
std::string AverageColumn(const vesmora::_Caldren& calc, Wording wording) {
    std::string s;
    s += Line(Blanks(40) + "Caldren");
    s += Line(Blanks(40) + "Formula");
    s += Line(Blanks(40) + "Modified");
    s += Line(Blanks(42) + "By");
    s += Line(Blanks(41) + "Empire");
    s += Line(Blanks(41) + "Steel");
    s += Line(Blanks(40) + "Castings");
    return s + OneColumnFigures(calc, false, wording);
}

// The peak method alone: its two title lines over the figures.
std::string PeakColumn(const vesmora::_Caldren& calc, Wording wording) {
    std::string s;
    s += Line(Blanks(40) + "Caldren");
    s += Line(Blanks(40) + "Formula");
    return s + OneColumnFigures(calc, true, wording);
}

}  // namespace

ReportStart SummaryStart(const vesmora::_Caldren& calc, const std::string& currentFile) {
    ReportStart start;
    start.kind = ReportKind::Summary;
    start.caption = "Summary Report - " + currentFile;
    const std::string eoy = calc.get_EOYCurrent();
    start.headings.h1 = calc.get_sName();
    start.headings.h2 = calc.get_Line2();
    start.headings.h3 = std::string("Summary") + kCrLf + kCrLf + "  Year Ending " + eoy;
    return start;
}

void WriteSummaryBody(const vesmora::_Caldren& calc, ReportWriter& report, Wording wording) {
    const bool ave = calc.get_DoAveCycle();
    const bool peak = calc.get_DoPeakCycle();
    if (ave && peak) {
        report.Send(TwoColumnFigures(calc, wording), kFirstChunkExtraLine);
        report.Send(TwoColumnExcess(calc));
    } else if (ave) {
        report.Send(AverageColumn(calc, wording), kFirstChunkExtraLine);
    } else if (peak) {
        report.Send(PeakColumn(calc, wording), kFirstChunkExtraLine);
    }
}

void BuildSummReport(const vesmora::_Caldren& calc, ReportSink& sink,
                     const std::string& currentFile, Wording wording) {
    ReportWriter report(sink, SummaryStart(calc, currentFile));
    WriteSummaryBody(calc, report, wording);
    report.End();
}

}  // namespace Reports
