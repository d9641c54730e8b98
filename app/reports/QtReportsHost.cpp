#include "QtReportsHost.h"

#include "ReportFonts.h"
#include "dlgRptChoices.h"
#include "frmReportForm.h"

#include "app/chart/CycleChart.h"
#include "app/reports/ReportPdf.h"

#include "../core/ErrorPaths.h"
#include "../core/RouteOutput.h"
#include "../core/RunState.h"
#include "../core/Settings.h"
#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ErrorDialogs.h"

#include <activation/Com.h>

#include <QApplication>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QUrl>

namespace caldren::reportwindows {

namespace {

constexpr const char* kPrefs = "User Preferences";

// The monthly-cycle chart of the run's analysis, when it is a peak-method analysis that
// the engine has calculated, its months numbered from the year end. Nothing when the
// engine cannot be read: the chart is an addition to the report, never a reason for it to
// fail.
std::optional<CycleChart::ChartData> ChartOf(const RunState& state) {
    try {
        if (state.document.engine && CycleChart::WantsChart(*state.document.engine)) {
            Reports::FillMonthsFromYearEnd(*state.document.engine);
            return CycleChart::FromEngine(*state.document.engine);
        }
    } catch (...) {}
    return std::nullopt;
}

}  // namespace

// ---- View -------------------------------------------------------------------------------

ViewSink::ViewSink(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent,
                   std::vector<QPointer<frmReportForm>>* opened)
    : m_state(state), m_dialogs(dialogs), m_parent(parent), m_log(opened) {}

void ViewSink::BeginReport(const Reports::ReportStart& start) {
    if (m_viewer) AbortReport();
    m_viewer = new frmReportForm(m_dialogs, m_parent);
    m_viewer->setWindowTitle(QString::fromUtf8(start.caption));
    m_viewer->SetReportText(Reports::ViewHeadingText(start.headings));
    m_viewer->SetReportStart(start);
    if (start.kind != Reports::ReportKind::Compare)
        m_viewer->SetDataFile(m_state.document.currentFileName);
    RunState* state = &m_state;
    dialogs::Dialogs* dialogs = &m_dialogs;
    m_viewer->SetPdfFontSource([state] { return ReportFont(state->preferences); });
    QPointer<frmReportForm> viewer(m_viewer);
    if (start.kind == Reports::ReportKind::Compare) {
        // The comparison is not one of the analysis' reports: "print" prints it as shown.
        m_viewer->SetPrintAction([state, dialogs, viewer] {
            if (viewer) PrintViewerReport(*state, *dialogs, *viewer);
        });
        return;
    }
    m_viewer->SetPrintAction([state, dialogs, viewer] {
        // The viewer's "print": the reports again, from the engine's current data.
        QtReportsHost host(*state, *dialogs, viewer ? viewer->parentWidget() : nullptr);
        RunReportsOn(*state, Reports::kPrint, host);
    });
}

void ViewSink::PrintOrDisplay(std::string_view chunk, int lines,
                              const Reports::ReportHeadings& headings) {
    if (!m_viewer) throw activation::ComError(91, "Reports.PrintOrDisplay");
    m_viewer->AppendReportText(chunk);
    m_viewer->RecordChunk(chunk, lines, headings);
}

void ViewSink::EndReport() {
    if (!m_viewer) return;
    frmReportForm* viewer = std::exchange(m_viewer, nullptr);
    if (viewer->Recorded().start.kind == Reports::ReportKind::Detailed)
        if (auto chart = ChartOf(m_state)) viewer->SetChart(*chart);
    viewer->ShowReport();
    m_opened.emplace_back(viewer);
    if (m_log) m_log->emplace_back(viewer);
}

void ViewSink::AbortReport() noexcept {
    // A viewer that was never shown goes with its report.
    if (frmReportForm* viewer = std::exchange(m_viewer, nullptr)) viewer->deleteLater();
}

// ---- Print ------------------------------------------------------------------------------

PrintSink::PrintSink(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent)
    : m_state(state), m_dialogs(dialogs), m_parent(parent) {
    RunState* s = &m_state;
    ReportPrinter::Instance().SetReportFontSource([s] { return ReportFont(s->preferences); });
}

void PrintSink::BeginReport(const Reports::ReportStart& start) {
    m_kind = start.kind;
    m_headings = start.headings;
    SetNewFont(m_state, m_dialogs, m_state.preferences.fontName, m_state.preferences.fontSize,
               false, m_saved, m_parent);
    m_open = true;
}

void PrintSink::PrintOrDisplay(std::string_view chunk, int lines,
                               const Reports::ReportHeadings& headings) {
    Reports::PRINT::PageModel& pages = ReportPrinter::Instance().Pages();
    try {
        pages.PrnManager2(lines, headings.h1, headings.h2, headings.h3);
    } catch (const activation::ComError& e) {
        dialogs::ReportErrorAndQuit(m_state, m_dialogs, e.Number(), "PrnManager2()");
        throw;
    }
    pages.PrintChunk(chunk);
}

void PrintSink::EndReport() {
    Reports::PRINT::PageModel& pages = ReportPrinter::Instance().Pages();
    m_open = false;
    try {
        pages.PrnManager2(Reports::kEndReport, "", "", "");
    } catch (const activation::ComError& e) {
        dialogs::ReportErrorAndQuit(m_state, m_dialogs, e.Number(), "PrnPgNo()");
        throw;
    }
    // A peak-method Detailed Analysis report: the monthly-cycle chart on a page of its own.
    if (m_kind == Reports::ReportKind::Detailed)
        if (auto chart = ChartOf(m_state))
            PrintChartPage(ReportPrinter::Instance(), *chart, m_headings);
    SetOldFont(m_state, m_dialogs, m_saved, m_parent);
}

void PrintSink::AbortReport() noexcept {
    if (!m_open) return;
    m_open = false;
    // The report's last page is closed, so that the next report starts on a page of its
    // own; the printer gets its font back.
    try {
        ReportPrinter::Instance().Pages().PrnManager2(Reports::kEndReport, "", "", "");
    } catch (...) {}
    try {
        SetOldFont(m_state, m_dialogs, m_saved, m_parent);
    } catch (...) {}
}

void PrintSink::EndPrintJob() {
    try {
        ReportPrinter::Instance().Pages().PrnManager2(Reports::kEndJob, "", "", "");
    } catch (const activation::ComError& e) {
        dialogs::ReportErrorAndQuit(m_state, m_dialogs, e.Number(), "PrnManager2()");
        throw;
    }
}

// ---- host ----------------------------------------------------------------------------------

Reports::ReportChoices ReadReportChoices(const Preferences& preferences) {
    Reports::ReportChoices choices;
    choices.input = Settings::ReadNumber(preferences, kPrefs, "Input Report", 1);
    choices.summary = Settings::ReadNumber(preferences, kPrefs, "Summary Report", 1);
    choices.detail = Settings::ReadNumber(preferences, kPrefs, "Detailed Report", 1);
    return choices;
}

void WriteReportChoices(const Preferences& preferences, const Reports::ReportChoices& choices) {
    Settings::WriteText(preferences, kPrefs, "Input Report", std::to_string(choices.input));
    Settings::WriteText(preferences, kPrefs, "Summary Report", std::to_string(choices.summary));
    Settings::WriteText(preferences, kPrefs, "Detailed Report", std::to_string(choices.detail));
}

QtReportsHost::QtReportsHost(RunState& state, dialogs::Dialogs& dialogs, QWidget* mainWindow)
    : m_state(state), m_dialogs(dialogs), m_mainWindow(mainWindow) {}

void QtReportsHost::GetReports(Reports::ReportMode mode, Reports::ReportChoices& choices) {
    dlgRptChoices dialog(m_mainWindow);
    dialog.setWindowTitle(mode == Reports::kView ? QStringLiteral("Select Reports (View)")
                                                 : QStringLiteral("Select Reports (Print)"));
    choices = ReadReportChoices(m_state.preferences);
    dialog.SetChoices(choices);
    m_dialogs.runModal(dialog);
    switch (dialog.HowClosed()) {
        case dlgRptChoices::Closing::Ok:
            choices = dialog.Choices();
            break;
        case dlgRptChoices::Closing::Cancel:
            choices = Reports::ReportChoices{0, 0, 0};
            break;
        case dlgRptChoices::Closing::CloseBox:
            break;  // the stored choice stands
    }
    WriteReportChoices(m_state.preferences, choices);
    // What printing to a file proposes: the report's name when one is chosen alone.
    const int chosen = (choices.input == 1) + (choices.summary == 1) + (choices.detail == 1);
    const char* report = chosen != 1            ? "Reports"
                         : choices.input == 1   ? "Inputs Report"
                         : choices.summary == 1 ? "Summary Report"
                                                : "Detailed Analysis Report";
    m_printCaption = std::string(report) + " - " + m_state.document.currentFileName;
}

QString QtReportsHost::AskForPdfInstead(const PdfTarget& target) {
    const MsgAnswer answer = m_dialogs.message(
        m_mainWindow,
        QStringLiteral("No printer is set up on this computer, so the reports cannot be "
                       "printed.\n\nSave them as a PDF file instead?"),
        kYesNo | kExclamation, QString::fromUtf8(kTitle));
    if (answer != MsgAnswer::Yes) return {};
    FileDialogSpec spec;
    spec.title = "Save as PDF";
    spec.defaultExtension = "pdf";
    spec.filter = "PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*||";
    spec.initialFolder = target.folder.toStdString();
    spec.initialName = target.name.toStdString();
    QString file = m_dialogs.saveFileName(m_mainWindow, spec);
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
    return file;
}

int QtReportsHost::GetCopies() {
    try {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Printing to a file: the name and folder "Save as PDF..." proposes, on US Letter
        // paper. Where printers are installed the system's default one stays chosen and
        // keeps its own paper; a file then takes the document's name.
        const PdfTarget target = DefaultPdfTarget(
            m_printCaption.empty() ? "Reports - " + m_state.document.currentFileName
                                   : m_printCaption);
        printer->setDocName(QFileInfo(target.name).completeBaseName());
        if (!m_dialogs.printersInstalled()) {
            // No printer, or no print system at all (the print dialog would not even
            // open): say so, and offer the reports as a PDF file instead.
            const QString file = AskForPdfInstead(target);
            if (file.isEmpty()) return 0;
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(file);
            printer->setPageSize(QPageSize(QPageSize::Letter));
        } else if (!m_dialogs.printDialog(m_mainWindow, *printer,
                                          QStringLiteral("Print Reports"))) {
            return 0;  // Cancel
        }
        const int copies = std::max(1, printer->copyCount());
        printer->setCopyCount(1);
        ReportPrinter::Instance().SetPrinter(std::move(printer), &m_dialogs);
        return copies;
    } catch (const activation::ComError& e) {
        dialogs::ReportErrorAndQuit(m_state, m_dialogs, e.Number(), "GetCopies");
    } catch (const std::exception&) {
        dialogs::ReportErrorAndQuit(m_state, m_dialogs, 5, "GetCopies");
    }
    return 0;
}

void QtReportsHost::SetNewFont(Reports::PrinterFontRecord& saved) {
    reportwindows::SetNewFont(m_state, m_dialogs, m_state.preferences.fontName,
                              m_state.preferences.fontSize, false, saved, m_mainWindow);
}

void QtReportsHost::SetOldFont(const Reports::PrinterFontRecord& saved) {
    reportwindows::SetOldFont(m_state, m_dialogs, saved, m_mainWindow);
}

void QtReportsHost::BeginBusy() {
    if (m_busy) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);  // the hourglass
    m_busy = true;
}

