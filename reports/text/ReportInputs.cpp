// RunIPReport's layout: the Inputs report, every input of the analysis in fixed columns.
#include "Layout.h"
#include "Reports.h"

#include <activation/Com.h>

namespace Reports {

using namespace layout;

namespace {

std::string A(const std::string& engineText, std::size_t width) {
    return RightAlign(FormatDollars(engineText), width);
}
std::string N(const std::string& engineText, std::size_t width) {
    return RightAlign(FormatAmount(engineText), width);
}

// Month and year of a "mm/dd/yyyy" text.
void MonthYear(const std::string& date, int& month, int& year) {
    const common::Date d = ParseDate(date);
    month = d.month;
    year = d.year;
}

}  // namespace

void BuildIPReport(const vesmora::_Caldren& calc, ReportSink& sink,
                   const std::string& currentFile) {
    ReportStart start;
    start.kind = ReportKind::Inputs;
    start.caption = "Inputs Report";
    const std::string name = calc.get_sName();
    const std::string line2 = calc.get_Line2();
    start.headings.h1 = name;
    start.headings.h2 = line2;
    start.headings.h3 = "Inputs - Caldren Formula Calculator";
    const ReportHeadings& h = start.headings;
    sink.BeginReport(start);

    const std::string E = calc.get_EOYCurrent();
    int eMonth = 0, eYear = 0;
    MonthYear(E, eMonth, eYear);
    int nMonth = 0, nYear = 0;
    MonthYear(calc.get_EOYNxtYr(), nMonth, nYear);
    const std::string Y = std::to_string(eYear);
    const std::string YN = std::to_string(nYear);
    // The first day of the tax year, without leading zeros.
    const std::string B =
        eMonth == 12 ? "1/1/" + Y : std::to_string(eMonth + 1) + "/1/" + std::to_string(eYear - 1);

    {
        std::string s;
        s += Line("");
        s += Line("  " + GetPrintLine(60));
        s += Line("  INPUTS:");
        s += Line("  ");
        sink.PrintOrDisplay(s, 4, h);
    }
    {
        std::string s;
        s += Line("  Initial Inputs");
        s += Line("  --------------");
        s += Line("  Filename: " + currentFile);
        s += Line("  Name of Corporation:  " + name);
        s += Line("  Optional 2nd Line: " + line2);
        s += Line("");
        s += Line("  General Inputs:");
        s += Line("  -----------------");
        sink.PrintOrDisplay(s, 8, h);
    }
    {
        std::string s;
        s += Line("  Cost of Goods Sold(COGS) - " + Y + "    " + A(calc.get_COGS(), 20));
        s += Line("  Net Sales - " + Y + Blanks(19) + A(calc.get_NetSales(), 20));
        s += Line("  Inventory - " + B + Blanks(15) + A(calc.get_InvBeg(), 20));
        s += Line("  Inventory - " + E + Blanks(13) + A(calc.get_InvEnd(), 20));
        sink.PrintOrDisplay(s, 4, h);
    }
    {
        std::string s;
        s += Line("  Inventory Purchases - " + Y + Blanks(9) + A(calc.get_InvPurchases(), 20));
        s += Line("  Accounts Payables Related To Inventory");
        s += Line("   " + B + Blanks(26) + A(calc.get_APBegRel2Inv(), 20));
        s += Line("   " + E + Blanks(24) + A(calc.get_APEndRel2Inv(), 20));
        s += Line("  Accounts Receivable:");
        s += Line("  A/R " + B + Blanks(23) + A(calc.get_ARBeg(), 20));
        s += Line("  A/R " + E + Blanks(21) + A(calc.get_AREnd(), 20));
        s += Line("  COGS - " + YN + Blanks(24) + A(calc.get_COGSNxtYr(), 20));
        s += Line("  Operating Expenses (Total Expenses)" + YN +
                  A(calc.get_OperatingExpNxtYr(), 16));
        s += Line("  Income Tax Expenses " + YN + Blanks(11) + A(calc.get_IncTaxNxtYr(), 20));
        s += Line("  Depreciation " + YN + Blanks(18) + A(calc.get_DeprecNxtYr(), 20));
        s += Line("  Other Adjustments to");
        s += Line("   Cost of Operations" + Blanks(16) + A(calc.get_OtherCostAdjNxtYr(), 20));
        sink.PrintOrDisplay(s, 13, h);
    }
    {
        std::string s;
        s += Line("  Current Assets " + E + Blanks(10) + A(calc.get_CurAssets(), 20));
        s += Line("  Investment Securities " + E + "   " + A(calc.get_Securities(), 20));
        s += Line("  Notes Receivable " + E + Blanks(8) + A(calc.get_NotesFromShareholders(), 20));
        s += Line("  Current Liabilities " + E + Blanks(5) + A(calc.get_CurLiab(), 20));
        s += Line("  Other Adjustments to Available");
        s += Line("   Working Capital" + Blanks(19) + A(calc.get_OtherWorkCapAdj(), 20));
        s += Line("  " + PadRight("Contingencies", 35) + A(calc.get_Contingencies(), 20));
        s += Line("  " + PadRight("Reasonable Needs", 35) + A(calc.get_Reasonableneeds(), 20));
        s += Line("");
        sink.PrintOrDisplay(s, 9, h);
    }

    if (calc.get_DoPeakCycle()) {
        sink.PrintOrDisplay("", 3, h);
        sink.PrintOrDisplay("", kNewPage, h);
        const bool salesAndPurchases = calc.get_DoPeakUseSalesAndPurch();
        long long totalRec = 0, totalInv = 0, totalSales = 0, totalPurch = 0;
        int row = 1;
        if (!salesAndPurchases) {
            std::string s;
            s += Line("      Monthly Inventory & Recivables");
            s += Line(std::string("  ") + "    ------------------------------");
            s += Line("");
            s += Line("               ACCOUNTS");
            s += Line(std::string("  ") + "            RECEIVABLE " + "    INVENTORY");
            s += Line(std::string("           ") + "---------------------------");
            sink.PrintOrDisplay(s, 6, h);
            ForEachMonth(calc, [&](vesmora::_Monthly& m) {
                const std::string date = FormatDate(m.get_MonthDate());
                const std::string rec = m.get_Receivables();
                const std::string inv = m.get_Inventory();
                totalRec += ParseWholeUnits(rec);
                totalInv += ParseWholeUnits(inv);
                const bool first = row++ == 1;
                sink.PrintOrDisplay(Line("  " + MonthName(date) + " " + YearOf(date) +
                                         (first ? A(rec, 13) : N(rec, 13)) + "    " +
                                         (first ? A(inv, 12) : N(inv, 12))),
                                    1, h);
            });
            std::string t;
            t += Line(std::string("  ") + "         -----------" + "     -----------");
            t += Line("");
            t += Line("  Control");
            t += Line("   Tot." + A(std::to_string(totalRec), 15) + " " +
                      A(std::to_string(totalInv), 15));
            t += Line(std::string("  ") + "         ===========" + "     ===========");
            sink.PrintOrDisplay(t, 5, h);
        } else {
            std::string s;
            s += Line(std::string("          Monthly Recivables, Sales,") + " and Purchases");
            s += Line("          ----------------------------------------");
            s += Line("");
            s += Line(std::string("  ") + "                ACCOUNTS");
            s += Line(std::string("  ") + "               RECEIVABLE" + "         SALES" +
                      "      PURCHASES");
            s += Line(std::string("  ") + "            ------------------------------------------");
            sink.PrintOrDisplay(s, 6, h);
            ForEachMonth(calc, [&](vesmora::_Monthly& m) {
                const std::string date = FormatDate(m.get_MonthDate());
                const std::string rec = m.get_Receivables();
                const std::string sales = m.get_Sales();
                const std::string purch = m.get_Purchases();
                totalRec += ParseWholeUnits(rec);
                totalSales += ParseWholeUnits(sales);
                totalPurch += ParseWholeUnits(purch);
                const bool first = row++ == 1;
                sink.PrintOrDisplay(Line("  " + MonthName(date) + " " + YearOf(date) +
                                         (first ? A(rec, 13) : N(rec, 13)) + " " +
                                         (first ? A(sales, 15) : N(sales, 15)) +
                                         (first ? A(purch, 15) : N(purch, 15))),
                                    1, h);
            });
            std::string t;
            t += Line(std::string("  ") + "            -----------" + "     -----------" +
                      "    -----------");
            t += Line("");
            t += Line("  Control");
            t += Line("   Tot.   " + A(std::to_string(totalRec), 15) + "   " +
                      A(std::to_string(totalSales), 13) + A(std::to_string(totalPurch), 15));
            t += Line(std::string("              ===========") +
                      "     ===========" + "    ===========");
            sink.PrintOrDisplay(t, 5, h);
        }
    }
    sink.EndReport();
}

}  // namespace Reports
