// frmReportForm: the report viewer. One window per report built in View mode; modeless,
// deleted when closed. txtReport shows the whole report read-only in a fixed-pitch font
// ("Courier New", or the system's fixed-pitch font where that name does not resolve to
// one), without line wrapping and with both scroll bars; tbToolbar holds "print" (runs the
// reports again in Print mode), "pdf" ("Save as PDF...": the report as printed, to a PDF
// file chosen in a save dialog, without the print dialog) and "exit" (closes the window).
// The size the window opens with is its minimum size. The viewer keeps the report as its
// builder sent it (chunks, line counts, headings), which is what "Save as PDF..." prints;
// a peak-method Detailed Analysis report shows its monthly-cycle chart under the text.
//
// Keys: Esc and Ctrl+W close, Ctrl+P prints, Ctrl+Shift+S saves as PDF, Ctrl+plus and
// Ctrl+minus zoom the text; Tab reaches every toolbar button. Several viewers open
// cascaded, each offset from the one before so that its title and toolbar show.
#pragma once

#include "app/reports/ReportPdf.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <string_view>

class QAction;
class QPlainTextEdit;
class QToolBar;

namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::reportwindows {

class frmReportForm : public QMainWindow {
public:
    // "Save as PDF..." asks through `dialogs`.
    explicit frmReportForm(dialogs::Dialogs& dialogs, QWidget* parent = nullptr);

    // The report text, CR LF line ends as the builders make it.
    void SetReportText(std::string_view text);
    void AppendReportText(std::string_view chunk);
    const std::string& ReportText() const { return m_text; }

    // What "print" does (RunReports in Print mode); set by whoever opens the viewer.
    void SetPrintAction(std::function<void()> action) { m_print = std::move(action); }

    // Shows the window (modeless) with the text as it stands.
    void ShowReport();

    // The report as its builder sent it (the View sink records every chunk).
    void SetReportStart(const Reports::ReportStart& start);
    // The data file the report is of, for "Save as PDF..."'s proposal when the caption does
    // not name it (the Inputs report).
    void SetDataFile(std::string fileName) { m_dataFile = std::move(fileName); }
    void RecordChunk(std::string_view chunk, int lines, const Reports::ReportHeadings& headings);
    const RecordedReport& Recorded() const { return m_record; }
    // The monthly-cycle chart under the text (and on its own page in the PDF).
    void SetChart(const CycleChart::ChartData& chart);
    CycleChart::CycleChartWidget* Chart() const { return m_chart; }
    // The font the PDF is printed with (the report font of the run).
    void SetPdfFontSource(std::function<FontSpec()> source) { m_pdfFont = std::move(source); }
    // "Save as PDF...": the save dialog, then the file. Returns the path written, or the
    // empty text when cancelled or failed (a message says why).
    QString SavePdf();

    QPlainTextEdit* txtReport = nullptr;
    QToolBar* tbToolbar = nullptr;
    QAction* actPrint = nullptr;    // key "print"
    QAction* actExit = nullptr;     // key "exit"
    QAction* actSavePdf = nullptr;  // key "pdf"
    QAction* actZoomIn = nullptr;   // Ctrl+plus
    QAction* actZoomOut = nullptr;  // Ctrl+minus

private:
    void SyncText();
    // Viewers open side by side: each one below and to the right of the one shown before
    // it, by a title bar and the toolbar; the first is centred.
    void PlaceBesideOthers();
    int m_shownOrder = 0;

    dialogs::Dialogs& m_dialogs;
    std::string m_text;
    std::string m_dataFile;
    bool m_dirty = false;
    std::function<void()> m_print;
    RecordedReport m_record;
    CycleChart::CycleChartWidget* m_chart = nullptr;
    std::function<FontSpec()> m_pdfFont;
};

}  // namespace caldren::reportwindows
