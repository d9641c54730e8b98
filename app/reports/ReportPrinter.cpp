#include "ReportPrinter.h"

#include "app/dialogs/Dialogs.h"

#include <activation/Com.h>

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace caldren::reportwindows {

namespace {

constexpr long kInvalidPropertyValue = 380;
constexpr long kPrinterError = 482;

[[noreturn]] void ThrowInvalidProperty() {
    throw activation::ComError(kInvalidPropertyValue, "PRINT");
}

// The height of one printed line ("nLinesPerPage" in the font): the font's height with
// its leading, so that lines never touch.
double LineHeight(const QFontMetricsF& metrics) {
    return std::max(metrics.lineSpacing(), metrics.height());
}

}  // namespace

QFont MakeReportFont(const std::string& name, double size, bool bold) {
    QFont font(QString::fromUtf8(name));
    font.setPointSizeF(size > 0 ? size : 10.0);
    font.setBold(bold);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    font.setKerning(false);
    return font;
}

bool IsFixedPitchFamily(const std::string& name) {
    if (name.empty()) return false;
    QFont font(QString::fromUtf8(name));
    font.setPointSizeF(10.0);
    return QFontInfo(font).fixedPitch();
}

QString ResolvedFamily(const std::string& name) {
    QFont font(QString::fromUtf8(name));
    font.setPointSizeF(10.0);
    return QFontInfo(font).family();
}

std::string SystemFixedFamily() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family().toStdString();
}

ReportPrinter::ReportPrinter()
    : m_font{"Courier New", 10.0f, false},
      m_pages(std::make_unique<Reports::PRINT::PageModel>(*this)) {}

ReportPrinter::~ReportPrinter() { AbortJob(); }

ReportPrinter& ReportPrinter::Instance() {
    static ReportPrinter printer;
    return printer;
}

void ReportPrinter::SetFontName(const std::string& name) {
    if (!IsFixedPitchFamily(name)) ThrowInvalidProperty();
    m_font.name = name;
}

void ReportPrinter::SetFontSize(float size) {
    if (!(size >= 1.0f && size <= 1638.0f)) ThrowInvalidProperty();
    m_font.size = size;
}

void ReportPrinter::SetFontBold(bool bold) { m_font.bold = bold; }

void ReportPrinter::SetPrinter(std::unique_ptr<QPrinter> printer, dialogs::Dialogs* dialogs) {
    AbortJob();
    m_printer = std::move(printer);
    m_dialogs = dialogs;
    m_jobsEnded = 0;
    m_jobFiles.clear();
    m_baseFileName = m_printer ? m_printer->outputFileName() : QString();
}

QFont ReportPrinter::CurrentQFont() const {
    return MakeReportFont(m_font.name, m_font.size, m_font.bold);
}

int ReportPrinter::LinesPerPage() {
    // The printer takes the report font's name and size; a report font the printer cannot
    // use leaves the font the print run switched to (SetNewFont has dealt with it).
    if (m_reportFont) {
        const FontSpec report = m_reportFont();
        try {
            SetFontName(report.name);
            SetFontSize(report.size);
        } catch (const activation::ComError& e) {
            if (e.Number() != kInvalidPropertyValue) throw;
        }
    }
    if (!m_printer)
        throw activation::ComError(kPrinterError, "PRINT.nLinesPerPage", "Printer error");
    const QFontMetricsF metrics(CurrentQFont(), m_printer.get());
    const long pageHeight = std::lround(m_printer->height());
    const long lineHeight = std::lround(LineHeight(metrics));
    if (lineHeight <= 0) return 1;
    return static_cast<int>(pageHeight / lineHeight);
}

void ReportPrinter::BeginJobIfNeeded() {
    if (m_painter) {
        if (m_pagePending) {
            if (!m_printer->newPage())
                throw activation::ComError(kPrinterError, "PRINT", "Printer error");
            m_pagePending = false;
        }
        return;
    }
    if (!m_printer) throw activation::ComError(kPrinterError, "PRINT", "Printer error");
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_baseFileName.isEmpty()) {
        QString name = m_baseFileName;
        if (m_jobsEnded > 0) {
            const QFileInfo info(m_baseFileName);
            const QString suffix = info.suffix().isEmpty() ? QStringLiteral("pdf") : info.suffix();
            name = info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('-') +
                   QString::number(m_jobsEnded + 1) + QLatin1Char('.') + suffix;
        }
        m_printer->setOutputFileName(name);
    }
    m_printer->setCopyCount(1);  // every copy is a print job of its own
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer.get()))
        throw activation::ComError(kPrinterError, "PRINT", "Printer error");
    m_painter = std::move(painter);
    m_pagePending = false;
}

void ReportPrinter::DrawText(int line, int column, std::string_view text) {
    BeginJobIfNeeded();
    const QFont font(CurrentQFont(), m_printer.get());
    m_painter->setFont(font);
    const QFontMetricsF metrics(font, m_printer.get());
    const double lineHeight = std::round(LineHeight(metrics));
    const double cell = metrics.horizontalAdvance(QLatin1Char('M'));
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // Character by character on the fixed grid, so that columns line up whatever the font.
    const double y = line * lineHeight + metrics.ascent();
    double x = column * cell;
    for (const QChar ch : shown) {
        if (ch != QLatin1Char(' ')) m_painter->drawText(QPointF(x, y), QString(ch));
        x += cell;
    }
}

void ReportPrinter::EndPage() {
    if (m_painter) m_pagePending = true;
}

void ReportPrinter::EndDoc() {
    if (!m_painter) return;
    // A job the print system refused is no printed report.
    const bool ok = m_painter->end() && m_printer->printerState() != QPrinter::Error;
    m_painter.reset();
    m_pagePending = false;
    ++m_jobsEnded;
    if (m_printer->outputFormat() == QPrinter::PdfFormat) m_jobFiles << m_printer->outputFileName();
    if (!ok) throw activation::ComError(kPrinterError, "PRINT", "Printer error");
}

void ReportPrinter::DrawPicture(int firstLine, int lastLine,
                                const std::function<void(QPainter&, const QRectF&)>& draw) {
    BeginJobIfNeeded();
    const QFontMetricsF metrics(QFont(CurrentQFont(), m_printer.get()), m_printer.get());
    const double lineHeight = std::round(LineHeight(metrics));
    const double top = firstLine * lineHeight;
    const double height = std::max(0.0, (lastLine - firstLine) * lineHeight);
    m_painter->save();
    draw(*m_painter, QRectF(0, top, m_printer->width(), height));
    m_painter->restore();
}

void ReportPrinter::AbortJob() noexcept {
    if (!m_painter) return;
    try {
        m_painter->end();
    } catch (...) {}
    m_painter.reset();
    m_pagePending = false;
}

void ReportPrinter::ShowLineCountError(const std::string& text) {
    if (m_dialogs)
        m_dialogs->message(nullptr, QString::fromUtf8(text), kOkOnly | kCritical,
                           QStringLiteral("Error!"));
}

void RememberPrinterFont(PrinterFont& font) {
    const ReportPrinter& printer = ReportPrinter::Instance();
    font.name = printer.FontName();
    font.size = printer.FontSize();
    font.bold = printer.FontBold();
}

void RestorePrinterFont(const PrinterFont& font) {
    ReportPrinter& printer = ReportPrinter::Instance();
    try {
        printer.SetFontName(font.name);
        printer.SetFontSize(font.size);
        printer.SetFontBold(font.bold);
    } catch (...) {
        // A font the printer cannot take back is left as it is.
    }
}

}  // namespace caldren::reportwindows
