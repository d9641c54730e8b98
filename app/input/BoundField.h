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
// back) and shows the value as the target formats it. Enter acts as Tab.
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

    std::string m_property;  // a property of the engine
    Figure m_figure = Figure::Receivables;
    int m_row = -1;  // a month's figure: grid row 0..11 (month row + 1)
    bool m_amount = true;
    Text m_help;
    Text m_label;
    std::string m_entryValue;      // the target's value when the field was entered
    bool m_clickToSelect = false;  // the mouse press that gave the focus selects the text
    std::function<void()> m_afterLeaving;
};

}  // namespace caldren::input
