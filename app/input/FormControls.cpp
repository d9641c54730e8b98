#include "FormControls.h"

#include "FormUndo.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace caldren::input {

namespace {
const char* const kLocation = "frmIP";

enum class EditKey { None, Undo, Redo };

// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo.
EditKey editKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Z && mods == Qt::ControlModifier) return EditKey::Undo;
    if ((event->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return EditKey::Redo;
    return EditKey::None;
}
}  // namespace

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
        if (const EditKey edit = editKey(event); edit != EditKey::None) {
            if (FormUndo* undo = m_context->undo())
                edit == EditKey::Undo ? undo->undo() : undo->redo();
            used = true;
            return;
        }
        used = (event->matches(QKeySequence::Paste) && m_pasting && m_pasting()) ||
               (m_key && m_key(event));
    });
    if (!used) QLineEdit::keyPressEvent(event);
}

void FieldBox::pasteHere() {
    Guard(*m_context, kLocation, [&] {
        if (!m_context->closing() && !(m_pasting && m_pasting())) paste();
    });
}

void FieldBox::contextMenuEvent(QContextMenuEvent* event) {
    if (m_context->closing()) return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuFieldEdit"));
    if (FormUndo* undo = m_context->undo()) {
        undo->updateActions();
        menu.addAction(undo->undoAction());
        menu.addAction(undo->redoAction());
        menu.addSeparator();
    }
    const bool selected = hasSelectedText(), writable = !isReadOnly();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    auto add = [&](const QString& text, const QKeySequence& keys, bool enabled, auto&& step) {
        QAction* action = menu.addAction(text, this, step);
        action->setShortcut(keys);
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(enabled);
    };
    add(QStringLiteral("Cu&t"), QKeySequence::Cut, selected && writable, [this] { cut(); });
    add(QStringLiteral("&Copy"), QKeySequence::Copy, selected, [this] { copy(); });
    add(QStringLiteral("&Paste"), QKeySequence::Paste,
        writable && clipboard && !clipboard->text().isEmpty(), [this] { pasteHere(); });
    add(QStringLiteral("Delete"), QKeySequence(), selected && writable, [this] { del(); });
    menu.addSeparator();
    add(QStringLiteral("Select All"), QKeySequence::SelectAll, !text().isEmpty(),
        [this] { selectAll(); });
    menu.exec(event->globalPos());
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
