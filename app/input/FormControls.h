// The input form's kinds of control: a text box, a button and a check box that carry their
// own behaviour and keep the form's focus rules (FormContext), so that nothing watches their
// events from outside.
//
// What a FieldBox does when it is entered, left, typed into, pasted into or clicked is set
// by whoever builds it; each step runs under Guard with the location "frmIP", and none runs
// once the form is closing. A step runs before the line edit's own handling of the event;
// a key, paste or press it reports as used up never reaches the line edit. Ctrl+Z, Ctrl+Y
// and Ctrl+Shift+Z are the form's undo and redo, never the box's own, and its context menu
// holds them beside the box's Cut, Copy, Paste (the box's paste step first), Delete and
// Select All.
#pragma once

#include "FormContext.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <functional>
#include <memory>

namespace caldren::input {

using FormContextPtr = std::shared_ptr<FormContext>;

class FieldBox : public QLineEdit {
public:
    explicit FieldBox(FormContextPtr context, QWidget* parent = nullptr);

    // A date box: the mask "99/99/9999" with "_" for the places not typed yet, as wide as a
    // date.
    void makeDateBox();

    // Entered (not the window coming back to the box that had the focus).
    void whenEntered(std::function<void(Qt::FocusReason)> step) { m_entered = std::move(step); }
    // Left for another control of the form (not the focus leaving with the window).
    void whenLeft(std::function<void()> step) { m_left = std::move(step); }
    // A key pressed; true when the step used it up.
    void whenKey(std::function<bool(QKeyEvent*)> step) { m_key = std::move(step); }
    // Ctrl+V; true when the step pasted (else the box pastes and the key step runs).
    void whenPasting(std::function<bool()> step) { m_pasting = std::move(step); }
    // The mouse pressed on the box; true when the step used the press up.
    void whenPressed(std::function<bool()> step) { m_pressed = std::move(step); }
    void whenReleased(std::function<void()> step) { m_released = std::move(step); }

protected:
    FormContext& context() const { return *m_context; }
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Ctrl+V, or Paste in the context menu.
    void pasteHere();

    FormContextPtr m_context;
    std::function<void(Qt::FocusReason)> m_entered;
    std::function<void()> m_left;
    std::function<bool(QKeyEvent*)> m_key;
    std::function<bool()> m_pasting;
    std::function<bool()> m_pressed;
    std::function<void()> m_released;
};

// A button that Enter presses, as Space does (the form has no default button that Enter
// elsewhere would press); entering it may show a help text.
class FormButton final : public QPushButton {
public:
    FormButton(FormContextPtr context, const QString& caption, const QString& help = {},
               QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FormContextPtr m_context;
    QString m_help;
};

// A check box whose help text shows when it is entered (entering selects nothing).
class FormCheckBox final : public QCheckBox {
public:
    FormCheckBox(FormContextPtr context, const QString& caption, const QString& help,
                 QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    FormContextPtr m_context;
    QString m_help;
};

}  // namespace caldren::input
