// ReportDetailed: the Detailed Analysis report, the worksheet behind the Summary. Sections A
// and B always; C, D and the monthly inventory for the peak method on sales and purchases;
// E, the monthly cycles and F for the peak method; G to J for the average method.
#include "ReportWriter.h"

namespace Reports {

namespace {

// Sections B and F are paged as one line less than the line ends they hold (9 for 10, 18
// for 19); the printed page breaks have always depended on it.
constexpr int kOneLineLess = -1;

// The page step before the peak and before the average sections asks for one line.
constexpr int kPageStepLines = 1;

// "  " + label padded to `width` + value field: the labelled lines of every section.
std::string LabelledValue(const char* label, std::size_t width, const std::string& formatted) {
    return Line("  " + PadRight(label, width) + ValueField(formatted));
}

// A rule of `c` under the value field of sections A and B (columns 39 to 50).
std::string ValueRule(char c) { return Line(Blanks(39) + Repeat(c, 12)); }

// "Jan 2003 ": the start of a month row.
std::string MonthLabel(const vesmora::_Monthly& month) {
    const std::string date = FormatDate(month.get_MonthDate());
    return "  " + MonthName(date) + " " + YearOf(date) + " ";
}

// Section A: available working capital. Its balances are those at the current year end;
// as ever, it is dated with next year's end and its first line, current assets, is
// labelled "Available Working Capital".
std::string AvailableCapital(const vesmora::_Caldren& calc, const std::string& eoyNext,
                             Wording wording) {
    const bool corrected = wording == Wording::Corrected;
    std::string s;
    s += Line("");
    s += Line("  Year Ending " + (corrected ? calc.get_EOYCurrent() : eoyNext));
    s += LabelledValue(Worded(wording, "Available Working Capital", "Current Assets"), 37,
                       FormatDollars(calc.get_CurAssets()));
    s += LabelledValue("Investment Securities", 37, FormatAmount(calc.get_Securities()));
    s += LabelledValue("Note Receivable (From Shareholder)", 37,
                       FormatAmount(calc.get_NotesFromShareholders()));
    s += LabelledValue("Current Liabilities", 37, FormatSubtracted(calc.get_CurLiab()));
    s += Line("  Other Adjustments to Available");
    s += LabelledValue(" Working Capital", 37, FormatAmount(calc.get_OtherWorkCapAdj()));
    s += ValueRule('-');
    s += LabelledValue("Available Working Capital", 37, FormatDollars(calc.get_AvailableWC()));
    s += ValueRule('=');
    s += Line("");
    s += Line("");
    return s;
}

// Section B: operating expenses for next year.
std::string OperatingExpenses(const vesmora::_Caldren& calc) {
    std::string s;
    s += LabelledValue("Operating Expenses For Next Year", 37,
                       FormatDollars(calc.get_OperatingExpNxtYr()));
    s += LabelledValue("Plus, COGS For Next Year", 37, FormatAmount(calc.get_COGSNxtYr()));
    s += LabelledValue("Less, Depreciation For Next Year", 37,
                       FormatSubtracted(calc.get_DeprecNxtYr()));
    s += LabelledValue("Plus, Estimated Tax For Next Year", 37,
                       FormatAmount(calc.get_IncTaxNxtYr()));
    s += Line("  Other Adjustments To");
    s += LabelledValue(" Cost Of Operations", 37, FormatAmount(calc.get_OtherCostAdjNxtYr()));
    s += ValueRule('-');
    s +=
        LabelledValue("Operating Expenses As Adj.", 37, FormatDollars(calc.get_CostOfOperations()));
    s += ValueRule('=');
    s += Line("");
    return s;
}

// Section C: the peak title with the gross profit percent.
std::string PeakTitle(const vesmora::_Caldren& calc, const std::string& eoyNext) {
    std::string s;
    s += Line("");
    s += Line("  Caldren Formula - Using Peak Amounts");
    s += Line("  Year Ending " + eoyNext);
    s += Line("");
    s += Line("  Gross Profit Percent  " + calc.get_GrossProfitPercent() + "%");
    s += Line("");
    return s;
}

// Section D: the heading of the monthly inventory.
std::string MonthlyInventoryHeading() {
    std::string s;
    s += Line("  Computation of Monthly Inventory:");
    s += Line("");
    s += Line(std::string("  ") + "                Sales" + "     Purchases" + "       Inventory");
    s += Line(Blanks(13) + Repeat('-', 40));
    return s;
}

// A row of section D: the month's sales, purchases and estimated inventory.
std::string MonthlyInventoryRow(const vesmora::_Monthly& month, bool first) {
    const auto format = first ? FormatDollars : FormatAmount;
    const std::string label = MonthLabel(month);
    return Line(label + ValueField(format(month.get_Sales())) + "  " +
                ValueField(format(month.get_Purchases())) + "    " +
                ValueField(format(month.get_Inventory())));
}

// Section E: the heading of next year's operating cycles.
std::string OperatingCyclesHeading(const std::string& eoyNext) {
    std::string s;
    s += Line("");
    s += Line("");
    s += Line("  Next Year's (" + YearOf(eoyNext) + ") Operating Cycles:");
    s += Line("");
    s += Line(std::string("               Decimal") + "         Decimal");
    s += Line(std::string("               Part Of") + "         Part Of");
    s += Line(std::string("                Year") + "            Year");
    s += Line(std::string("              Inventory") + "      Receivables" + "    Operating");
    s += Line(std::string("                Cycle") + "           Cycle" + "          Cycle");
    s += Line(Blanks(14) + Repeat('-', 39));
    return s;
}

// A row of section E: the month's three cycles.
std::string OperatingCycleRow(const vesmora::_Monthly& month) {
    const std::string label = MonthLabel(month);
    return Line(label + ValueField(FormatRatioValue(month.get_InventoryCycle())) + "   " +
                ValueField(FormatRatioValue(month.get_ReceivableCycle())) + "   " +
                ValueField(FormatRatioValue(month.get_OperatingCycle())));
}

// Section F: the working capital needed by the peak cycle.
std::string PeakNeeded(const vesmora::_Caldren& calc) {
    std::string s;
    s += Line("");
    s += Line("");
    s += Line("  Working Capital Needed For Operating Cycle:");
    s += Line("");
    s += LabelledValue("Operating Cycle Ratio", 30, FormatRatio(calc.get_OperatingCyclePeak()));
    s += Line("  Average A/P Related To");
    s += Line(PadRight("   Inventory", 32) + ValueField(FormatDollars(calc.get_AveAP4InvPeak())));
    s += Line("  Inventory Purchases");
    s += LabelledValue(" Cur. Year", 30, FormatDollars(calc.get_InvPurchases()));
    s += LabelledValue("A/P Turnover ratio", 30, FormatRatio(calc.get_APTurnRatioPeak()));
    s += LabelledValue("Net Ratio", 30, FormatRatio(calc.get_NetOperatingCycle()));
    s += Line("");
    s += Line("  Cost Of Operations");
    s += LabelledValue(" Subsequent Year", 30, FormatDollars(calc.get_CostOfOperations()));
    s += Line(Blanks(32) + Repeat('-', 12));
    s += LabelledValue("Needed Working Capital", 30, FormatDollars(calc.get_NeededWCPeak()));
    s += Line(Blanks(32) + Repeat('=', 12));
    s += Line("");
    s += Line("");
    return s;
}

// Section G: the titles of the average-cycle worksheet.
std::string AverageTitle(Wording wording) {
    std::string s;
    s += Line("  Working Capital Needed For Business Cycle");
    s += Line("   Using Average Inventory & A/R");
    s += Line("");
    s += Line(std::string("  Caldren Formula As Modified By") +
              " The Empire Steel Castings Decision");
    s += Line("");
    s += Line(std::string("  Internal Revenue ") + Worded(wording, "HandBook", "Handbook") +
              " 4233 Exhibit " + "600-2 Worksheet");
    s += Line("");
    return s;
}

// Section H: inventory turnover and the receivables, ending with the indent of line I1.
std::string AverageInventory(const vesmora::_Caldren& calc) {
    const std::string inner = Line(Blanks(39) + Repeat('-', 12));
    std::string s;
    s += LabelledValue("Current Year COGS", 51, FormatDollars(calc.get_COGS()));
    s += LabelledValue("Beg. Inventory", 37, FormatDollars(calc.get_InvBeg()));
    s += LabelledValue("Ending Inventory", 37, FormatAmount(calc.get_InvEnd()));
    s += inner;
    s += Line(Blanks(39) + ValueField(FormatDollars(calc.get_InvBegAndEndAve())));
    s += Line("  " + PadRight("Average Inventory", 48) + "2  " +
              ValueField(FormatDollars(calc.get_InvAve())));
    s += inner;
    s += LabelledValue("Inventory Turnover - Days", 51, FormatDays(calc.get_InvTurnDaysAve()));
    s += LabelledValue("Net Sales", 51, FormatDollars(calc.get_NetSales()));
    s += LabelledValue("Beg. A/R", 37, FormatDollars(calc.get_ARBeg()));
    s += LabelledValue("Ending A/R", 37, FormatAmount(calc.get_AREnd()));
    s += inner;
    s += Blanks(39);
    return s;
}

// Section I: receivable and payable turnover, ending with the indent of line J1.
std::string AverageReceivables(const vesmora::_Caldren& calc) {
    std::string s;
    s += Line(ValueField(FormatDollars(calc.get_ARBegAndEndAve())));
    s += Line(Blanks(50) + "2  " + ValueField(FormatDollars(calc.get_ARAve())));
    s += Line(Blanks(39) + Repeat('-', 12));
    s += LabelledValue("A/R Turnover - Days", 51, FormatRatio(calc.get_ARTurnDaysAve()));
    s += LabelledValue("Days In Operating Cycle", 51, FormatDays(calc.get_OperatingCycleDaysAve()));
    s += LabelledValue("Average A/P Related To Inventory", 51, FormatDollars(calc.get_APAve()));
    s += LabelledValue("Inventory Purchases", 51, FormatDollars(calc.get_InvPurchases()));
    s += LabelledValue("A/P Turnover - Days", 51, FormatRatio(calc.get_APTurnDaysAve()));
    s += "  ";
    return s;
}

// Section J: the adjusted operating cycle and the working capital it needs.
std::string AverageNeeded(const vesmora::_Caldren& calc) {
    std::string s;
    s += Line(PadRight("Days In Adjusted Operating Cycle", 51) +
              ValueField(FormatDays(calc.get_OperatingCycleAdjDaysAve())));
    s += LabelledValue("Adjusted Operating Cycle (% of Yr)", 51,
                       FormatPercent(calc.get_AdjOperatingCycleAve()));
    s += LabelledValue("Multiply by Operating Expenses As Adj.", 51,
                       FormatDollars(calc.get_CostOfOperations()));
    s += Line(Blanks(53) + Repeat('-', 12));
    s += Line("  Working Capital Needed");
    s += LabelledValue(" For Business Cycle", 51, FormatDollars(calc.get_NeededWCAve()));
    s += Blanks(53) + Repeat('=', 12);  // no line end
    return s;
}

ReportStart DetailedStart(const vesmora::_Caldren& calc, const std::string& currentFile) {
    ReportStart start;
    start.kind = ReportKind::Detailed;
    start.caption = "Detailed Analysis Report - " + currentFile;
    start.headings.h1 = calc.get_sName();
    start.headings.h2 = calc.get_Line2();
    start.headings.h3 = "Available Working Capital";
    return start;
}

}  // namespace

void BuildDetailReport(const vesmora::_Caldren& calc, ReportSink& sink,
                       const std::string& currentFile, Wording wording) {
    ReportWriter report(sink, DetailedStart(calc, currentFile));
    const std::string eoyNext = calc.get_EOYNxtYr();
    report.Send(AvailableCapital(calc, eoyNext, wording));
    report.Send(OperatingExpenses(calc), kOneLineLess);

    const bool peak = calc.get_DoPeakCycle();
    const bool ave = calc.get_DoAveCycle();
    if (peak && calc.get_DoPeakUseSalesAndPurch()) {
        report.Send(PeakTitle(calc, eoyNext));
        report.Send(MonthlyInventoryHeading());
        bool first = true;
        ForEachMonth(calc, [&](const vesmora::_Monthly& month) {
            report.Send(MonthlyInventoryRow(month, first));
            first = false;
        });
    }
    if (peak) {
        report.PageStep(kPageStepLines);
        report.Send(OperatingCyclesHeading(eoyNext));
        ForEachMonth(
            calc, [&](const vesmora::_Monthly& month) { report.Send(OperatingCycleRow(month)); });
        report.Send(PeakNeeded(calc), kOneLineLess);
    }
    if (ave) {
        report.PageStep(kPageStepLines);
        report.Send(AverageTitle(wording));
        report.Send(AverageInventory(calc));
        report.Send(AverageReceivables(calc));
        report.Send(AverageNeeded(calc));
    }
    report.End();
}

}  // namespace Reports
