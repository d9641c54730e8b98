// The windows' side of module Reports: the ReportsHost of an interactive run and the two
// sinks that only exist with windows.
//
//   ViewSink   one frmReportForm per report: caption, the View heading, every chunk
//              appended, shown (modeless) at the report's end
//   PrintSink  the printer: the report font per report (SetNewFont / SetOldFont), page
//              control and chunks through the program-wide page model (PrnManager2), the
//              end of each copy's print job
//   QtReportsHost  dlgRptChoices (flags from and to the settings file), GetCopies through
//              the print dialog "Print Reports", the busy cursor, the printer font, the
//              "Notice" for error 10005, and the error paths of the run state
//
// RunReportsOn runs a report command on the run state's engine and report flags; the
// report commands of the main window go through Reports::RouteOutput (save, RunReports,
// open again), the viewer's "print" calls RunReports alone.
#pragma once

#include "ReportPrinter.h"

#include <Reports.h>

#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::reportwindows {

class frmReportForm;

class ViewSink : public Reports::ReportSink {
public:
    // `opened`, when given, also receives every viewer shown.
    ViewSink(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent,
             std::vector<QPointer<frmReportForm>>* opened = nullptr);

    void BeginReport(const Reports::ReportStart& start) override;
    void PrintOrDisplay(std::string_view chunk, int lines,
                        const Reports::ReportHeadings& headings) override;
    void EndReport() override;
    void AbortReport() noexcept override;

    // The viewers this sink opened, in the order of opening.
    const std::vector<QPointer<frmReportForm>>& Opened() const { return m_opened; }

private:
    RunState& m_state;
    dialogs::Dialogs& m_dialogs;
    QPointer<QWidget> m_parent;
    frmReportForm* m_viewer = nullptr;  // the report being built (hidden)
    std::vector<QPointer<frmReportForm>> m_opened;
    std::vector<QPointer<frmReportForm>>* m_log = nullptr;
};

class PrintSink : public Reports::ReportSink {
public:
    PrintSink(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent);

    void BeginReport(const Reports::ReportStart& start) override;
    void PrintOrDisplay(std::string_view chunk, int lines,
                        const Reports::ReportHeadings& headings) override;
    void EndReport() override;
    void AbortReport() noexcept override;
    void EndPrintJob() override;

private:
    RunState& m_state;
    dialogs::Dialogs& m_dialogs;
    QPointer<QWidget> m_parent;
    Reports::PrinterFontRecord m_saved;
    bool m_open = false;
    Reports::ReportKind m_kind = Reports::ReportKind::Summary;
    Reports::ReportHeadings m_headings;
};

struct PdfTarget;

class QtReportsHost : public Reports::ReportsHost {
public:
    QtReportsHost(RunState& state, dialogs::Dialogs& dialogs, QWidget* mainWindow);

    void GetReports(Reports::ReportMode mode, Reports::ReportChoices& choices) override;
    int GetCopies() override;
    void SetNewFont(Reports::PrinterFontRecord& saved) override;
    void SetOldFont(const Reports::PrinterFontRecord& saved) override;
    void BeginBusy() override;
    void EndBusy() override;
    void ProcessEvents() override;
    std::unique_ptr<Reports::ReportSink> MakeSink(Reports::ReportMode mode) override;
    void ShowNoDataNotice() override;
    void ShowCalculationProblem(const std::string& text) override;
    void ReportOrLog(const activation::ComError& error, const std::string& location) override;
    void ReportErrorAndQuit(const activation::ComError& error,
                            const std::string& location) override;

    // What GetCopies proposes for printing to a file ("<report> - <data file>", see
    // DefaultPdfTarget); GetReports sets it from the reports chosen.
    void SetPrintCaption(std::string caption) { m_printCaption = std::move(caption); }

    // The viewers opened by this host's View sinks.
    const std::vector<QPointer<frmReportForm>>& Viewers() const { return m_viewers; }

private:
    // Without a printer: says so and asks for a PDF file to print to instead (proposing
    // `target`); the empty text when the user declines.
    QString AskForPdfInstead(const PdfTarget& target);

    RunState& m_state;
    dialogs::Dialogs& m_dialogs;
    QPointer<QWidget> m_mainWindow;
    bool m_busy = false;
    std::string m_printCaption;
    std::vector<QPointer<frmReportForm>> m_viewers;
};

// The report flags in the settings file ("User Preferences": "Input Report", "Summary
// Report", "Detailed Report"; missing keys read as 1).
Reports::ReportChoices ReadReportChoices(const Preferences& preferences);
void WriteReportChoices(const Preferences& preferences, const Reports::ReportChoices& choices);

// RunReports(mode) on the run state's engine and report flags (the viewer's "print").
bool RunReportsOn(RunState& state, Reports::ReportMode mode, Reports::ReportsHost& host);
// The main window's report commands: RouteOutput(mode) with a QtReportsHost.
void RunReportCommand(RunState& state, dialogs::Dialogs& dialogs, Reports::ReportMode mode,
                      QWidget* mainWindow);

// The viewer's "print" for a report that is not rebuilt from the analysis (the comparison
// of years): the print dialog, then the report as the viewer holds it, once per copy.
void PrintViewerReport(RunState& state, dialogs::Dialogs& dialogs, frmReportForm& viewer);

// ShowPDFHelp: opens the manual (state.program.helpFile) with the desktop's default viewer.
void ShowPDFHelp(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent);

}  // namespace caldren::reportwindows