void QtReportsHost::EndBusy() {
    if (!m_busy) return;
    QApplication::restoreOverrideCursor();
    m_busy = false;
}

void QtReportsHost::ProcessEvents() { QCoreApplication::processEvents(); }

std::unique_ptr<Reports::ReportSink> QtReportsHost::MakeSink(Reports::ReportMode mode) {
    switch (mode) {
        case Reports::kView:
            return std::make_unique<ViewSink>(m_state, m_dialogs, m_mainWindow, &m_viewers);
        case Reports::kPrint:
            return std::make_unique<PrintSink>(m_state, m_dialogs, m_mainWindow);
        case Reports::kFile:
            return std::make_unique<Reports::FileSink>(m_state.options.outputFileName);
    }
    return nullptr;
}

void QtReportsHost::ShowNoDataNotice() {
    m_dialogs.message(m_mainWindow, QString::fromUtf8(Reports::kNoDataNotice),
                      kOkOnly | kExclamation, QString::fromUtf8(Reports::kNoDataNoticeTitle));
    if (m_mainWindow) m_mainWindow->show();
}

void QtReportsHost::ShowCalculationProblem(const std::string& text) {
    m_dialogs.message(m_mainWindow, QString::fromUtf8(text), kOkOnly | kExclamation,
                      QString::fromUtf8(kTitle));
}

