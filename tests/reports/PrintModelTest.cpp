// The printed page model over a device of fake page metrics: the pages of data/prints.txt
// (page breaks at the bottom reserve, headings, page numbers, jobs, refused line counts,
// whole reports) against hand-checked page files.
#include "PRINT.h"
#include "ReportsTest.h"

#include <sstream>

namespace {

using namespace reportstest;

// A printer of L lines a page that writes each page's lines as text: "--- page" before a
// page, "=== end of job" at the end of a job, "error: <text>" for a refused line count.
class PageDevice : public Reports::PRINT::PrintDevice {
public:
    explicit PageDevice(int lines) : m_lines(lines) {}
    std::string Text() { return m_text + Flush(); }
    int LinesPerPage() override { return m_lines; }
    void DrawText(int line, int column, std::string_view text) override {
        if (!m_open) m_text += "--- page\n";
        m_open = true;
        if (static_cast<int>(m_page.size()) <= line) m_page.resize(line + 1);
        std::string& l = m_page[line];
        if (static_cast<int>(l.size()) < column) l.resize(column, ' ');
        l.replace(column, text.size(), text);
    }
    void EndPage() override { m_text += Flush(); }
    void EndDoc() override { m_text += Flush() + "=== end of job\n"; }
    void ShowLineCountError(const std::string& text) override { m_text += "error: " + text + "\n"; }

private:
    std::string Flush() {
        std::string s;
        for (const std::string& l : m_page) s += l + "\n";
        m_page.clear();
        m_open = false;
        return s;
    }
    int m_lines;
    bool m_open = false;
    std::vector<std::string> m_page;
    std::string m_text;
};

// PrintOrDisplay in Print mode: page control, then the chunk as it is.
class PageSink : public Reports::ReportSink {
public:
    explicit PageSink(Reports::PRINT::PageModel& pm) : m_pm(pm) {}
    void BeginReport(const Reports::ReportStart&) override {}
    void PrintOrDisplay(std::string_view chunk, int lines,
                        const Reports::ReportHeadings& h) override {
        m_pm.PrnManager2(lines, h.h1, h.h2, h.h3);
        m_pm.PrintChunk(chunk);
    }
    void EndReport() override { m_pm.PrnManager2(Reports::kEndReport, "", "", ""); }
    void EndPrintJob() override { m_pm.PrnManager2(Reports::kEndJob, "", "", ""); }

private:
    Reports::PRINT::PageModel& m_pm;
};

// Operations: a number n is PrnManager2(n) with the headings "Acme", "Line2" and the one
// set by "h:<text>" ("Title" at first; none for -200 and -100), "c<n>" a chunk of n lines
// named by its place, "t:<text>" a chunk as written, "r:<report>" a whole report of the
// worked example (both methods) and "j" the end of the print job; "h:" and "t:" texts hold
// escapes (written \\x20 for a blank). The return value and the counter of each PrnManager2
// call are written first, as "n -> return, counter".
TEST(PrintModel, Pages) {
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_REPORTS_DATA "/prints.txt")) {
        PageDevice device(std::stoi(row[0]));
        Reports::PRINT::PageModel pm(device);
        PageSink sink(pm);
        auto calc = Analysis("both");
        std::string op, trace, h3 = "Title";
        int chunks = 0;
        for (std::istringstream ops(row[1]); ops >> op;) {
            if (op.rfind("h:", 0) == 0) h3 = casefiles::Unescape(op.substr(2));
            if (op.rfind("t:", 0) == 0) pm.PrintChunk(casefiles::Unescape(op.substr(2)));
            if (op.rfind("r:", 0) == 0) BuildNamed(op.substr(2), *calc, sink);
            if (op == "j") sink.EndPrintJob();
            if (op[0] == 'c') {
                std::string chunk;
                for (int i = 1, n = std::stoi(op.substr(1)); i <= n; ++i)
                    chunk += "k" + std::to_string(chunks) + "_" + std::to_string(i) + "\r\n";
                pm.PrintChunk(chunk);
                ++chunks;
            }
            if (op[0] == '-' || std::isdigit(static_cast<unsigned char>(op[0]))) {
                const int n = std::stoi(op);
                const bool end = n == Reports::kEndReport || n == Reports::kEndJob;
                const int r =
                    end ? pm.PrnManager2(n, "", "", "") : pm.PrnManager2(n, "Acme", "Line2", h3);
                trace +=
                    op + " -> " + std::to_string(r) + ", " + std::to_string(pm.Counter()) + "\n";
            }
        }
        EXPECT_TRUE(SameBytes(ReadFile(CALDREN_REPORTS_DATA "/" + row[2]), trace + device.Text()))
            << row.where;
    }
}

}  // namespace
