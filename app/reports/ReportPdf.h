// ReportPdf: a report as the viewer holds it, printed again, or saved as a PDF file in one
// step ("Save as PDF..." of every viewer), paginated exactly as printing does.
//
// The viewer records what the report builder sent it: the report's start (kind, caption,
// headings) and every chunk with its line count. Printing that record goes through the
// same page model (PrnManager2 before each chunk, the chunk, the report's end, the job's
// end) and the same ReportPrinter drawing as the Print sink, so the pages are the printed
// pages. Saving as PDF uses a ReportPrinter of its own on a QPrinter in PDF mode: the
// program's printer, its line counter and its jobs stay as they were, and no print dialog
// is shown. A peak-method Detailed Analysis report carries its monthly-cycle chart, which
// is printed on a page of its own after the report.
#pragma once

#include "app/chart/CycleChart.h"
#include "app/reports/ReportPrinter.h"

#include <ReportSink.h>

#include <QString>

#include <optional>
#include <vector>

namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::reportwindows {

struct RecordedReport {
    Reports::ReportStart start;
    std::vector<Reports::RecordingSink::Chunk> chunks;
    std::optional<CycleChart::ChartData> chart;  // printed after the report, own page
};

// The chart on a page of its own, a page of the report like the others: the report's
// heading block, the chart in the body (as wide as the page, at most about two thirds of
// its width high), the page number. Called after the report's end (-200).
void PrintChartPage(ReportPrinter& printer, const CycleChart::ChartData& chart,
                    const Reports::ReportHeadings& headings);

// One report through the printer's page model: each chunk with PrnManager2 and
// PrintChunk, then the report's end (-200), the chart page if any, and, when `endJob`,
// the end of the print job (-100). Errors propagate (ComError).
void PrintRecorded(ReportPrinter& printer, const RecordedReport& report, bool endJob);

// The font a report is printed with: the report font when the system resolves it to a
// fixed-pitch font, else the system's fixed-pitch font (as the printing falls back to).
FontSpec PrintableFont(const FontSpec& reportFont);

// The file a report is proposed to be written to, by "Save as PDF..." and by printing to
// a file alike: "<data file's name> <report>.pdf" in the data file's folder, from a caption
// "<report> - <data file>" ("Summary Report - /data/acme.cld" -> "/data", "acme Summary
// Report.pdf"); "<caption>.pdf" with no folder when the caption names no data file.
struct PdfTarget {
    QString folder;  // empty: the dialog's own choice
    QString name;
    QString Path() const { return folder.isEmpty() ? name : folder + QLatin1Char('/') + name; }
};
PdfTarget DefaultPdfTarget(const std::string& caption);

// Saves the report as a PDF file at `path`: the page layout of the printer last chosen in
// the print dialog (US Letter when none was), the report font, the pages as printed. The
// file is written under a temporary name beside it and renamed when complete, so a failure
// leaves an existing file untouched. ComError 75 (path/file access error) when it cannot
// be written; ComError 5 when the report has no page (no body, no chart). A line count
// out of range is shown through `dialogs`, as printing shows it.
void WriteReportPdf(const RecordedReport& report, const QString& path, const FontSpec& reportFont,
                    dialogs::Dialogs& dialogs);

}  // namespace caldren::reportwindows
