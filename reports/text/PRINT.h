// Module PRINT as pure logic: the page model of printed reports, over a line counter and
// page metrics. Only the drawing touches the printer; that is PrintDevice, which the
// windows library implements on QPrinter/QPainter and tests implement with fake metrics.
//
// Page shape: 6 empty lines, the three headings at print column 10 (nine blank columns
// before them; a heading holding CR LF continues from the left margin), one empty line,
// the body chunks, empty filler lines down to line L - 6, the page number line
// "Page  n" starting at print column 3, page end. L = nLinesPerPage. A chunk is never
// split: before a chunk of n lines, if counter + n >= L - 6, the page is finished and a
// new one begun.
//
// Positions handed to the device are 0-based: `line` counts physical lines from the top
// of the current page (line 0 is the first of the 6 empty lines), `column` counts
// character cells of the fixed-pitch report font from the left margin. So heading 1 is
// drawn at (6, 9) and the page number at column 2.
#pragma once

#include <string>
#include <string_view>

namespace Reports::PRINT {

class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    // nLinesPerPage: page height divided (whole-number division) by the height of one line
    // ("nLinesPerPage" measured in the report font), both rounded to whole printer units
    // first. Asked on every PrnManager2 call, never stored.
    virtual int LinesPerPage() = 0;
    // Draw `text` (UTF-8, no line ends) at a position of the current page. The device
    // begins a page when it draws on one that has not been begun yet.
    virtual void DrawText(int line, int column, std::string_view text) = 0;
    // The current page is finished. The next page is begun only when something is drawn,
    // so a job never ends with an empty page.
    virtual void EndPage() = 0;
    // End the document (print job).
    virtual void EndDoc() = 0;
    // The "Error!" message box (critical icon) for a line count out of range.
    virtual void ShowLineCountError(const std::string& text) = 0;
};

// The program-wide line counter and the printing position, for one printer.
class PageModel {
public:
    explicit PageModel(PrintDevice& device) : m_device(device) {}

    // PrnManager2(n, h1, h2, h3): page control before a chunk of n lines (1..40), or a page
    // command (-300 new page with headings, -200 close the report's last page, -100 end of
    // the print job). Returns 1 when a page was started or a command done, else 2. Any
    // other n shows "<n> lines passed to PrnManager2(). Please use between 1 and 40" and
    // changes nothing.
    int PrnManager2(int n, std::string_view h1, std::string_view h2, std::string_view h3);

    // Print a chunk as it is: CR LF ends a line, a chunk without a final CR LF leaves the
    // next chunk to continue the same line. Called after PrnManager2.
    void PrintChunk(std::string_view chunk);

    // PrintHeadings and PrnPgNo, for completeness (PrnManager2 calls them).
    void PrintHeadings(std::string_view h1, std::string_view h2, std::string_view h3);
    void PrnPgNo();

    int Counter() const { return m_counter; }
    // The printer's current page number within the job (1 for the first page).
    int PageNumber() const { return m_page; }
    int Line() const { return m_line; }
    int Column() const { return m_column; }

    // The message text for a refused line count.
    static std::string LineCountErrorText(int n);

private:
    void NewLine();
    void NewPage();
    void PrintAt(int column, std::string_view text);

    PrintDevice& m_device;
    int m_counter = 0;  // lines used on the current page as PrnManager2 counts them
    int m_line = 0;     // physical line of the printing position on the current page
    int m_column = 0;   // character column of the printing position
    int m_page = 1;     // the printer's page number in the current job
};

}  // namespace Reports::PRINT
