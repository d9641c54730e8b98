#include "FormUndo.h"

#include "FormContext.h"
#include "app/core/Document.h"

#include <analysis/InputChanges.h>

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include <utility>

namespace caldren::input {

FormUndo::FormUndo(FormContext& context, QWidget* form, std::function<void()> showValues,
                   std::function<void()> settled)
    : m_context(context),
      m_showValues(std::move(showValues)),
      m_settled(std::move(settled)),
      m_undo(new QAction(QStringLiteral("&Undo"), form)),
      m_redo(new QAction(QStringLiteral("&Redo"), form)) {
    m_undo->setObjectName(QStringLiteral("mnuUndo"));
    m_redo->setObjectName(QStringLiteral("mnuRedo"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* action : {m_undo, m_redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        form->addAction(action);
    }
    QObject::connect(m_undo, &QAction::triggered, form,
                     [this] { Guard(m_context, "frmIP.mnuUndo_Click", [&] { undo(); }); });
    QObject::connect(m_redo, &QAction::triggered, form,
                     [this] { Guard(m_context, "frmIP.mnuRedo_Click", [&] { redo(); }); });
}

void FormUndo::start() {
    m_steps.assign(1, FormValues::Of(m_context.engine()));
    m_at = 0;
    m_savedValues = m_steps.front();
    m_savedFlag = m_context.document().IsSaved();
    updateActions();
}

void FormUndo::stepDone() {
    if (m_steps.empty()) return;
    FormValues now = FormValues::Of(m_context.engine());
    if (!(now == m_steps[m_at])) {
        m_steps.resize(m_at + 1);
        m_steps.push_back(std::move(now));
        ++m_at;
        followSaved(m_steps[m_at]);
        updateActions();
    }
    if (m_settled) m_settled();
}

void FormUndo::undo() {
    stepDone();  // the typing in progress is a step of its own
    if (m_at > 0) go(m_at - 1);
}

void FormUndo::redo() {
    stepDone();
    if (m_at + 1 < m_steps.size()) go(m_at + 1);
}

void FormUndo::go(std::size_t to) {
    const FormValues now = FormValues::Of(m_context.engine());
    m_steps[to].WriteTo(m_context.engine(), now);
    m_at = to;
    followSaved(m_steps[to]);
    analysis::InputChanges().Notify();
    if (m_showValues) m_showValues();
    updateActions();
    if (m_settled) m_settled();
}

void FormUndo::saved() {
    stepDone();
    m_savedValues = FormValues::Of(m_context.engine());
    m_savedFlag = m_context.document().IsSaved();
}

bool FormUndo::changed() const { return !(FormValues::Of(m_context.engine()) == m_savedValues); }

void FormUndo::followSaved(const FormValues& now) {
    const bool saved = now == m_savedValues && m_savedFlag;
    if (m_context.document().IsSaved() != saved) m_context.document().SetSaved(saved);
}

void FormUndo::updateActions() {
    if (m_steps.empty()) return;
    const bool typing = !(FormValues::Of(m_context.engine()) == m_steps[m_at]);
    m_undo->setEnabled(m_at > 0 || typing);
    m_redo->setEnabled(!typing && m_at + 1 < m_steps.size());
}

}  // namespace caldren::input
