// FormContext: what the controls of the input form share.
//
// The run state (its engine is what every field edits), its Ui (messages, beep) and the
// run's dialogs (the error reporter's window, the help window); the loading flag, under which the
// fields' change handlers write nothing; the help pane; the step after each change the engine took;
// and the rules that tell a control entered or left from the window losing and regaining the focus.
// The form and every control of it hold it, so that a control still asks it safely while the form
// is being destroyed.
#pragma once

#include <activation/Com.h>

#include <QString>
#include <Qt>

#include <exception>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace vesmora {
class _Caldren;
}

namespace caldren {
struct Document;
struct RunState;
class Ui;
}  // namespace caldren
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::input {

class FormUndo;

class FormContext {
public:
    FormContext(RunState& state, Ui& ui, dialogs::Dialogs& dialogs)
        : m_state(state), m_ui(ui), m_dialogs(dialogs) {}

    RunState& state() const { return m_state; }
    Document& document() const;
    Ui& ui() const { return m_ui; }
    dialogs::Dialogs& dialogs() const { return m_dialogs; }
    vesmora::_Caldren& engine() const;

    // Set while the form fills its controls from the engine.
    bool loading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

    void setHelpPane(QPlainTextEdit* pane) { m_helpPane = pane; }
    void showHelp(const QString& text) const;

    // After a write: when the engine took a change, the analysis is unsaved and the results
    // and the checks follow it (before OK).
    void markChanged(bool changed) const;

    // The form's undo (set once the form has loaded). A control that settles (a field
    // left, a paste, a box ticked) ends a step: what changed since the last one can be
    // undone at once. Nothing is a step while the form loads or closes.
    void setUndo(FormUndo* undo) { m_undo = undo; }
    FormUndo* undo() const { return m_closing ? nullptr : m_undo; }
    void stepDone() const;

    // A date the engine would refuse (the year end, the first month): the message, a beep,
    // and the engine's value back in the box.
    void putDateBack(QLineEdit* box, const std::string& engineValue) const;

    // ReportError of an error reporter of its own, released at once: the error in a window,
    // and in the run's error log.
    void reportError(long number, const std::string& description,
                     const std::string& location) const;

    // Entering a control: false when the focus only comes back with the window (from a
    // message box, another program) to the control that had it.
    bool entering(const QWidget* control, Qt::FocusReason reason);
    // Leaving one: false when the focus only leaves with the window.
    bool leaving(Qt::FocusReason reason) const;
    // Closing (OK, Cancel, Esc, the close box) or destroyed: the controls losing the focus
    // with the window are not fields being left, nor is anything else they see.
    bool closing() const { return m_closing; }
    void setClosing() { m_closing = true; }

private:
    RunState& m_state;
    Ui& m_ui;
    dialogs::Dialogs& m_dialogs;
    bool m_loading = false;
    bool m_closing = false;
    QPlainTextEdit* m_helpPane = nullptr;
    FormUndo* m_undo = nullptr;
    const QWidget* m_entered = nullptr;  // the control that was entered last
};

// An error that escaped a handler, to the error reporter with the handler's location.
void ReportHandlerError(const FormContext& context, const char* location,
                        const activation::ComError& err);
void ReportHandlerError(const FormContext& context, const char* location,
                        const std::exception& err);

// Runs a handler; an error that escapes it goes to the error reporter with the handler's
// location, and the form goes on (no exception ever crosses the event loop).
template <class F>
void Guard(const FormContext& context, const char* location, F&& handler) {
    try {
        handler();
    } catch (const activation::ComError& err) {
        ReportHandlerError(context, location, err);
    } catch (const std::exception& err) {
        ReportHandlerError(context, location, err);
    }
}

}  // namespace caldren::input
