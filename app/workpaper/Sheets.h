// The sheets of the workpaper, in the order they stand in the workbook. Each writes its
// cells from the analysis' figures and names the cells the later sheets use after the
// engine properties they stand for (COGS, CostOfOperations, NeededWCAve, ...).
#pragma once

#include "Figures.h"
#include "Workbook.h"

#include <string>

namespace workpaper {

// Inputs: every input with its label, the value entered, the whole units the program uses,
// its engine property and where the accountant finds it; then the available working
// capital and the cost of operations made from them.
void WriteInputs(Workbook& book, const Figures& f);
// Months: the months' amounts as entered and as used, and, when the peak method estimates
// the month-end inventory, the gross profit percent and the estimate month by month.
// Where the months stand: the first month's row and the columns of the date and of the
// inventory and receivables the calculation uses.
struct MonthsLayout {
    int firstRow = 0;
    int dateCol = 0;
    int inventoryCol = 0;
    int receivablesCol = 0;
};
MonthsLayout WriteMonths(Workbook& book, const Figures& f);
// The peak operating cycle: the months' cycles, the peak, the need and the excesses.
void WritePeak(Workbook& book, const Figures& f, const MonthsLayout& months);
// The average operating cycle: the turnover days, the adjusted cycle, the need, the excesses.
void WriteAverage(Workbook& book, const Figures& f);
// The Summary, laid out like the Summary report.
void WriteSummary(Workbook& book, const Figures& f);

// One figure row of a computing sheet: label in column A, the figure in column B, the
// engine property in column C (named after it when `name` is set), a note in column D.
struct Row {
    std::string label;
    std::string formula;
    double cached = 0;
    Style style = Style::Dollars;
    std::string property;
    std::string note;
    bool name = false;
};
// Writes the row at `row` and returns the next row.
int PutRow(Workbook& book, Sheet& sheet, int row, const Row& r);

}  // namespace workpaper