void QtReportsHost::ReportOrLog(const activation::ComError& error, const std::string& location) {
    // The error reporter, then the end of the run with its answer as the save choice.
    ErrorPaths::LogThenShutDown(m_state.program, m_state.options, error, location);
}

void QtReportsHost::ReportErrorAndQuit(const activation::ComError& error,
                                       const std::string& location) {
    dialogs::ReportErrorAndQuit(m_state, m_dialogs, error.Number(), location);
}

bool RunReportsOn(RunState& state, Reports::ReportMode mode, Reports::ReportsHost& host) {
    Reports::ReportChoices choices;
    choices.input = state.preferences.rptInput;
    choices.summary = state.preferences.rptSummary;
    choices.detail = state.preferences.rptDetail;
    if (!state.document.engine) {
        // No analysis object: the run's own error path, as RunReports would take it.
        host.ReportErrorAndQuit(activation::ComError(91, "RunReports"), "RunReports");
        return false;
    }
    Reports::RunContext ctx{*state.document.engine,
                            host,
                            choices,
                            state.document.currentFileName,
                            state.options.batch,
                            Reports::WordingOf(state.options, state.preferences)};
    const bool done = Reports::RunReports(mode, ctx);
    state.preferences.rptInput = static_cast<std::int16_t>(choices.input);
    state.preferences.rptSummary = static_cast<std::int16_t>(choices.summary);
    state.preferences.rptDetail = static_cast<std::int16_t>(choices.detail);
    return done;
}

