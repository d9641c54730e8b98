// RunIPReport's layout: the Inputs report, every input of the analysis in fixed columns.
// Five sections of general inputs; for the peak method a page step and the monthly table,
// of receivables and inventory or of receivables, sales and purchases, with control totals.
#include "ReportWriter.h"

namespace Reports {

namespace {

// The page step before the monthly table asks for three lines.
constexpr int kPageStepLines = 3;

// An amount with a dollar sign, right-aligned in `width` characters.
std::string DollarField(const std::string& engineText, std::size_t width) {
    return RightAlign(FormatDollars(engineText), width);
}
// An amount without a dollar sign, right-aligned in `width` characters.
std::string AmountField(const std::string& engineText, std::size_t width) {
    return RightAlign(FormatAmount(engineText), width);
}
// The first month's row carries dollar signs, the others do not.
std::string RowField(bool first, const std::string& engineText, std::size_t width) {
    return first ? DollarField(engineText, width) : AmountField(engineText, width);
}

// Month and year of a "mm/dd/yyyy" text.
void MonthYear(const std::string& date, int& month, int& year) {
    const common::Date d = ParseDate(date);
    month = d.month;
    year = d.year;
}

// The dates and years the lines of the general inputs name.
struct TaxYear {
    std::string yearEnd;    // E: EOYCurrent as the engine gives it
    std::string year;       // Y: the year of EOYCurrent
    std::string nextYear;   // YN: the year of EOYNxtYr
    std::string beginning;  // B: the first day of the tax year, without leading zeros
};

TaxYear TaxYearOf(const vesmora::_Caldren& calc) {
    TaxYear t;
    t.yearEnd = calc.get_EOYCurrent();
    int eMonth = 0, eYear = 0;
    MonthYear(t.yearEnd, eMonth, eYear);
    int nMonth = 0, nYear = 0;
    MonthYear(calc.get_EOYNxtYr(), nMonth, nYear);
    t.year = std::to_string(eYear);
    t.nextYear = std::to_string(nYear);
    t.beginning = eMonth == 12 ? "1/1/" + t.year
                               : std::to_string(eMonth + 1) + "/1/" + std::to_string(eYear - 1);
    return t;
}

// Section 1: the rule and the title.
std::string InputsTitle() {
    std::string s;
    s += Line("");
    s += Line("  " + GetPrintLine(60));
    s += Line("  INPUTS:");
    s += Line("  ");
    return s;
}

// Section 2: the file and the names, and the heading of the general inputs.
std::string InitialInputs(const std::string& currentFile, const std::string& name,
                          const std::string& line2) {
    std::string s;
    s += Line("  Initial Inputs");
    s += Line("  --------------");
    s += Line("  Filename: " + currentFile);
    s += Line("  Name of Corporation:  " + name);
    s += Line("  Optional 2nd Line: " + line2);
    s += Line("");
    s += Line("  General Inputs:");
    s += Line("  -----------------");
    return s;
}

// Section 3: cost of goods sold, net sales and the inventories.
std::string SalesAndInventory(const vesmora::_Caldren& calc, const TaxYear& t, Wording wording) {
    std::string s;
    s += Line(std::string("  ") +
              Worded(wording, "Cost of Goods Sold(COGS) - ", "Cost of Goods Sold (COGS) - ") +
              t.year + Worded(wording, "    ", "   ") + DollarField(calc.get_COGS(), 20));
    s += Line("  Net Sales - " + t.year + Blanks(19) + DollarField(calc.get_NetSales(), 20));
    s += Line("  Inventory - " + t.beginning + Blanks(15) + DollarField(calc.get_InvBeg(), 20));
    s += Line("  Inventory - " + t.yearEnd + Blanks(13) + DollarField(calc.get_InvEnd(), 20));
    return s;
}

// Section 4: purchases, payables, receivables and next year's costs.
std::string PayablesReceivablesAndNextYear(const vesmora::_Caldren& calc, const TaxYear& t,
                                           Wording wording) {
    const bool corrected = wording == Wording::Corrected;
    std::string s;
    s += Line("  Inventory Purchases - " + t.year + Blanks(9) +
              DollarField(calc.get_InvPurchases(), 20));
    s += Line(std::string("  ") + Worded(wording, "Accounts Payables Related To Inventory",
                                         "Accounts Payable Related To Inventory"));
    s += Line("   " + t.beginning + Blanks(26) + DollarField(calc.get_APBegRel2Inv(), 20));
    s += Line("   " + t.yearEnd + Blanks(24) + DollarField(calc.get_APEndRel2Inv(), 20));
    s += Line("  Accounts Receivable:");
    s += Line("  A/R " + t.beginning + Blanks(23) + DollarField(calc.get_ARBeg(), 20));
    s += Line("  A/R " + t.yearEnd + Blanks(21) + DollarField(calc.get_AREnd(), 20));
    s += Line("  COGS - " + t.nextYear + Blanks(24) + DollarField(calc.get_COGSNxtYr(), 20));
    // Corrected, a blank parts the label from the year, and the field is one narrower.
    s += Line(std::string("  ") +
              Worded(wording, "Operating Expenses (Total Expenses)",
                     "Operating Expenses (Total Expenses) ") +
              t.nextYear + DollarField(calc.get_OperatingExpNxtYr(), corrected ? 15 : 16));
    s += Line("  Income Tax Expenses " + t.nextYear + Blanks(11) +
              DollarField(calc.get_IncTaxNxtYr(), 20));
    s +=
        Line("  Depreciation " + t.nextYear + Blanks(18) + DollarField(calc.get_DeprecNxtYr(), 20));
    s += Line("  Other Adjustments to");
    s += Line("   Cost of Operations" + Blanks(16) + DollarField(calc.get_OtherCostAdjNxtYr(), 20));
    return s;
}

// Section 5: working capital, contingencies and reasonable needs.
std::string WorkingCapital(const vesmora::_Caldren& calc, const TaxYear& t) {
    const std::string& e = t.yearEnd;
    std::string s;
    s += Line("  Current Assets " + e + Blanks(10) + DollarField(calc.get_CurAssets(), 20));
    s += Line("  Investment Securities " + e + "   " + DollarField(calc.get_Securities(), 20));
    s += Line("  Notes Receivable " + e + Blanks(8) +
              DollarField(calc.get_NotesFromShareholders(), 20));
    s += Line("  Current Liabilities " + e + Blanks(5) + DollarField(calc.get_CurLiab(), 20));
    s += Line("  Other Adjustments to Available");
    s += Line("   Working Capital" + Blanks(19) + DollarField(calc.get_OtherWorkCapAdj(), 20));
    s += Line("  " + PadRight("Contingencies", 35) + DollarField(calc.get_Contingencies(), 20));
    s +=
        Line("  " + PadRight("Reasonable Needs", 35) + DollarField(calc.get_Reasonableneeds(), 20));
    s += Line("");
    return s;
}

// "  Jan 2003": the start of a month row.
std::string MonthLabel(const vesmora::_Monthly& month) {
    const std::string date = FormatDate(month.get_MonthDate());
    return "  " + MonthName(date) + " " + YearOf(date);
}

// The monthly table with month-end inventories entered: receivables and inventory.
void WriteInventoryTable(const vesmora::_Caldren& calc, ReportWriter& report, Wording wording) {
    const bool corrected = wording == Wording::Corrected;
    std::string heading;
    heading += Line(std::string("      Monthly Inventory & ") +
                    Worded(wording, "Recivables", "Receivables"));
    heading += Line(std::string("  ") + "    " + Repeat('-', corrected ? 31 : 30));
    heading += Line("");
    heading += Line("               ACCOUNTS");
    heading += Line(std::string("  ") + "            RECEIVABLE " + "    INVENTORY");
    heading += Line(std::string("           ") + "---------------------------");
    report.Send(heading);

    long long totalReceivables = 0, totalInventory = 0;
    bool first = true;
    ForEachMonth(calc, [&](const vesmora::_Monthly& month) {
        const std::string label = MonthLabel(month);
        const std::string receivables = month.get_Receivables();
        const std::string inventory = month.get_Inventory();
        totalReceivables += ParseWholeUnits(receivables);
        totalInventory += ParseWholeUnits(inventory);
        report.Send(Line(label + RowField(first, receivables, 13) + "    " +
                         RowField(first, inventory, 12)));
        first = false;
    });

    std::string totals;
    totals += Line(std::string("  ") + "         -----------" + "     -----------");
    totals += Line("");
    totals += Line("  Control");
    totals += Line("   Tot." + DollarField(std::to_string(totalReceivables), 15) + " " +
                   DollarField(std::to_string(totalInventory), 15));
    totals += Line(std::string("  ") + "         ===========" + "     ===========");
    report.Send(totals);
}

// The monthly table with inventories estimated: receivables, sales and purchases.
void WriteSalesAndPurchasesTable(const vesmora::_Caldren& calc, ReportWriter& report,
                                 Wording wording) {
    const bool corrected = wording == Wording::Corrected;
    std::string heading;
    heading += Line(std::string("          Monthly ") +
                    Worded(wording, "Recivables", "Receivables") + ", Sales," + " and Purchases");
    heading += Line(Blanks(10) + Repeat('-', corrected ? 41 : 40));
    heading += Line("");
    heading += Line(std::string("  ") + "                ACCOUNTS");
    heading += Line(std::string("  ") + "               RECEIVABLE" + "         SALES" +
                    "      PURCHASES");
    heading += Line(std::string("  ") + "            ------------------------------------------");
    report.Send(heading);

    long long totalReceivables = 0, totalSales = 0, totalPurchases = 0;
    bool first = true;
    ForEachMonth(calc, [&](const vesmora::_Monthly& month) {
        const std::string label = MonthLabel(month);
        const std::string receivables = month.get_Receivables();
        const std::string sales = month.get_Sales();
        const std::string purchases = month.get_Purchases();
        totalReceivables += ParseWholeUnits(receivables);
        totalSales += ParseWholeUnits(sales);
        totalPurchases += ParseWholeUnits(purchases);
        report.Send(Line(label + RowField(first, receivables, 13) + " " +
                         RowField(first, sales, 15) + RowField(first, purchases, 15)));
        first = false;
    });

    std::string totals;
    totals += Line(std::string("  ") + "            -----------" + "     -----------" +
                   "    -----------");
    totals += Line("");
    totals += Line("  Control");
    totals += Line("   Tot.   " + DollarField(std::to_string(totalReceivables), 15) + "   " +
                   DollarField(std::to_string(totalSales), 13) +
                   DollarField(std::to_string(totalPurchases), 15));
    totals +=
        Line(std::string("              ===========") + "     ===========" + "    ===========");
    report.Send(totals);
}

}  // namespace

void BuildIPReport(const vesmora::_Caldren& calc, ReportSink& sink, const std::string& currentFile,
                   Wording wording) {
    ReportStart start;
    start.kind = ReportKind::Inputs;
    start.caption = "Inputs Report";
    start.headings.h1 = calc.get_sName();
    start.headings.h2 = calc.get_Line2();
    start.headings.h3 = "Inputs - Caldren Formula Calculator";
    ReportWriter report(sink, start);

    const TaxYear taxYear = TaxYearOf(calc);
    report.Send(InputsTitle());
    report.Send(InitialInputs(currentFile, start.headings.h1, start.headings.h2));
    report.Send(SalesAndInventory(calc, taxYear, wording));
    report.Send(PayablesReceivablesAndNextYear(calc, taxYear, wording));
    report.Send(WorkingCapital(calc, taxYear));

    if (calc.get_DoPeakCycle()) {
        report.PageStep(kPageStepLines);
        if (calc.get_DoPeakUseSalesAndPurch())
            WriteSalesAndPurchasesTable(calc, report, wording);
        else
            WriteInventoryTable(calc, report, wording);
    }
    report.End();
}

}  // namespace Reports
