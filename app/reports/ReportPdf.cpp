#include "app/reports/ReportPdf.h"

#include <activation/Com.h>
#include <common/AtomicFile.h>

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cstdio>

namespace caldren::reportwindows {

void PrintChartPage(ReportPrinter& printer, const CycleChart::ChartData& chart,
                    const Reports::ReportHeadings& headings) {
    Reports::PRINT::PageModel& pages = printer.Pages();
    // A new page with the heading block (the counter is 0 after the report's end).
    pages.PrnManager2(1, headings.h1, headings.h2, headings.h3);
    const int first = pages.Line() + 1;
    const int last = std::max(first + 1, printer.LinesPerPage() - 7);
    printer.DrawPicture(first, last, [&](QPainter& painter, const QRectF& band) {
        const double height = std::min(band.height(), band.width() * 0.62);
        CycleChart::PaintCycleChart(painter, QRectF(band.left(), band.top(), band.width(), height),
                                    chart);
    });
    pages.PrnManager2(Reports::kEndReport, "", "", "");
}

void PrintRecorded(ReportPrinter& printer, const RecordedReport& report, bool endJob) {
    Reports::PRINT::PageModel& pages = printer.Pages();
    for (const auto& chunk : report.chunks) {
        pages.PrnManager2(chunk.lines, chunk.headings.h1, chunk.headings.h2, chunk.headings.h3);
        pages.PrintChunk(chunk.text);
    }
    pages.PrnManager2(Reports::kEndReport, "", "", "");
    if (report.chart) PrintChartPage(printer, *report.chart, report.start.headings);
    if (endJob) pages.PrnManager2(Reports::kEndJob, "", "", "");
}

PdfTarget DefaultPdfTarget(const std::string& caption) {
    PdfTarget target;
    const auto dash = caption.find(" - ");
    const QString report = QString::fromUtf8(caption.substr(0, dash));
    if (dash != std::string::npos) {
        const QFileInfo dataFile(QString::fromUtf8(caption.substr(dash + 3)));
        target.folder = dataFile.absolutePath();
        target.name =
            dataFile.completeBaseName() + QLatin1Char(' ') + report + QStringLiteral(".pdf");
    } else {
        target.name =
            (report.isEmpty() ? QStringLiteral("Report") : report) + QStringLiteral(".pdf");
    }
    return target;
}

FontSpec PrintableFont(const FontSpec& reportFont) {
    FontSpec font = reportFont;
    if (!IsFixedPitchFamily(font.name)) font.name = SystemFixedFamily();
    if (!(font.size >= 1.0f && font.size <= 1638.0f)) font.size = 10.0f;
    return font;
}

void WriteReportPdf(const RecordedReport& report, const QString& path, const FontSpec& reportFont,
                    dialogs::Dialogs& dialogs) {
    // A report without a body (no method chosen) prints no page; there is nothing to save.
    if (report.chunks.empty() && !report.chart)
        throw activation::ComError(5, "ReportPdf.WriteReportPdf",
                                   "The report has no pages to save.");
    const QFileInfo target(path);
    const QString part =
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".part");
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    if (const QPrinter* chosen = ReportPrinter::Instance().Printer())
        printer->setPageLayout(chosen->pageLayout());
    else
        printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setOutputFileName(part);
    printer->setCreator(QStringLiteral("CaldrenCalc"));
    printer->setDocName(QString::fromUtf8(report.start.caption));

    const FontSpec font = PrintableFont(reportFont);
    ReportPrinter pdf;
    pdf.ResetFont(font);
    pdf.SetReportFontSource([font] { return FontSpec(font); });  // a copy at each call
    pdf.SetPrinter(std::move(printer), &dialogs);
    try {
        PrintRecorded(pdf, report, true);
    } catch (...) {
        pdf.AbortJob();
        QFile::remove(part);
        throw activation::ComError(75, "ReportPdf.WriteReportPdf",
                                   "The PDF file " + path.toStdString() + " could not be written.");
    }
    if (!QFileInfo::exists(part) ||
        common::MoveIntoPlace(QFile::encodeName(part).toStdString(),
                              QFile::encodeName(path).toStdString()) != 0) {
        QFile::remove(part);
        throw activation::ComError(75, "ReportPdf.WriteReportPdf",
                                   "The PDF file " + path.toStdString() + " could not be written.");
    }
}

}  // namespace caldren::reportwindows
