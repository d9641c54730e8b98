// The method sheets and the Summary: the working capital needed and the excesses.
#include "Formulas.h"
#include "Sheets.h"

#include <common/Calendar.h>

namespace workpaper {

namespace {

std::string B(int row) { return Sheet::Cell(row, 1); }

// Title lines of a method sheet; returns the next free row.
int Titles(Sheet& s, const Figures& f, std::initializer_list<const char*> lines,
           const std::vector<double>& widths) {
    s.Widths(widths);
    int row = 0;
    s.Text(row++, 0, s.Name(), Style::Title);
    s.Text(row++, 0, f.name, Style::Heading);
    s.Text(row++, 0, f.line2);
    for (const char* line : lines) s.Text(row++, 0, line, Style::Heading);
    s.Text(row++, 0, "Year Ending " + f.eoyNxtYr);
    return row + 1;
}

// The headings of the figure column and its notes; returns the next row.
int FigureHeads(Sheet& s, int row) {
    s.Text(row, 1, "Figure", Style::Column);
    s.Text(row, 2, "Program property", Style::Column);
    s.Text(row, 3, "How it is worked out", Style::Column);
    return row + 1;
}

// The excess rows that end both method sheets; `needed` is the row of the need and
// `method` "Peak" or "Ave", the ending of the engine properties.
void Excesses(Workbook& book, Sheet& s, int row, int needed, const Figures& f,
              const std::string& method) {
    row++;
    const int available = row;
    row = PutRow(book, s, row,
                 {"Available Working Capital", "AvailableWC", f["AvailableWC"], Style::Dollars,
                  "AvailableWC", "from the sheet Inputs"});
    const int before = row;
    row = PutRow(book, s, row,
                 {"Working Capital in Excess of What is Needed for Business Cycle",
                  B(available) + "-" + B(needed), f["ExcessPreContingencyWC" + method],
                  Style::Dollars, "ExcessPreContingencyWC" + method, "", true});
    row = PutRow(book, s, row,
                 {"Less, Other Reasonable Needs", "Reasonableneeds", f["Reasonableneeds"],
                  Style::Whole, "Reasonableneeds", ""});
    row = PutRow(book, s, row,
                 {"Less, Contingencies", "Contingencies", f["Contingencies"], Style::Whole,
                  "Contingencies", ""});
    PutRow(book, s, row,
           {"Excess Working Capital", B(before) + "-" + B(before + 1) + "-" + B(before + 2),
            f["ExcessWC" + method], Style::Dollars, "ExcessWC" + method,
            "not limited at zero: a shortfall is negative", true});
}

}  // namespace

void WritePeak(Workbook& book, const Figures& f, const MonthsLayout& months) {
    Sheet& s = book.AddSheet("Peak Operating Cycle");
    int row = Titles(s, f, {"Caldren Formula - Using Peak Amounts"},
                     {42, 16, 28, 13, 13, 13, 19, 19, 19});
    const std::string year = f.eoyNxtYr.size() >= 4 ? f.eoyNxtYr.substr(f.eoyNxtYr.size() - 4) : "";
    s.Text(row, 0, "Next Year's (" + year + ") Operating Cycles:", Style::Heading);
    s.Text(row++, 6, "Not rounded", Style::Heading);
    // Columns D to F show the cycles as the program does (five decimals, halves away from
    // zero); G to I hold them unrounded, as the peak is found.
    const char* heads[] = {"Month",           "Inventory",        "Receivables",
                           "Inventory Cycle", "Receivable Cycle", "Operating Cycle",
                           "Inventory Cycle", "Receivable Cycle", "Operating Cycle"};
    const char* props[] = {"Program property",        "Monthly.Inventory",
                           "Monthly.Receivables",     "Monthly.InventoryCycle",
                           "Monthly.ReceivableCycle", "Monthly.OperatingCycle"};
    for (int c = 0; c < 9; ++c) s.Text(row, c, heads[c], Style::Column);
    ++row;
    for (int c = 0; c < 6; ++c) s.Text(row, c, props[c], Style::Note);
    ++row;

    const int first = row;
    for (std::size_t i = 0; i < f.months.size(); ++i, ++row) {
        const MonthFigures& m = f.months[i];
        const int source = months.firstRow + static_cast<int>(i);
        const auto from = [&](int col) { return "Months!" + Sheet::Cell(source, col); };
        const auto cell = [&](int col) { return Sheet::Cell(row, col); };
        common::DaySerial serial = 0;
        (void)common::ParseDate(m.date, serial);
        s.Formula(row, 0, from(months.dateCol), serial, Style::Month);
        s.Formula(row, 1, from(months.inventoryCol), m.inventory, Style::Whole);
        s.Formula(row, 2, from(months.receivablesCol), m.receivables, Style::Whole);
        s.Formula(row, 6, cell(1) + "/COGS", m.inventoryCycleExact, Style::Precise);
        s.Formula(row, 7, cell(2) + "/NetSales", m.receivableCycleExact, Style::Precise);
        s.Formula(row, 8, cell(6) + "+" + cell(7), m.operatingCycleExact, Style::Precise);
        const double shown[] = {m.inventoryCycle, m.receivableCycle, m.operatingCycle};
        for (int c = 0; c < 3; ++c)
            s.Formula(row, 3 + c, Formulas::Round(cell(6 + c), 5, Formulas::Tie::AwayFromZero),
                      shown[c], Style::Ratio);
    }
    row++;
    s.Text(row, 0, "Working Capital Needed For Operating Cycle:", Style::Heading);
    row = FigureHeads(s, row);
    const int last = first + static_cast<int>(f.months.size()) - 1;
    const std::string cycles =
        f.months.empty() ? "" : "," + Sheet::Cell(first, 8) + ":" + Sheet::Cell(last, 8);
    const int peak = row;
    row = PutRow(book, s, row,
                 {"Peak operating cycle (the longest month)", "MAX(0" + cycles + ")", f.peak,
                  Style::Precise, "", "not rounded; 0 when no month's cycle is above 0"});
    row = PutRow(book, s, row,
                 {"As the program keeps it", Formulas::Fifteen(B(peak)), f.peakStored,
                  Style::Precise, "", "fifteen significant digits"});
    const int ratio = row;
    row = PutRow(
        book, s, row,
        {"Operating Cycle Ratio", Formulas::Round(B(peak + 1), 5, Formulas::Tie::AwayFromZero),
         f["OperatingCyclePeak"], Style::Ratio, "OperatingCyclePeak",
         "five decimals, halves away from zero"});
    const int ap = row;
    row = PutRow(book, s, row,
                 {"Beginning A/P Related To Inventory", "APBegRel2Inv", f["APBegRel2Inv"],
                  Style::Dollars, "APBegRel2Inv", ""});
    row = PutRow(book, s, row,
                 {"Ending A/P Related To Inventory", "APEndRel2Inv", f["APEndRel2Inv"],
                  Style::Dollars, "APEndRel2Inv", ""});
    row = PutRow(book, s, row,
                 {"Average A/P Related To Inventory", "(" + B(ap) + "+" + B(ap + 1) + ")/2",
                  (f["APBegRel2Inv"] + f["APEndRel2Inv"]) / 2, Style::Dollars, "AveAP4InvPeak",
                  "keeps its half dollar; shown in whole dollars"});
    row = PutRow(book, s, row,
                 {"Inventory Purchases Cur. Year", "InvPurchases", f["InvPurchases"],
                  Style::Dollars, "InvPurchases", ""});
    const int payables = row;
    row = PutRow(book, s, row,
                 {"A/P turnover ratio, not rounded",
                  "IF(" + B(ap + 3) + ">0," + B(ap + 2) + "/" + B(ap + 3) + ",0)", f.payablesRatio,
                  Style::Precise, "", "0 when there are no purchases"});
    row =
        PutRow(book, s, row,
               {"A/P Turnover ratio", Formulas::Round(B(payables), 5, Formulas::Tie::AwayFromZero),
                f["APTurnRatioPeak"], Style::Ratio, "APTurnRatioPeak",
                "as shown: five decimals, halves away from zero"});
    const int net = row;
    row = PutRow(book, s, row,
                 {"Net ratio, not rounded", B(ratio) + "-" + B(payables), f.netRatio,
                  Style::Precise, "", "the operating cycle ratio - the unrounded A/P ratio"});
    row = PutRow(book, s, row,
                 {"As the program keeps it", Formulas::Fifteen(B(net)), f.netStored, Style::Precise,
                  "", "fifteen significant digits"});
    row = PutRow(book, s, row,
                 {"Net Ratio", Formulas::Round(B(net + 1), 5, Formulas::Tie::AwayFromZero),
                  f["NetOperatingCycle"], Style::Ratio, "NetOperatingCycle",
                  "as shown: five decimals, halves away from zero"});
    const int cost = row;
    row = PutRow(book, s, row,
                 {"Cost Of Operations Subsequent Year", "CostOfOperations", f["CostOfOperations"],
                  Style::Dollars, "CostOfOperations", "from the sheet Inputs"});
    row = PutRow(book, s, row,
                 {"Cost of operations x net ratio (not rounded)", B(cost) + "*" + B(net),
                  f.peakProduct, Style::Precise, "", "not rounded"});
    row = PutRow(book, s, row,
                 {"To four decimals", Formulas::Round(B(cost + 1), 4, Formulas::Tie::Even),
                  f.peakProductFour, Style::Cents4, "", "halves to even"});
    const int needed = row;
    row = PutRow(
        book, s, row,
        {"Needed Working Capital", Formulas::Round(B(cost + 2), 0, Formulas::Tie::Even),
         f["NeededWCPeak"], Style::Dollars, "NeededWCPeak", "whole dollars, halves to even", true});
    Excesses(book, s, row, needed, f, "Peak");
}

void WriteAverage(Workbook& book, const Figures& f) {
    Sheet& s = book.AddSheet("Average Operating Cycle");
    int row = Titles(s, f,
                     {"Working Capital Needed For Business Cycle Using Average Inventory & A/R",
                      "Caldren Formula As Modified By The Empire Steel Castings Decision",
                      "Internal Revenue HandBook 4233 Exhibit 600-2 Worksheet"},
                     {60, 16, 28, 70});
    row = FigureHeads(s, row);
    // One turnover: basis, beginning, ending, their sum, the average, the days.
    struct Turnover {
        const char *basisLabel, *basis, *begLabel, *beg, *endLabel, *end, *sum, *average,
            *averageLabel, *days, *daysLabel;
    };
    const Turnover turnovers[] = {
        {"Current Year COGS", "COGS", "Beg. Inventory", "InvBeg", "Ending Inventory", "InvEnd",
         "InvBegAndEndAve", "InvAve", "Average Inventory", "InvTurnDaysAve",
         "Inventory Turnover - Days"},
        {"Net Sales", "NetSales", "Beg. A/R", "ARBeg", "Ending A/R", "AREnd", "ARBegAndEndAve",
         "ARAve", "Average A/R", "ARTurnDaysAve", "A/R Turnover - Days"},
        {"Inventory Purchases", "InvPurchases", "Beg. A/P Related To Inventory", "APBegRel2Inv",
         "Ending A/P Related To Inventory", "APEndRel2Inv", "APBegAndEndAve", "APAve",
         "Average A/P Related To Inventory", "APTurnDaysAve", "A/P Turnover - Days"},
    };
    int days[3] = {};
    for (int t = 0; t < 3; ++t) {
        const Turnover& u = turnovers[t];
        row++;
        const int basis = row;
        row =
            PutRow(book, s, row, {u.basisLabel, u.basis, f[u.basis], Style::Dollars, u.basis, ""});
        row = PutRow(book, s, row, {u.begLabel, u.beg, f[u.beg], Style::Dollars, u.beg, ""});
        row = PutRow(book, s, row, {u.endLabel, u.end, f[u.end], Style::Dollars, u.end, ""});
        row = PutRow(book, s, row,
                     {"Beginning + ending", B(basis + 1) + "+" + B(basis + 2), f[u.sum],
                      Style::Dollars, u.sum, ""});
        row = PutRow(book, s, row,
                     {u.averageLabel, B(basis + 3) + "/2", (f[u.beg] + f[u.end]) / 2,
                      Style::Dollars, u.average, "keeps its half dollar; shown in whole dollars"});
        days[t] = row;
        row = PutRow(
            book, s, row,
            {u.daysLabel, "IF(" + B(basis) + ">0," + B(basis + 4) + "/" + B(basis) + "*365,0)",
             f[u.days], Style::Ratio, u.days,
             "average / basis x 365, not rounded; 0 when the basis is 0 or less"});
        if (t == 1) {
            row = PutRow(book, s, row,
                         {"Days In Operating Cycle", B(days[1]) + "+" + B(days[0]),
                          f["OperatingCycleDaysAve"], Style::Ratio, "OperatingCycleDaysAve",
                          "A/R days + inventory days"});
        }
    }
    row++;
    const int adjusted = row;
    row = PutRow(book, s, row,
                 {"Days In Adjusted Operating Cycle", B(days[1] + 1) + "-" + B(days[2]),
                  f["OperatingCycleAdjDaysAve"], Style::Ratio, "OperatingCycleAdjDaysAve",
                  "days in operating cycle - A/P days"});
    row = PutRow(book, s, row,
                 {"Adjusted days / 365", B(adjusted) + "/365", f.aveQuotient, Style::Precise, "",
                  "not rounded"});
    row =
        PutRow(book, s, row,
               {"Adjusted Operating Cycle (% of Yr)",
                Formulas::Round(B(adjusted + 1), 4, Formulas::Tie::Even), f["AdjOperatingCycleAve"],
                Style::Percent, "AdjOperatingCycleAve", "four decimals of a year, halves to even"});
    row =
        PutRow(book, s, row,
               {"Multiply by Operating Expenses As Adj.", "CostOfOperations", f["CostOfOperations"],
                Style::Dollars, "CostOfOperations", "from the sheet Inputs"});
    row = PutRow(book, s, row,
                 {"Operating expenses x adjusted cycle", B(adjusted + 3) + "*" + B(adjusted + 2),
                  f.aveProduct, Style::Precise, "", "not rounded"});
    const int needed = row;
    row = PutRow(book, s, row,
                 {"Working Capital Needed For Business Cycle",
                  Formulas::Round(B(adjusted + 4), 0, Formulas::Tie::Even), f["NeededWCAve"],
                  Style::Dollars, "NeededWCAve", "whole dollars, halves to even", true});
    Excesses(book, s, row, needed, f, "Ave");
}

void WriteSummary(Workbook& book, const Figures& f) {
    Sheet& s = book.AddSheet("Summary");
    s.Widths({52, 18, 18});
    int row = 0;
    s.Text(row++, 0, f.name, Style::Title);
    s.Text(row++, 0, f.line2, Style::Heading);
    s.Text(row++, 0, "Summary", Style::Heading);
    row++;
    s.Text(row++, 0, "Year Ending " + f.eoyCurrent);
    row++;
    struct Column {
        const char* heading;
        const char* suffix;
    };
    std::vector<Column> columns;
    if (f.doPeak) columns.push_back({"Caldren Formula", "Peak"});
    if (f.doAve)
        columns.push_back({f.doPeak ? "Caldren Formula Modified By Empire Steel"
                                    : "Caldren Formula Modified By Empire Steel Castings",
                           "Ave"});
    if (columns.empty()) {
        s.Text(row, 0, "No method is chosen: the analysis has no summary.", Style::Note);
        s.Activate();
        return;
    }
    s.RowHeight(row, 48);  // the heading of the average column takes three lines
    for (std::size_t c = 0; c < columns.size(); ++c)
        s.Text(row, 1 + static_cast<int>(c), columns[c].heading, Style::Column);
    ++row;
    struct Line {
        const char* label;
        const char* property;  // + "Peak" / "Ave" unless shared
        bool shared;
        Style style;
    };
    const Line lines[] = {
        {"Available Working Capital", "AvailableWC", true, Style::Dollars},
        {"Working Capital Needed For Business Cycle", "NeededWC", false, Style::Whole},
        {"Working Capital in Excess of What is Needed for Business Cycle", "ExcessPreContingencyWC",
         false, Style::Dollars},
        {"Less, Other Reasonable Needs", "Reasonableneeds", true, Style::Whole},
        {"Less, Contingencies", "Contingencies", true, Style::Whole},
        {"Excess Working Capital", "ExcessWC", false, Style::Dollars},
    };
    for (const Line& l : lines) {
        s.Text(row, 0, l.label,
               l.property == std::string("ExcessWC") ? Style::Heading : Style::Text);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string name =
                l.shared ? std::string(l.property) : l.property + std::string(columns[c].suffix);
            s.Formula(row, 1 + static_cast<int>(c), book.Ref(name), f[name], l.style);
        }
        ++row;
    }
    s.Activate();
}

}  // namespace workpaper
