// MonthGrid: the twelve months of the peak operating-cycle method on the input form.
//
// Inside the frame fraPeakOpCycle: the end-of-month box chkEndOfMonth, the column headings
// (lblMonth, lblReceivables, lblInventoryOrSales, lblPurchases), twelve rows of a date box
// (txtMonthDate) and three bound figures (txtReceivables, txtSalesInv, txtPurchases), each
// control array sharing its name and carrying its row in the property "Index", and the
// button "Clear Months". Row r shows month r + 1 of the engine's colMonths.
//
// Only the first month's date is typed (and is a tab stop): leaving it derives the other
// eleven. Typing in any date box chooses the peak method. Ctrl+V with a block of
// spreadsheet cells on the clipboard fills the months from the focused cell down and to
// the right, or by the columns' names when the block has a heading row. The grid writes the months;
// the engine's options (which the form's check boxes write) decide which figure the third column
// shows and edits.
#pragma once

#include "FormControls.h"

#include <array>
#include <vector>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace caldren::input {

class BoundField;

class MonthGrid {
public:
    enum class Column { MonthDate, Receivables, SalesInv, Purchases };

    // Builds the grid's controls and layout inside the frame.
    MonthGrid(FormContextPtr context, QGroupBox* frame);

    QCheckBox* endOfMonthBox() const { return chkEndOfMonth; }
    // The box in row 0..11 of a column, else null.
    QLineEdit* box(Column column, int row) const;
    // The grid's part of the form's focus order: the end-of-month box, the first month's
    // date, then row by row the receivables, sales-or-inventory and purchases.
    std::vector<QWidget*> focusOrder() const;

    // From the months (the load sequence): the dates, the receivables, and with the peak
    // method the third and fourth columns as the engine's options say.
    void fill();
    // The third and fourth columns, their headings and the end-of-month box from the
    // months and the engine's options.
    void fillAmountColumns();
    // The third column's heading and the purchases shown for the end-of-month choice.
    void showInventoryColumn(bool inventory);
    // The three figures of every row from the months.
    void refreshAmounts();
    // The date boxes from the months (after the checks moved them into the year).
    void refillDates();
    // After an undo or a redo: the end-of-month box, the columns and every cell from the
    // months, as loading shows them.
    void showMonths();
    // The receivables, sales-or-inventory and purchases cells, row by row.
    std::vector<BoundField*> amountFields() const;

private:
    void monthDateGotFocus(int row, QLineEdit* box);
    // A key in a date box: typing chooses the peak method; Enter acts as Tab.
    bool monthDateKey(QLineEdit* box, QKeyEvent* key);
    // The first month's date written and the other eleven derived from it.
    void monthDateLostFocus();
    // Ctrl+V in a cell: a block of spreadsheet cells from that cell down and to the right,
    // or by its headings (MonthPaste); every value through the month's setter, the first
    // refused value stops the paste there with its message. The paste is one undo step. False when
    // the clipboard holds a single value (the box pastes it itself).
    bool pasteMonths(QLineEdit* start);
    // "Clear Months": after a question, the twelve months' amounts to zero.
    void btnClearMonthsClick();
    // The focused cell's value on entry after the months were changed under it.
    void noteEntryValue();

    FormContextPtr m_context;
    QGroupBox* m_frame;
    QCheckBox* chkEndOfMonth = nullptr;
    QPushButton* btnClearMonths = nullptr;
    QLabel* lblMonth = nullptr;
    QLabel* lblReceivables = nullptr;
    QLabel* lblInventoryOrSales = nullptr;
    QLabel* lblPurchases = nullptr;
    std::array<FieldBox*, 12> txtMonthDate{};
    std::array<BoundField*, 12> txtReceivables{};
    std::array<BoundField*, 12> txtSalesInv{};
    std::array<BoundField*, 12> txtPurchases{};
};

}  // namespace caldren::input
