#include "QtUi.h"

#include "app/core/RunState.h"
#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ErrorDialogs.h"
#include "app/gui/ShutDown.h"
#include "app/input/IPSupport.h"
#include "frmMain.h"

#include <analysis/InputChanges.h>

#include <QApplication>
#include <QStringList>
#include <QWidget>

namespace caldren::gui {

QtUi::QtUi(RunState& state, dialogs::Dialogs& dialogs) : m_state(state), m_dialogs(dialogs) {}

void QtUi::setMainWindow(frmMain* window) { m_main = window; }
frmMain* QtUi::mainWindow() const { return m_main.data(); }

QWidget* QtUi::dialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return m_main.data();
}

MsgAnswer QtUi::MsgBox(const std::string& text, int style, const std::string& title) {
    return m_dialogs.message(dialogParent(), QString::fromStdString(text), style,
                             QString::fromStdString(title));
}

std::string QtUi::OpenFileDialog(const FileDialogSpec& spec) {
    return m_dialogs.openFileName(dialogParent(), spec).toStdString();
}

std::vector<std::string> QtUi::OpenFilesDialog(const FileDialogSpec& spec) {
    std::vector<std::string> names;
    for (const QString& name : m_dialogs.openFileNames(dialogParent(), spec))
        names.push_back(name.toStdString());
    return names;
}

std::string QtUi::SaveFileDialog(const FileDialogSpec& spec) {
    return m_dialogs.saveFileName(dialogParent(), spec).toStdString();
}

void QtUi::Beep() { m_dialogs.beep(); }

void QtUi::SetStatusText(const std::string& text) {
    if (!m_main) return;
    // The status line changes with the current file; so does the title.
    m_main->setStatusText(QString::fromStdString(text));
    m_main->updateTitle();
    // A file loaded, a new or a new year's analysis: the results follow it.
    analysis::InputChanges().Notify();
}

void QtUi::SavedChanged() {
    if (m_main) m_main->updateTitle();
}

void QtUi::SetRecentEntry(int n, const std::string& caption, bool visible) {
    if (m_main) m_main->setRecentEntry(n, QString::fromStdString(caption), visible);
}

void QtUi::SetRecentSeparatorVisible(bool visible) {
    if (m_main) m_main->setRecentSeparatorVisible(visible);
}

void QtUi::ShowInputForm() { input::IPSupport::InitIP(m_state, *this, m_dialogs, m_main.data()); }

void QtUi::ReportErrorAndQuit(long number, const std::string& location) {
    dialogs::ReportErrorAndQuit(m_state, m_dialogs, number, location);
}

void QtUi::ShutDown(bool saveFirst) { gui::ShutDown(m_state, m_dialogs, saveFirst); }

}  // namespace caldren::gui