void RunReportCommand(RunState& state, dialogs::Dialogs& dialogs, Reports::ReportMode mode,
                      QWidget* mainWindow) {
    QtReportsHost host(state, dialogs, mainWindow);
    Reports::RouteOutput(state, mode, host);
}

void PrintViewerReport(RunState& state, dialogs::Dialogs& dialogs, frmReportForm& viewer) {
    QtReportsHost host(state, dialogs, viewer.parentWidget());
    host.SetPrintCaption(viewer.Recorded().start.caption);
    const int copies = host.GetCopies();
    if (copies < 1) return;
    Reports::PrinterFontRecord saved;
    host.SetNewFont(saved);
    ReportPrinter::Instance().SetReportFontSource(
        [&state] { return ReportFont(state.preferences); });
    try {
        for (int i = 0; i < copies; ++i)
            PrintRecorded(ReportPrinter::Instance(), viewer.Recorded(), true);
    } catch (const activation::ComError& e) {
        ReportPrinter::Instance().AbortJob();
        dialogs::ReportErrorAndQuit(state, dialogs, e.Number(), "PrnManager2()");
        return;
    }
    host.SetOldFont(saved);
}

void ShowPDFHelp(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent) {
    try {
        const QString path = QString::fromUtf8(state.program.helpFile);
        bool opened = false;
        if (!path.isEmpty() && QFileInfo::exists(path))
            opened = dialogs.openUrl(QUrl::fromLocalFile(path));
        if (!opened) {
            // No manual or no viewer for it: say so; the program goes on.
            dialogs.message(parent,
                            QStringLiteral("The help file \"") + path +
                                QStringLiteral("\" could not be opened. Please open it "
                                               "with a PDF viewer."),
                            kOkOnly | kExclamation, QString::fromUtf8(kTitle));
        }
    } catch (const activation::ComError& e) {
        dialogs::ReportErrorAndQuit(state, dialogs, e.Number(), "ShowPDFHelp");
    } catch (const std::exception&) {
        dialogs::ReportErrorAndQuit(state, dialogs, 5, "ShowPDFHelp");
    }
}

}  // namespace caldren::reportwindows
