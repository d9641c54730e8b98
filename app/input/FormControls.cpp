#include "FormControls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace caldren::input {

namespace {
const char* const kLocation = "frmIP";
}

FieldBox::FieldBox(FormContextPtr context, QWidget* parent)
    : QLineEdit(parent), m_context(std::move(context)) {}

void FieldBox::makeDateBox() {
    setInputMask(QStringLiteral("99/99/9999;_"));
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
}

void FieldBox::focusInEvent(QFocusEvent* event) {
    Guard(*m_context, kLocation, [&] {
        if (m_context->entering(this, event->reason()) && m_entered) m_entered(event->reason());
    });
    QLineEdit::focusInEvent(event);
}

void FieldBox::focusOutEvent(QFocusEvent* event) {
    Guard(*m_context, kLocation, [&] {
        if (m_context->leaving(event->reason()) && m_left) m_left();
    });
    QLineEdit::focusOutEvent(event);
}

void FieldBox::keyPressEvent(QKeyEvent* event) {
    bool used = false;
    Guard(*m_context, kLocation, [&] {
        if (m_context->closing()) return;
        used = (event->matches(QKeySequence::Paste) && m_pasting && m_pasting()) ||
               (m_key && m_key(event));
    });
    if (!used) QLineEdit::keyPressEvent(event);
}

void FieldBox::mousePressEvent(QMouseEvent* event) {
    bool used = false;
    Guard(*m_context, kLocation, [&] { used = !m_context->closing() && m_pressed && m_pressed(); });
    if (!used) QLineEdit::mousePressEvent(event);
}

void FieldBox::mouseReleaseEvent(QMouseEvent* event) {
    Guard(*m_context, kLocation, [&] {
        if (!m_context->closing() && m_released) m_released();
    });
    QLineEdit::mouseReleaseEvent(event);
}

FormButton::FormButton(FormContextPtr context, const QString& caption, const QString& help,
                       QWidget* parent)
    : QPushButton(caption, parent), m_context(std::move(context)), m_help(help) {
    // Enter on the focused button presses it (keyPressEvent); there is no default button.
    setAutoDefault(false);
}

void FormButton::focusInEvent(QFocusEvent* event) {
    if (m_context->entering(this, event->reason()) && !m_help.isEmpty())
        m_context->showHelp(m_help);
    QPushButton::focusInEvent(event);
}

void FormButton::keyPressEvent(QKeyEvent* event) {
    if (!m_context->closing() &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        Guard(*m_context, kLocation, [&] { click(); });
        return;
    }
    QPushButton::keyPressEvent(event);
}

FormCheckBox::FormCheckBox(FormContextPtr context, const QString& caption, const QString& help,
                           QWidget* parent)
    : QCheckBox(caption, parent), m_context(std::move(context)), m_help(help) {}

void FormCheckBox::focusInEvent(QFocusEvent* event) {
    if (m_context->entering(this, event->reason())) m_context->showHelp(m_help);
    QCheckBox::focusInEvent(event);
}

}  // namespace caldren::input
