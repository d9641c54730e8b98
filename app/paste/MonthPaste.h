// MonthPaste: months pasted from a spreadsheet into the monthly grid of the input form.
//
// A spreadsheet copies a block of cells as text: one line per row (CR LF or LF), cells
// separated by tabs. Amounts come as the sheet shows them: "1,234", "$1,234.50",
// "(1,234)" for a negative, "-$75". PlanPaste turns such text into the cells to set, from
// the focused cell down and to the right, in the grid's column order; ApplyPaste hands them
// one by one to a setter (the window passes the month objects' property setters, so every
// value is checked by the engine) and stops at the first value the setter refuses: the
// cells set before it stay.
//
// A first row of words is the columns' headings: the columns then go where their names say
// (MatchHeading), in any order, and a heading that names no column of the months, a column
// named twice or a column the months need that is missing refuses the whole paste. Without
// a heading row the cells go in the grid's order from the focused cell.
//
// Standard library only; the windows library wires it to the grid.
#pragma once

#include <activation/Com.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MonthPaste {

// The grid's columns, in their order on the form.
enum GridColumn : int {
    kMonthDate = 0,         // txtMonthDate: only row 0 is stored (the others are derived)
    kReceivables = 1,       // txtReceivables
    kSalesOrInventory = 2,  // txtSalesInv: Sales, or Inventory with month-end inventory
    kPurchases = 3,         // txtPurchases: hidden with month-end inventory
};

constexpr int kGridRows = 12;

// What the grid offers: the columns shown, in order (without kPurchases when the
// purchase boxes are hidden), and what its third column holds.
struct GridShape {
    int rows = kGridRows;
    std::vector<int> columns{kMonthDate, kReceivables, kSalesOrInventory, kPurchases};
    bool inventory = false;  // month-end inventory, else the month's sales
};

// The figures of a month a heading can name.
enum class Heading { None, MonthEnd, Receivables, Sales, Inventory, Purchases };

// The figure a heading cell names; case, blanks and punctuation do not count, nor does a
// plural: "Month End", "Month", "Date"; "Receivables", "A/R", "Accounts Receivable";
// "Sales"; "Inventory"; "Purchases". None for any other text.
Heading MatchHeading(std::string_view cell);

// One value to set: grid row (0..11), grid column, the text for the engine's setter.
struct Cell {
    int row = 0;
    int column = 0;
    std::string value;
    bool operator==(const Cell&) const = default;
};

struct Plan {
    std::vector<Cell> cells;  // in order: row by row, left to right
    bool headingSkipped = false;
    int cellsOutside = 0;  // pasted cells that fall beyond the grid (dropped)
    // Not empty when the text is not a block of figures, or its heading row does not fit
    // the months; nothing is set then.
    std::string error;
    // Not empty when the heading row names figures the grid does not take as it is set
    // (inventory while it takes sales and purchases, or the reverse): said after the paste.
    std::string note;
};

// The text of the refusal of text that is not rows of figures.
extern const char* const kNotTabular;

// True when the text holds more than one cell (a tab or a line break inside it): the
// grid pastes it across cells; a single value is left to the box's own paste.
bool IsBlock(std::string_view clipboard);

// An amount as a spreadsheet shows it, in the engine's plain form: "$1,234.50" ->
// "1234.50", "(1,234)" -> "-1234", "-$75" -> "-75", "" -> "0". The syntax is the one the
// input fields take (<common/AmountText.h>). Empty optional when it is not an amount (the raw text
// then goes to the engine, which refuses it).
std::optional<std::string> NormalizeAmount(std::string_view cell);

// The rows and cells of the text: lines split at CR LF, LF or a lone CR; a final line
// break ends the last row (no empty row after it); cells trimmed of blanks.
std::vector<std::vector<std::string>> SplitRows(std::string_view clipboard);

// The cells to set when the text is pasted at (startRow, startColumn). The first row is
// a heading row when none of its cells is a number or a date while some are not empty:
// its columns then go to the grid's columns by name from startRow down, whatever
// startColumn is, and every figure the grid shows besides the month end (receivables, and
// sales and purchases or inventory) must be among them. Without one the cells go from
// startColumn to the right in the grid's order. A short row sets only the cells it has;
// an empty cell sets 0; an empty row sets nothing but keeps its place. Dates in the date
// column are kept as typed, and only row 0's is set. Text that holds no figure at all,
// a cell longer than 64 characters, a NUL character or more than 64 KiB is not a block of
// figures: `error` is kNotTabular and no cell is planned.
Plan PlanPaste(std::string_view clipboard, int startRow, int startColumn,
               const GridShape& shape = {});

// Result of applying a plan.
struct Outcome {
    std::size_t applied = 0;                    // cells set
    std::optional<Cell> failedCell;             // the cell refused, if any
    std::optional<activation::ComError> error;  // the setter's error for it
    bool Ok() const { return !failedCell; }
};

// Calls `set` for each cell in order; the first ComError stops the paste at that cell.
// Other exceptions propagate (after the cells already set).
Outcome ApplyPaste(const Plan& plan, const std::function<void(const Cell&)>& set);

}  // namespace MonthPaste
