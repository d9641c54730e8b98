// The Inputs and Months sheets: what the analysis starts from.
#include "Formulas.h"
#include "Sheets.h"

#include <common/Calendar.h>

namespace workpaper {

namespace {

// Columns of the Inputs sheet.
enum InputCol { kLabel, kEntered, kUsed, kProperty, kPage, kSource };

struct Input {
    const char* property;
    const char* label;  // as the input form names the field
    const char* source;
};

const Input kCurrentYear[] = {
    {"CurAssets", "Current Assets", "Balance sheet at the current year end: total current assets"},
    {"Securities", "Investment in Securities",
     "Balance sheet: investments in securities not already in current assets"},
    {"NotesFromShareholders", "Notes Receivable from Shareholders",
     "Balance sheet: notes receivable from shareholders not already in current assets"},
    {"CurLiab", "Current Liabilities",
     "Balance sheet at the current year end: total current liabilities"},
    {"OtherWorkCapAdj", "Other Adjustments to Working Capital",
     "Your own adjustments to the available working capital"},
    {"InvBeg", "Beginning Inventory", "Balance sheet at the prior year end: inventory"},
    {"InvEnd", "Ending Inventory", "Balance sheet at the current year end: inventory"},
    {"InvPurchases", "Inventory Purchases",
     "Cost of goods sold schedule: the year's purchases of inventory"},
    {"NetSales", "Net Sales", "Income statement of the current year: net sales"},
    {"COGS", "Cost of Goods Sold", "Income statement of the current year: cost of goods sold"},
};

const Input kNextYear[] = {
    {"COGSNxtYr", "Cost of Goods Sold", "Next year's budget: cost of goods sold"},
    {"OperatingExpNxtYr", "Operating Expense", "Next year's budget: total operating expenses"},
    {"IncTaxNxtYr", "Income Tax Expense", "Next year's budget: income tax expense"},
    {"DeprecNxtYr", "Depreciation", "Next year's budget: depreciation (it needs no cash)"},
    {"OtherCostAdjNxtYr", "Other Adjustments to Cost of Operations",
     "Your own adjustments to next year's cost of operations"},
    {"Reasonableneeds", "Other Reasonable Needs",
     "The corporation's documented reasonable needs of the business"},
    {"Contingencies", "Contingencies", "The corporation's documented contingencies"},
};

const Input kAverageCycle[] = {
    {"ARBeg", "Beginning Accounts Receivable",
     "Balance sheet at the prior year end: accounts receivable"},
    {"AREnd", "Ending Accounts Receivable",
     "Balance sheet at the current year end: accounts receivable"},
    {"APBegRel2Inv", "Beginning Accounts Payable Related to Inventory",
     "Balance sheet at the prior year end: the accounts payable for inventory"},
    {"APEndRel2Inv", "Ending Accounts Payable Related to Inventory",
     "Balance sheet at the current year end: the accounts payable for inventory"},
};

int Heading(Sheet& s, int row, const std::string& text) {
    s.Text(row, 0, text, Style::Heading);
    return row + 1;
}

int Setting(Sheet& s, int row, const char* label, const char* property, const char* page,
            const std::string& note) {
    s.Text(row, kLabel, label);
    s.Text(row, kProperty, property, Style::Note);
    s.Text(row, kPage, page, Style::Note);
    s.Text(row, kSource, note, Style::Note);
    return row + 1;
}

int Amounts(Workbook& book, Sheet& s, int row, const Figures& f, const Input* inputs,
            std::size_t count, const char* page) {
    for (std::size_t i = 0; i < count; ++i, ++row) {
        const Input& in = inputs[i];
        const double value = f[in.property];
        s.Text(row, kLabel, in.label);
        s.Number(row, kEntered, value, Style::Dollars);
        s.Formula(row, kUsed, Formulas::WholeUnits(Sheet::Cell(row, kEntered)), value,
                  Style::Dollars);
        book.Name(in.property, s, row, kUsed);
        s.Text(row, kProperty, in.property, Style::Note);
        s.Text(row, kPage, page, Style::Note);
        s.Text(row, kSource, in.source, Style::Note);
    }
    return row;
}

int Made(Sheet& s, int row, const char* label, const std::string& formula, double value,
         const char* property, const char* how) {
    s.Text(row, kLabel, label, Style::Heading);
    s.Formula(row, kUsed, formula, value, Style::Dollars);
    s.Text(row, kProperty, property, Style::Note);
    s.Text(row, kSource, how, Style::Note);
    return row + 1;
}

}  // namespace

int PutRow(Workbook& book, Sheet& sheet, int row, const Row& r) {
    sheet.Text(row, 0, r.label);
    sheet.Formula(row, 1, r.formula, r.cached, r.style);
    sheet.Text(row, 2, r.property, Style::Note);
    sheet.Text(row, 3, r.note, Style::Note);
    if (r.name) book.Name(r.property, sheet, row, 1);
    return row + 1;
}

void WriteInputs(Workbook& book, const Figures& f) {
    Sheet& s = book.AddSheet("Inputs");
    s.Widths({44, 15, 15, 24, 30, 70});
    int row = 0;
    s.Text(row++, 0, "Inputs - Caldren Formula Calculator", Style::Title);
    s.Text(row++, 0, f.name, Style::Heading);
    s.Text(row++, 0, f.line2);
    row++;
    const char* heads[] = {"Input",
                           "Entered",
                           "Used (whole units)",
                           "Program property",
                           "Input form page",
                           "Where the accountant finds it"};
    for (int c = 0; c < 6; ++c) s.Text(row, c, heads[c], Style::Column);
    s.FreezeRows(++row);

    row = Heading(s, row, "Initial Inputs");
    s.Text(row, kEntered, f.name);
    row = Setting(s, row, "Name of Corporation", "sName", "Initial Inputs", "");
    s.Text(row, kEntered, f.line2);
    row = Setting(s, row, "Optional Second Line:", "Line2", "Initial Inputs",
                  "Printed below the name on each report");
    s.Flag(row, kEntered, f.doAve);
    row = Setting(s, row, "Average Cycle", "DoAveCycle", "Initial Inputs, Method",
                  "Gives the sheet Average Operating Cycle");
    s.Flag(row, kEntered, f.doPeak);
    row = Setting(s, row, "Peak Cycle", "DoPeakCycle", "Initial Inputs, Method",
                  "Gives the sheet Peak Operating Cycle");
    s.Date(row, kEntered, f.eoyCurrent);
    row = Setting(s, row, "End of current tax year", "EOYCurrent", "Initial Inputs",
                  "The year end of the balance sheet and the income statement");
    s.Date(row, kEntered, f.eoyNxtYr);
    row = Setting(s, row, "End of next year", "EOYNxtYr", "Initial Inputs",
                  "One year after the current year end");
    s.Flag(row, kEntered, f.useCurrentAmounts);
    row =
        Setting(s, row, "Use (current year) amounts as estimates for (next year) amounts",
                "UseCurrentAmounts", "Initial Inputs", "Kept with the analysis; no figure uses it");
    s.Flag(row, kEntered, f.estimate);
    row = Setting(s, row, "Estimate month-end inventory from monthly sales and purchases",
                  "DoPeakUseSalesAndPurch", "Peak Operating Cycle",
                  "TRUE when the box \"Use End - of - Month inventory instead of monthly sales & "
                  "inventory purchases\" is not checked");
    row++;

    row = Heading(s, row, "General Inputs - Tax Year Ending " + f.eoyCurrent);
    row = Amounts(book, s, row, f, kCurrentYear, std::size(kCurrentYear), "General Inputs");
    row++;
    common::Date next{};
    if (auto d = common::ParseSlashDate(f.eoyNxtYr)) next = *d;
    row = Heading(s, row, "General Inputs - Tax Year Ending " + common::ShortDateText(next));
    row = Amounts(book, s, row, f, kNextYear, std::size(kNextYear), "General Inputs");
    row++;
    row = Heading(s, row, "Average Operating Cycle - Tax Year Ending " + f.eoyCurrent);
    row = Amounts(book, s, row, f, kAverageCycle, std::size(kAverageCycle),
                  "Average Operating Cycle");
    row++;

    row = Heading(s, row, "Made from the inputs");
    book.Name("AvailableWC", s, row, kUsed);
    row = Made(s, row, "Available Working Capital",
               "CurAssets+Securities+NotesFromShareholders-CurLiab+OtherWorkCapAdj",
               f["AvailableWC"], "AvailableWC",
               "Current Assets + Investment in Securities + Notes Receivable from Shareholders "
               "- Current Liabilities + Other Adjustments to Working Capital");
    book.Name("CostOfOperations", s, row, kUsed);
    Made(s, row, "Operating Expenses As Adj.",
         "COGSNxtYr+OperatingExpNxtYr+IncTaxNxtYr-DeprecNxtYr+OtherCostAdjNxtYr",
         f["CostOfOperations"], "CostOfOperations",
         "Next year's Cost of Goods Sold + Operating Expense + Income Tax Expense - "
         "Depreciation + Other Adjustments to Cost of Operations");
}

MonthsLayout WriteMonths(Workbook& book, const Figures& f) {
    Sheet& s = book.AddSheet("Months");
    const bool estimating = f.doPeak && f.estimate;
    int row = 0;
    s.Text(row++, 0, "Months", Style::Title);
    s.Text(row++, 0, f.name, Style::Heading);
    s.Text(row++, 0, "Tax Year Ending " + f.eoyCurrent);
    row++;

    std::string factor;  // the cell of 1 - g / 100
    if (estimating) {
        s.Widths({44, 15, 15, 15, 15, 15, 15, 17, 15, 17, 15});
        row = Heading(s, row, "Gross Profit Percent");
        const auto b = [&](int r) { return Sheet::Cell(r, 1); };
        const int ns = row;
        row = PutRow(book, s, row,
                     {"Net Sales", "NetSales", f["NetSales"], Style::Dollars, "NetSales", ""});
        row = PutRow(book, s, row,
                     {"Cost of Goods Sold", "COGS", f["COGS"], Style::Dollars, "COGS", ""});
        const int gp = row;
        row = PutRow(book, s, row,
                     {"(Net Sales - Cost of Goods Sold) x 100 / Net Sales",
                      "(" + b(ns) + "-" + b(ns + 1) + ")*100/" + b(ns), f.gpDouble, Style::Precise,
                      "", "not rounded"});
        row = PutRow(book, s, row,
                     {"Scale to single precision", Formulas::SingleScale(b(gp)), f.gpScale,
                      Style::Precise, "", "a power of two: 24 binary digits before the point"});
        const int single = row;
        row = PutRow(book, s, row,
                     {"The percent in single precision", Formulas::Single(b(gp), b(gp + 1)),
                      f.gpSingle, Style::Precise, "",
                      "the program keeps the percent in single precision (24 binary digits, "
                      "halves to even)"});
        const int five = row;
        row = PutRow(book, s, row,
                     {"To five decimals", Formulas::Round(b(single), 5, Formulas::Tie::Even),
                      f.gpFive, Style::Precise, "", "halves to even"});
        row = PutRow(book, s, row,
                     {"Scale to single precision", Formulas::SingleScale(b(five)), f.gpFiveScale,
                      Style::Precise, "", ""});
        row = PutRow(book, s, row,
                     {"Stored in single precision", Formulas::Single(b(five), b(five + 1)),
                      f.gpStored, Style::Precise, "", ""});
        row = PutRow(book, s, row,
                     {"Gross Profit Percent", Formulas::Round(b(five + 2), 2, Formulas::Tie::Even),
                      f["GrossProfitPercent"], Style::Hundredths, "GrossProfitPercent",
                      "as the program shows it: two decimals, halves to even"});
        const int four = row;
        row = PutRow(
            book, s, row,
            {"Percent used: to four decimals", Formulas::Round(b(single), 4, Formulas::Tie::Even),
             f.gpFour, Style::Precise, "", "halves to even"});
        factor = "$B$" + std::to_string(row + 1);
        row = PutRow(book, s, row,
                     {"Cost of sales per dollar of sales", "1-" + b(four) + "/100", f.factor,
                      Style::Precise, "", "1 - percent / 100"});
        row = PutRow(book, s, row,
                     {"Beginning Inventory", "InvBeg", f["InvBeg"], Style::Dollars, "InvBeg",
                      "the first month starts from it"});
        row++;
    } else {
        s.Widths({44, 15, 15, 15, 15, 15});
    }

    // Column groups, headings, the engine property of each computed column.
    const char* entered = estimating || f.estimate ? "Sales" : "Inventory";
    std::vector<std::string> heads = {"Month End", "Receivables", entered};
    if (f.estimate) heads.push_back("Purchases");
    const int amounts = static_cast<int>(heads.size()) - 1;
    s.Text(row, 1, "Entered", Style::Heading);
    s.Text(row, 1 + amounts, "Used by the calculation (whole units)", Style::Heading);
    if (estimating) s.Text(row, 1 + 2 * amounts, "Estimated month-end inventory", Style::Heading);
    ++row;
    for (int k = 0; k < amounts; ++k) heads.push_back(heads[static_cast<std::size_t>(k) + 1]);
    if (estimating)
        for (const char* h : {"Sales x cost of sales per dollar", "Cost of sales (four decimals)",
                              "Inventory before rounding", "Inventory"})
            heads.push_back(h);
    for (std::size_t c = 0; c < heads.size(); ++c)
        s.Text(row, static_cast<int>(c), heads[c], Style::Column);
    ++row;
    s.Text(row, 0, "Program property", Style::Note);
    s.Text(row, 1 + amounts, "Monthly.Receivables", Style::Note);
    s.Text(row, 2 + amounts, f.estimate ? "Monthly.Sales" : "Monthly.Inventory", Style::Note);
    if (f.estimate) s.Text(row, 3 + amounts, "Monthly.Purchases", Style::Note);
    if (estimating) s.Text(row, 4 + 2 * amounts, "Monthly.Inventory", Style::Note);
    ++row;

    MonthsLayout layout;
    layout.firstRow = row;
    layout.receivablesCol = 1 + amounts;
    layout.inventoryCol = estimating ? 4 + 2 * amounts : 2 + amounts;
    const int first = row;
    for (std::size_t i = 0; i < f.months.size(); ++i, ++row) {
        const MonthFigures& m = f.months[i];
        const double values[] = {m.receivables, f.estimate ? m.sales : m.inventory, m.purchases};
        s.Date(row, 0, m.date);
        const Style look = i == 0 ? Style::Dollars : Style::Whole;
        for (int k = 0; k < amounts; ++k) {
            s.Number(row, 1 + k, values[k], look);
            s.Formula(row, 1 + amounts + k, Formulas::WholeUnits(Sheet::Cell(row, 1 + k)),
                      values[k], look);
        }
        if (!estimating) continue;
        const int c = 1 + 2 * amounts;  // sales x factor, cost of sales, before, inventory
        const std::string previous = i == 0 ? std::string("InvBeg") : Sheet::Cell(row - 1, c + 3);
        s.Formula(row, c, Sheet::Cell(row, 2 + amounts) + "*" + factor, m.salesTimesFactor,
                  Style::Precise);
        s.Formula(row, c + 1, Formulas::Round(Sheet::Cell(row, c), 4, Formulas::Tie::Even),
                  m.costOfSales, Style::Cents4);
        s.Formula(row, c + 2,
                  previous + "+" + Sheet::Cell(row, 3 + amounts) + "-" + Sheet::Cell(row, c + 1),
                  m.inventoryBeforeRounding, Style::Cents4);
        s.Formula(row, c + 3, Formulas::Round(Sheet::Cell(row, c + 2), 0, Formulas::Tie::Even),
                  m.inventory, look);
    }
    if (!f.months.empty()) {
        s.Text(row, 0, "Control Tot.", Style::Heading);
        for (int k = 0; k < amounts; ++k) {
            double total = 0;
            for (const MonthFigures& m : f.months)
                total += k == 0       ? m.receivables
                         : k == 2     ? m.purchases
                         : f.estimate ? m.sales
                                      : m.inventory;
            s.Formula(row, 1 + k,
                      "SUM(" + Sheet::Cell(first, 1 + k) + ":" + Sheet::Cell(row - 1, 1 + k) + ")",
                      total, Style::Dollars);
        }
    }
    return layout;
}

}  // namespace workpaper
