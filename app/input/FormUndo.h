// FormUndo: the input form's undo and redo, for the life of the form (Ctrl+Z; Ctrl+Y or
// Ctrl+Shift+Z; Undo and Redo in the form's context menus).
//
// A step is what changed between two moments at which the form settles: a field left, a
// paste, a box ticked, the months derived, cleared or moved, the year end left. Each step
// keeps the form's values after it (FormValues). Undo and redo write the values of the step
// before or after through the engine's setters, so that the results, the checks and the
// saved flag follow, and then the form shows them. Undo while a field is being typed in
// takes back that field's typing first. At the values last saved (when the form opened, or
// the file button's Save As) the analysis is as saved as it was then.
#pragma once

#include "FormValues.h"

#include <cstddef>
#include <functional>
#include <vector>

class QAction;
class QWidget;

namespace caldren::input {

class FormContext;

class FormUndo {
public:
    // The actions are the form's (its shortcuts); `showValues` puts the engine's values back
    // into the form's controls after an undo or a redo; `settled` runs after every step,
    // undo and redo.
    FormUndo(FormContext& context, QWidget* form, std::function<void()> showValues,
             std::function<void()> settled);

    // The values now are those the form opened with.
    void start();
    // The changes since the last step, if any, become a step (the steps undone are dropped).
    void stepDone();
    void undo();
    void redo();
    // The values now were just saved (the file button).
    void saved();
    // Whether the values differ from those last saved.
    bool changed() const;

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    // The actions enabled as the steps allow, the typing in progress counted as a step.
    void updateActions();

private:
    void go(std::size_t to);
    // After a step, an undo or a redo: the saved flag as the values say.
    void followSaved(const FormValues& now);

    FormContext& m_context;
    std::function<void()> m_showValues;
    std::function<void()> m_settled;
    std::vector<FormValues> m_steps;  // m_steps[0]: the values the form opened with
    std::size_t m_at = 0;
    FormValues m_savedValues;
    bool m_savedFlag = true;  // the saved flag when the values were m_savedValues
    QAction* m_undo;
    QAction* m_redo;
};

}  // namespace caldren::input
