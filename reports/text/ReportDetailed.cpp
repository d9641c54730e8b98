// ReportDetailed: the Detailed Analysis report, the worksheet behind the Summary.
#include "Layout.h"
#include "Reports.h"

namespace Reports {

using namespace layout;

namespace {

// "  " + label padded to `width` + value field: the labelled lines of every section.
std::string Labelled(const char* label, std::size_t width, const std::string& formatted) {
    return Line("  " + PadRight(label, width) + F(formatted));
}

std::string Last4(const std::string& s) { return s.size() >= 4 ? s.substr(s.size() - 4) : s; }

}  // namespace

void BuildDetailReport(const vesmora::_Caldren& calc, ReportSink& sink,
                       const std::string& currentFile) {
    if (auto months = calc.get_colMonths()) months->FillFiscalMonth(calc.get_EOYCurrent());

    ReportStart start;
    start.kind = ReportKind::Detailed;
    start.caption = "Detailed Analysis Report - " + currentFile;
    start.headings.h1 = calc.get_sName();
    start.headings.h2 = calc.get_Line2();
    start.headings.h3 = "Available Working Capital";
    const ReportHeadings& h = start.headings;
    sink.BeginReport(start);

    const std::string eoyNext = calc.get_EOYNxtYr();
    const std::string rule39 = Line(Blanks(39) + Repeat('-', 12));
    const std::string double39 = Line(Blanks(39) + Repeat('=', 12));

    // Section A: available working capital.
    {
        std::string s;
        s += Line("");
        s += Line("  Year Ending " + eoyNext);
        s += Line("  Available Working Capital" + Blanks(12) +
                  F(FormatDollars(calc.get_CurAssets())));
        s += Labelled("Investment Securities", 37, FormatAmount(calc.get_Securities()));
        s += Labelled("Note Receivable (From Shareholder)", 37,
                      FormatAmount(calc.get_NotesFromShareholders()));
        s += Labelled("Current Liabilities", 37, FormatSubtracted(calc.get_CurLiab()));
        s += Line("  Other Adjustments to Available");
        s += Labelled(" Working Capital", 37, FormatAmount(calc.get_OtherWorkCapAdj()));
        s += rule39;
        s += Labelled("Available Working Capital", 37, FormatDollars(calc.get_AvailableWC()));
        s += double39;
        s += Line("");
        s += Line("");
        sink.PrintOrDisplay(s, 13, h);
    }
    // Section B: operating expenses.
    {
        std::string s;
        s += Labelled("Operating Expenses For Next Year", 37,
                      FormatDollars(calc.get_OperatingExpNxtYr()));
        s += Labelled("Plus, COGS For Next Year", 37, FormatAmount(calc.get_COGSNxtYr()));
        s += Labelled("Less, Depreciation For Next Year", 37,
                      FormatSubtracted(calc.get_DeprecNxtYr()));
        s +=
            Labelled("Plus, Estimated Tax For Next Year", 37, FormatAmount(calc.get_IncTaxNxtYr()));
        s += Line("  Other Adjustments To");
        s += Labelled(" Cost Of Operations", 37, FormatAmount(calc.get_OtherCostAdjNxtYr()));
        s += rule39;
        s += Labelled("Operating Expenses As Adj.", 37, FormatDollars(calc.get_CostOfOperations()));
        s += double39;
        s += Line("");
        sink.PrintOrDisplay(s, 9, h);
    }

    const bool peak = calc.get_DoPeakCycle();
    const bool ave = calc.get_DoAveCycle();
    auto pageStep = [&] {
        sink.PrintOrDisplay("", 1, h);
        sink.PrintOrDisplay("", kNewPage, h);
    };

    if (peak && calc.get_DoPeakUseSalesAndPurch()) {
        // Section C: peak title.
        std::string c;
        c += Line("");
        c += Line("  Caldren Formula - Using Peak Amounts");
        c += Line("  Year Ending " + eoyNext);
        c += Line("");
        c += Line("  Gross Profit Percent  " + calc.get_GrossProfitPercent() + "%");
        c += Line("");
        sink.PrintOrDisplay(c, 6, h);
        // Section D: monthly inventory.
        std::string d;
        d += Line("  Computation of Monthly Inventory:");
        d += Line("");
        d += Line(std::string("  ") + "                Sales" + "     Purchases" +
                  "       Inventory");
        d += Line(Blanks(13) + Repeat('-', 40));
        sink.PrintOrDisplay(d, 4, h);
        bool first = true;
        ForEachMonth(calc, [&](vesmora::_Monthly& m) {
            auto fmt = first ? FormatDollars : FormatAmount;
            first = false;
            const std::string date = FormatDate(m.get_MonthDate());
            sink.PrintOrDisplay(
                Line("  " + MonthName(date) + " " + YearOf(date) + " " + F(fmt(m.get_Sales())) +
                     "  " + F(fmt(m.get_Purchases())) + "    " + F(fmt(m.get_Inventory()))),
                1, h);
        });
    }

    if (peak) {
        pageStep();
        // Section E: operating cycles.
        std::string e;
        e += Line("");
        e += Line("");
        e += Line("  Next Year's (" + Last4(eoyNext) + ") Operating Cycles:");
        e += Line("");
        e += Line(std::string("               Decimal") + "         Decimal");
        e += Line(std::string("               Part Of") + "         Part Of");
        e += Line(std::string("                Year") + "            Year");
        e += Line(std::string("              Inventory") + "      Receivables" + "    Operating");
        e += Line(std::string("                Cycle") + "           Cycle" + "          Cycle");
        e += Line(Blanks(14) + Repeat('-', 39));
        sink.PrintOrDisplay(e, 10, h);
        ForEachMonth(calc, [&](vesmora::_Monthly& m) {
            const std::string date = FormatDate(m.get_MonthDate());
            sink.PrintOrDisplay(Line("  " + MonthName(date) + " " + YearOf(date) + " " +
                                     F(FormatRatioValue(m.get_InventoryCycle())) + "   " +
                                     F(FormatRatioValue(m.get_ReceivableCycle())) + "   " +
                                     F(FormatRatioValue(m.get_OperatingCycle()))),
                                1, h);
        });
        // Section F: needed working capital by the peak cycle.
        std::string f;
        f += Line("");
        f += Line("");
        f += Line("  Working Capital Needed For Operating Cycle:");
        f += Line("");
        f += Labelled("Operating Cycle Ratio", 30, FormatRatio(calc.get_OperatingCyclePeak()));
        f += Line("  Average A/P Related To");
        f += Line(PadRight("   Inventory", 32) + F(FormatDollars(calc.get_AveAP4InvPeak())));
        f += Line("  Inventory Purchases");
        f += Labelled(" Cur. Year", 30, FormatDollars(calc.get_InvPurchases()));
        f += Labelled("A/P Turnover ratio", 30, FormatRatio(calc.get_APTurnRatioPeak()));
        f += Labelled("Net Ratio", 30, FormatRatio(calc.get_NetOperatingCycle()));
        f += Line("");
        f += Line("  Cost Of Operations");
        f += Labelled(" Subsequent Year", 30, FormatDollars(calc.get_CostOfOperations()));
        f += Line(Blanks(32) + Repeat('-', 12));
        f += Labelled("Needed Working Capital", 30, FormatDollars(calc.get_NeededWCPeak()));
        f += Line(Blanks(32) + Repeat('=', 12));
        f += Line("");
        f += Line("");
        sink.PrintOrDisplay(f, 18, h);
    }

    if (ave) {
        pageStep();
        // Section G: average-cycle titles.
        std::string g;
        g += Line("  Working Capital Needed For Business Cycle");
        g += Line("   Using Average Inventory & A/R");
        g += Line("");
        g += Line(std::string("  Caldren Formula As Modified By") +
                  " The Empire Steel Castings Decision");
        g += Line("");
        g += Line(std::string("  Internal Revenue HandBook 4233 Exhibit ") + "600-2 Worksheet");
        g += Line("");
        sink.PrintOrDisplay(g, 7, h);

        const std::string inner = Blanks(39) + Repeat('-', 12);
        // Section H, ending with the indent of I1.
        std::string hs;
        hs += Labelled("Current Year COGS", 51, FormatDollars(calc.get_COGS()));
        hs += Labelled("Beg. Inventory", 37, FormatDollars(calc.get_InvBeg()));
        hs += Labelled("Ending Inventory", 37, FormatAmount(calc.get_InvEnd()));
        hs += Line(inner);
        hs += Line(Blanks(39) + F(FormatDollars(calc.get_InvBegAndEndAve())));
        hs += Line("  " + PadRight("Average Inventory", 48) + "2  " +
                   F(FormatDollars(calc.get_InvAve())));
        hs += Line(inner);
        hs += Labelled("Inventory Turnover - Days", 51, FormatDays(calc.get_InvTurnDaysAve()));
        hs += Labelled("Net Sales", 51, FormatDollars(calc.get_NetSales()));
        hs += Labelled("Beg. A/R", 37, FormatDollars(calc.get_ARBeg()));
        hs += Labelled("Ending A/R", 37, FormatAmount(calc.get_AREnd()));
        hs += Line(inner);
        hs += Blanks(39);
        sink.PrintOrDisplay(hs, 12, h);
        // Section I, ending with the indent of J1.
        std::string is;
        is += Line(F(FormatDollars(calc.get_ARBegAndEndAve())));
        is += Line(Blanks(50) + "2  " + F(FormatDollars(calc.get_ARAve())));
        is += Line(inner);
        is += Labelled("A/R Turnover - Days", 51, FormatRatio(calc.get_ARTurnDaysAve()));
        is += Labelled("Days In Operating Cycle", 51, FormatDays(calc.get_OperatingCycleDaysAve()));
        is += Labelled("Average A/P Related To Inventory", 51, FormatDollars(calc.get_APAve()));
        is += Labelled("Inventory Purchases", 51, FormatDollars(calc.get_InvPurchases()));
        is += Labelled("A/P Turnover - Days", 51, FormatRatio(calc.get_APTurnDaysAve()));
        is += "  ";
        sink.PrintOrDisplay(is, 8, h);
        // Section J.
        std::string js;
        js += Line(PadRight("Days In Adjusted Operating Cycle", 51) +
                   F(FormatDays(calc.get_OperatingCycleAdjDaysAve())));
        js += Labelled("Adjusted Operating Cycle (% of Yr)", 51,
                       FormatPercent(calc.get_AdjOperatingCycleAve()));
        js += Labelled("Multiply by Operating Expenses As Adj.", 51,
                       FormatDollars(calc.get_CostOfOperations()));
        js += Line(Blanks(53) + Repeat('-', 12));
        js += Line("  Working Capital Needed");
        js += Labelled(" For Business Cycle", 51, FormatDollars(calc.get_NeededWCAve()));
        js += Blanks(53) + Repeat('=', 12);  // no line end
        sink.PrintOrDisplay(js, 6, h);
    }
    sink.EndReport();
}

}  // namespace Reports
