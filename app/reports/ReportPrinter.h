// The printer as the report printing sees it (module PRINT's platform side).
//
// One program-wide ReportPrinter stands for the printer: it has a current font (name,
// size, bold) that the font routines switch and restore, the QPrinter chosen in the print
// dialog for the next jobs, and the program-wide page model (line counter, page number)
// whose pages it draws with QPainter. Jobs begin with the first line drawn and end with
// EndDoc (line count -100); a page that was finished is begun only when something is drawn
// on it, so no job ends with an empty page.
//
// Fonts: a font is usable on the printer when the font the system resolves for its family
// is fixed-pitch (QFontInfo::fixedPitch(); "Courier New" resolves to Liberation Mono,
// which counts). Setting an unusable font fails with error 380 "Invalid property value",
// as the report font routines expect.
//
// Printing to a PDF file: every print job writes a file of its own. The first job of a
// run writes the file chosen in the print dialog; the second copy's job writes
// "<name>-2.pdf" beside it, and so on, so that no copy replaces another.
#pragma once

#include "../core/RunState.h"

#include <PRINT.h>

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QPainter;
class QPrinter;
class QRectF;

namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::reportwindows {

struct FontSpec {
    std::string name;
    float size = 10.0f;
    bool bold = false;
};

// The QFont for a report font (point size, bold).
QFont MakeReportFont(const std::string& name, double size, bool bold);
// True when the system resolves `name` to a fixed-pitch font.
bool IsFixedPitchFamily(const std::string& name);
// The family the system resolves `name` to (e.g. "Liberation Mono" for "Courier New").
QString ResolvedFamily(const std::string& name);
// The system's default fixed-pitch family.
std::string SystemFixedFamily();

class ReportPrinter : public Reports::PRINT::PrintDevice {
public:
    ReportPrinter();
    ~ReportPrinter() override;

    static ReportPrinter& Instance();

    // ---- font -------------------------------------------------------------------------
    const std::string& FontName() const { return m_font.name; }
    float FontSize() const { return m_font.size; }
    bool FontBold() const { return m_font.bold; }
    // ComError 380 when the family is not fixed-pitch on this system (or empty).
    void SetFontName(const std::string& name);
    // ComError 380 when the size is not between 1 and 1,638 points.
    void SetFontSize(float size);
    void SetFontBold(bool bold);
    // Sets all three without any check (start-up and tests).
    void ResetFont(const FontSpec& font) { m_font = font; }

    // The report font of the program (name and size are what nLinesPerPage measures).
    void SetReportFontSource(std::function<FontSpec()> source) { m_reportFont = std::move(source); }

    // ---- the printer of the next jobs -------------------------------------------------
    // The printer chosen in the print dialog, and the dialogs that dialog was asked through,
    // which show the page model's line count error (none: it is not shown).
    void SetPrinter(std::unique_ptr<QPrinter> printer, dialogs::Dialogs* dialogs);
    QPrinter* Printer() const { return m_printer.get(); }

    // The page model (program-wide line counter) drawing on this printer.
    Reports::PRINT::PageModel& Pages() { return *m_pages; }

    // Jobs ended since the printer was set, and the files they were written to (PDF).
    int JobsEnded() const { return m_jobsEnded; }
    const QStringList& JobFiles() const { return m_jobFiles; }
    bool JobOpen() const { return m_painter != nullptr; }

    // ---- Reports::PRINT::PrintDevice ------------------------------------------------------------
    int LinesPerPage() override;
    void DrawText(int line, int column, std::string_view text) override;
    void EndPage() override;
    void EndDoc() override;
    void ShowLineCountError(const std::string& text) override;

    // Abandons an open job (the document is closed as far as it got).
    void AbortJob() noexcept;

    // A picture in the body of the current page (the monthly-cycle chart after the
    // Detailed Analysis report): `draw` paints in the band from physical line `firstLine`
    // to line `lastLine` (exclusive) of the report font's line grid, across the page
    // (device units). The page is begun as for text when it has not been yet.
    void DrawPicture(int firstLine, int lastLine,
                     const std::function<void(QPainter&, const QRectF&)>& draw);

private:
    void BeginJobIfNeeded();
    QFont CurrentQFont() const;

    FontSpec m_font;
    std::function<FontSpec()> m_reportFont;
    std::unique_ptr<QPrinter> m_printer;
    dialogs::Dialogs* m_dialogs = nullptr;  // not owned
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<Reports::PRINT::PageModel> m_pages;
    bool m_pagePending = false;  // a page was finished; the next one is begun on demand
    int m_jobsEnded = 0;
    QStringList m_jobFiles;
    QString m_baseFileName;  // the PDF file chosen for the first job
};

// Remembers the printer's current font in `font` (GetIni's printer-font step).
void RememberPrinterFont(PrinterFont& font);
// Gives the printer back a font (ShutDown, step 5). Errors are ignored.
void RestorePrinterFont(const PrinterFont& font);

}  // namespace caldren::reportwindows
