#include "BoundField.h"

#include "SignMarks.h"
#include "app/core/ProgramInfo.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "app/dialogs/Dialogs.h"
#include "app/paste/AmountText.h"

#include <QAction>
#include <QPainter>
#include <QPalette>
#include <QStyle>

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

void BoundField::showValue() {
    setText(fromUtf8(target()->Get(propertyName())));
    if (m_amount) showAsAmount(true);
}

std::string BoundField::value() const { return target()->Get(propertyName()); }

void BoundField::setSignMark(const QString& why) {
    if (!m_signMark && why.isEmpty()) return;
    if (!m_signMark) {
        m_signMark = addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                               QLineEdit::LeadingPosition);
        m_signMark->setText(QStringLiteral("Negative amount"));
    }
    m_signMark->setVisible(!why.isEmpty());
    m_signMark->setToolTip(why);
    setToolTip(why);
    setAccessibleDescription(why);
    update();
}

void BoundField::paintEvent(QPaintEvent* event) {
    FieldBox::paintEvent(event);
    if (!m_signMark || !m_signMark->isVisible()) return;
    // The red frame around a marked box (the sign inside says it without colour).
    QPainter painter(this);
    painter.setPen(QPen(QColor(0xc0, 0x00, 0x00), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

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
    context().stepDone();
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
    if (check == ControlExtend::AmountCheck::Taken) {
        askIfSubtracted(typed, *to, name);
        return;
    }
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

void BoundField::askIfSubtracted(const std::string& typed, ControlExtend::Target& to,
                                 const std::string& name) {
    const QString text = fromUtf8(typed).trimmed();
    if (isMonthFigure() || !text.startsWith(u'(') || !text.endsWith(u')')) return;
    const std::string value = to.Get(name);
    if (value.empty() || value.front() != '-') return;  // "(0)"
    // The amount as the field shows it, without its sign: "(1040200)" asks "Use 1,040,200?".
    const QString amount = fromUtf8(value.substr(1));
    const QString question = SubtractedQuestion(name, m_label(), amount);
    if (question.isEmpty()) return;
    const MsgAnswer answer =
        context().dialogs().ask(window(), question, kYesNo | kQuestion, QString::fromUtf8(kTitle),
                                UseButton(amount), KeepButton(amount));
    if (answer != MsgAnswer::Yes) return;
    to.Let(name, value.substr(1));
    context().markChanged(to.Get(name) != value);
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
