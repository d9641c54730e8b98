#include "BoundField.h"

#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "app/paste/AmountText.h"

#include <QPalette>

#include <utility>

namespace caldren::input {

namespace {

using activation::ComError;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }
std::string toUtf8(const QString& text) { return text.toStdString(); }

void reportTextChgError(const FormContext& form, const ComError& err) {
    form.reportError(err.Number(), err.Description(),
                     std::string("ControlExtend.TextChg\r") + err.Source());
}

}  // namespace

BoundField::BoundField(FormContextPtr context, bool amount, QWidget* parent)
    : FieldBox(std::move(context), parent), m_amount(amount) {
    whenEntered([this](Qt::FocusReason reason) { entered(reason); });
    whenPressed([this] {
        if (!std::exchange(m_clickToSelect, false)) return false;
        ControlExtend::SelectAllText(this);
        return true;
    });
    whenLeft([this] { left(); });
    whenKey([this](QKeyEvent* key) { return ControlExtend::EnterAsTab(key, this); });
    connect(this, &QLineEdit::textChanged, this,
            [this] { Guard(this->context(), "ControlExtend.TextChg", [&] { changed(); }); });
}

BoundField::BoundField(FormContextPtr context, std::string property, bool amount,
                       const QString& help, const QString& label, QWidget* parent)
    : BoundField(std::move(context), amount, parent) {
    m_property = std::move(property);
    m_help = [help] { return help; };
    m_label = [label] { return label; };
}

BoundField::BoundField(FormContextPtr context, Figure figure, int row, Text help, Text label,
                       QWidget* parent)
    : BoundField(std::move(context), true, parent) {
    m_figure = figure;
    m_row = row;
    m_help = std::move(help);
    m_label = std::move(label);
}

std::unique_ptr<ControlExtend::Target> BoundField::target() const {
    vesmora::_Caldren* engine = context().document().engine.Get();
    if (!isMonthFigure()) return std::make_unique<ControlExtend::CaldrenTarget>(engine);
    return std::make_unique<ControlExtend::MonthlyTarget>(engine, m_row + 1);
}

std::string BoundField::propertyName() const {
    if (!isMonthFigure()) return m_property;
    switch (m_figure) {
        case Figure::Receivables:
            return "Receivables";
        case Figure::Purchases:
            return "Purchases";
        case Figure::SalesOrInventory:
            // Decided by the engine's option at each change, not by the check box.
            return context().engine().get_DoPeakUseSalesAndPurch() ? "Sales" : "Inventory";
    }
    return m_property;
}

void BoundField::showValue() { setText(fromUtf8(target()->Get(propertyName()))); }

void BoundField::noteEntryValue() { m_entryValue = target()->Get(propertyName()); }

void BoundField::changed() {
    if (context().loading()) return;
    if (m_amount && text().isEmpty()) {
        // Setting "0" runs this handler once more, which sends the "0".
        setText(QStringLiteral("0"));
        ControlExtend::SelectAllText(this);
    }
    if (m_amount) {
        amountChanged();
        return;
    }
    try {
        auto to = target();
        const std::string name = propertyName();
        const std::string before = to->Get(name);
        ControlExtend::TextChg(this, *to, name, context());
        context().markChanged(to->Get(name) != before);
    } catch (const ComError& err) {
        reportTextChgError(context(), err);
    }
}

void BoundField::entered(Qt::FocusReason reason) {
    ControlExtend::SelectAllText(this);
    noteEntryValue();
    context().showHelp(m_help());
    // Entered with the mouse, the field is selected whole as a spreadsheet cell is: the
    // press that gave the focus does not place the caret (the next one does).
    m_clickToSelect = reason == Qt::MouseFocusReason;
}

void BoundField::left() {
    m_clickToSelect = false;
    try {
        if (m_amount) amountLeft();
        auto to = target();
        setText(fromUtf8(ControlExtend::GetPropByName(*to, propertyName())));
        if (m_afterLeaving) m_afterLeaving();
    } catch (const ComError& err) {
        reportTextChgError(context(), err);
    }
}

void BoundField::amountChanged() {
    try {
        auto to = target();
        const std::string name = propertyName();
        const std::string before = to->Get(name);
        const bool fine = ControlExtend::AmountChg(toUtf8(text()), *to, name, context());
        showAsAmount(fine);
        context().markChanged(to->Get(name) != before);
    } catch (const ComError& err) {
        reportTextChgError(context(), err);
    }
}

void BoundField::amountLeft() {
    auto to = target();
    const std::string name = propertyName();
    const std::string typed = toUtf8(text());
    const ControlExtend::AmountCheck check = ControlExtend::AmountLeft(typed, *to, name);
    if (check == ControlExtend::AmountCheck::Taken) return;
    // Back to the value the field held when it was entered, in the target and the box.
    const std::string before = to->Get(name);
    to->Let(name, AmountText::Normalize(m_entryValue).value_or(m_entryValue));
    context().markChanged(to->Get(name) != before);
    setText(fromUtf8(to->Get(name)));
    const std::string message =
        ControlExtend::AmountRefusal(toUtf8(m_label()), typed, check, to->Get(name));
    context().ui().MsgBox(message, kOkOnly | kExclamation, kTitle);
    context().ui().Beep();
}

void BoundField::showAsAmount(bool amount) {
    // A text that cannot become an amount shows in red until it is mended or the field is
    // left; no message interrupts the typing.
    if (property("notAnAmount").toBool() == !amount) return;
    setProperty("notAnAmount", !amount);
    QPalette palette;  // no role of its own: the box's usual colours
    if (!amount) palette.setColor(QPalette::Text, QColor(0xb0, 0x00, 0x20));
    setPalette(palette);
}

}  // namespace caldren::input
