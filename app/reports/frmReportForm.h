// frmReportForm: the report viewer. One window per report built in View mode; modeless,
// deleted when closed. txtReport shows the whole report read-only in a fixed-pitch font
// ("Courier New", or the system's fixed-pitch font where that name does not resolve to
// one), without line wrapping and with both scroll bars; tbToolbar holds "print" (runs the
// reports again in Print mode) and "exit" (closes the window). The size the window opens
// with is its minimum size.
#pragma once

#include <QMainWindow>

#include <functional>
#include <string>
#include <string_view>

class QAction;
class QPlainTextEdit;
class QToolBar;

class frmReportForm : public QMainWindow {
public:
    explicit frmReportForm(QWidget* parent = nullptr);

    // The report text, CR LF line ends as the builders make it.
    void SetReportText(std::string_view text);
    void AppendReportText(std::string_view chunk);
    const std::string& ReportText() const { return m_text; }

    // What "print" does (RunReports in Print mode); set by whoever opens the viewer.
    void SetPrintAction(std::function<void()> action) { m_print = std::move(action); }

    // Shows the window (modeless) with the text as it stands.
    void ShowReport();

    QPlainTextEdit* txtReport = nullptr;
    QToolBar* tbToolbar = nullptr;
    QAction* actPrint = nullptr;  // key "print"
    QAction* actExit = nullptr;   // key "exit"

private:
    void SyncText();

    std::string m_text;
    bool m_dirty = false;
    std::function<void()> m_print;
};
