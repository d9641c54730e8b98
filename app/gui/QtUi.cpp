#include "QtUi.h"

#include "FileDialog.h"
#include "GuiHooks.h"
#include "MessageBox.h"
#include "app/core/FileOperations.h"
#include "app/core/RunState.h"
#include "app/input/IPSupport.h"
#include "frmMain.h"

#include <analysis/InputChanges.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include <cstdlib>

namespace caldren {

QtUi::QtUi(RunState& state) : m_state(state) {}

void QtUi::setMainWindow(frmMain* window) { m_main = window; }
frmMain* QtUi::mainWindow() const { return m_main.data(); }

QWidget* QtUi::dialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return m_main.data();
}

MsgAnswer QtUi::MsgBox(const std::string& text, int style, const std::string& title) {
    return gui::MessageBox::show(dialogParent(), QString::fromStdString(text), style,
                                 QString::fromStdString(title));
}

std::string QtUi::OpenFileDialog(const FileDialogSpec& spec) {
    return gui::FileDialog::getOpenFileName(dialogParent(), spec).toStdString();
}

std::vector<std::string> QtUi::OpenFilesDialog(const FileDialogSpec& spec) {
    std::vector<std::string> names;
    for (const QString& name : gui::FileDialog::getOpenFileNames(dialogParent(), spec))
        names.push_back(name.toStdString());
    return names;
}

std::string QtUi::SaveFileDialog(const FileDialogSpec& spec) {
    return gui::FileDialog::getSaveFileName(dialogParent(), spec).toStdString();
}

void QtUi::Beep() { gui::MessageBox::beep(); }

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

void QtUi::ShowInputForm() { IPSupport::InitIP(m_state, *this, m_main.data()); }

void QtUi::ReportErrorAndQuit(long number, const std::string& location) {
    if (gui::Hooks().reportErrorAndQuit) {
        gui::Hooks().reportErrorAndQuit(m_state, number, location);
        return;
    }
    // Stand-in until the program's own error window is in place: the error, the offer to
    // save, then the end of the run.
    const std::string text = "An error has occurred in the " + std::string(kDescription) +
                             ".\n\nError Number:   " + std::to_string(number) +
                             "\nLocation:           " + location +
                             "\n\nDo you want to save your data before the program shuts down?";
    if (MsgBox(text, kYesNo | kCritical, "WARNING!") == MsgAnswer::Yes)
        FileOperations::SaveAs(m_state);
    ShutDown(false);
}

void QtUi::ShutDown(bool saveFirst) {
    if (gui::Hooks().shutDown) {
        gui::Hooks().shutDown(m_state, saveFirst);
        return;
    }
    // Stand-in until the shutdown with its exit screen is in place.
    if (saveFirst) FileOperations::SaveAs(m_state);
    m_state.program.errorReporter.reset();
    m_state.document.engine.Reset();
    QCoreApplication::exit(0);
    std::exit(0);
}

}  // namespace caldren
