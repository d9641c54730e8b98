// BoundField: a text box of the input form bound to one property of the engine
// (txtCurAssets to "CurAssets") or to one figure of a month of the grid (the row's month,
// its receivables, purchases, or sales-or-inventory as the engine's option says at each
// access, never as the check box shows).
//
// Typing: every change goes to the property at once. A name or a line of text goes whole
// through ControlExtend::TextChg (a refusal: message, beep, last value back). An amount goes
// as typed so far through AmountChg, silently, red while it cannot become an amount; an
// emptied amount field becomes a selected "0".
// Entering selects the text, shows the help and notes the value on entry; entered with the
// mouse, the press that gave the focus selects the whole field as a spreadsheet cell does.
// Leaving checks an amount whole (a refusal names the field and puts the value on entry
// back) and shows the value as the target formats it; an amount typed in parentheses into
// a field the analysis subtracts asks once whether the positive amount was meant
// (SignMarks). Leaving ends a step of the form's undo. Enter acts as Tab.
#pragma once

#include "ControlExtend.h"
#include "FormControls.h"

#include <functional>
#include <memory>
#include <string>

namespace caldren::input {

class BoundField final : public FieldBox {
public:
    enum class Figure { Receivables, SalesOrInventory, Purchases };
    using Text = std::function<QString()>;

    // A property of the engine: an amount, or a text (the name, the second line). The label
    // names the field in messages.
    BoundField(FormContextPtr context, std::string property, bool amount, const QString& help,
               const QString& label, QWidget* parent);
    // A figure of the month in grid row 0..11; its help and its name in messages are asked
    // for when needed (they follow the engine's options and the row's date).
    BoundField(FormContextPtr context, Figure figure, int row, Text help, Text label,
               QWidget* parent);

    // The target's value in the box, as the target formats it.
    void showValue();
    // The target's value is the value on entry (the months were changed under the field).
    void noteEntryValue();
    // A step after the field was left and shows the target's value.
    void afterLeaving(std::function<void()> step) { m_afterLeaving = std::move(step); }
    bool isMonthFigure() const { return m_row >= 0; }
    bool isAmount() const { return m_amount; }

    // How messages name the field ("Current Liabilities", "Receivables of 07/15/2025").
    QString label() const { return m_label(); }
    // The target's property the field edits now, and its value as the target formats it.
    std::string boundProperty() const { return propertyName(); }
    std::string value() const;
    // A negative amount where none can be: the warning sign, the red frame and the tooltip
    // `why`; none when it is empty.
    void setSignMark(const QString& why);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BoundField(FormContextPtr context, bool amount, QWidget* parent);
    std::unique_ptr<ControlExtend::Target> target() const;
    std::string propertyName() const;
    void changed();
    void entered(Qt::FocusReason reason);
    void left();
    void amountChanged();
    void amountLeft();
    void showAsAmount(bool amount);
    // "(1,040,200)" left in a field the analysis subtracts: Use 1,040,200, or Keep it.
    void askIfSubtracted(const std::string& typed, ControlExtend::Target& to,
                         const std::string& name);

    std::string m_property;  // a property of the engine
    Figure m_figure = Figure::Receivables;
    int m_row = -1;  // a month's figure: grid row 0..11 (month row + 1)
    bool m_amount = true;
    Text m_help;
    Text m_label;
    std::string m_entryValue;      // the target's value when the field was entered
    bool m_clickToSelect = false;  // the mouse press that gave the focus selects the text
    std::function<void()> m_afterLeaving;
    QAction* m_signMark = nullptr;  // the warning sign inside the box, once marked
};

}  // namespace caldren::input
