#include "FormContext.h"

#include "ControlExtend.h"
#include "FormUndo.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "app/dialogs/ErrorDialogs.h"

#include <analysis/InputChanges.h>

#include <QLineEdit>
#include <QPlainTextEdit>

namespace caldren::input {

Document& FormContext::document() const { return m_state.document; }

vesmora::_Caldren& FormContext::engine() const { return *m_state.document.engine; }

void FormContext::showHelp(const QString& text) const {
    if (m_helpPane) m_helpPane->setPlainText(text);
}

void FormContext::markChanged(bool changed) const {
    if (!changed) return;
    m_state.document.SetSaved(false);
    // The results and the checks follow each accepted change, before OK.
    analysis::InputChanges().Notify();
}

void FormContext::stepDone() const {
    if (m_undo && !m_loading && !m_closing) m_undo->stepDone();
}

void FormContext::putDateBack(QLineEdit* box, const std::string& engineValue) const {
    m_ui.MsgBox(ControlExtend::RejectionMessage(10002), kOkOnly, kTitle);
    m_ui.Beep();
    box->setText(QString::fromStdString(engineValue));
}

void FormContext::reportError(long number, const std::string& description,
                              const std::string& location) const {
    dialogs::ReportError(m_dialogs, m_state.program.errorLogPath, number, description, location);
}

bool FormContext::entering(const QWidget* control, Qt::FocusReason reason) {
    if (m_closing) return false;
    const bool withWindow = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    // The focus coming back to the control that had it: the control was never left.
    if (withWindow && control == m_entered) return false;
    m_entered = control;
    return true;
}

bool FormContext::leaving(Qt::FocusReason reason) const {
    if (m_closing) return false;
    // The focus leaving with the window is not a change of field: the field is left when the
    // focus moves inside the form.
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void ReportHandlerError(const FormContext& context, const char* location,
                        const activation::ComError& err) {
    context.reportError(err.Number(), err.Description(),
                        std::string(location) + "\r" + err.Source());
}

void ReportHandlerError(const FormContext& context, const char* location,
                        const std::exception& err) {
    context.reportError(5, activation::StandardErrorText(5),
                        std::string(location) + "\r" + err.what());
}

}  // namespace caldren::input
