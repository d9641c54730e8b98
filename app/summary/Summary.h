// Summary: the firm's client list at once. Every data file named, or every ".cld" of a
// folder, is read (never saved, never locked: the profile store reads a file whole, so a
// file being saved is read old or new, never a mixture), calculated on an engine object of
// its own, and becomes one row: the client, the methods chosen and, for each, the figures
// the Summary report shows. Files are read on a pool of threads, one engine object per
// file; a file that fails keeps its row with the reason in the user's words.
//
// Amounts are whole units, rounded as the reports round them (halves away from zero); the
// cycle's days and part of a year are the reports' texts ("95.4694", "0.26156").
#pragma once

#include <vesmora/Vesmora.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace caldren::summary {

using NewEngine = std::function<vesmora::ComPtr<vesmora::_Caldren>()>;

// The figures of one chosen method.
struct MethodFigures {
    std::string days;  // the cycle in days ("95.4694")
    std::string part;  // the cycle as a part of a year ("0.26156")
    long long needed = 0;
    long long excessBefore = 0;  // before other reasonable needs and contingencies
    long long excess = 0;        // the excess working capital
};

struct Row {
    std::string file;                      // as named, or the folder's path joined with the name
    std::string name, line2;               // the client's name and second heading line
    std::string yearEnd;                   // "yyyy-mm-dd"
    std::optional<MethodFigures> peak;     // Caldren Formula, peak amounts (when chosen)
    std::optional<MethodFigures> average;  // modified by Empire Steel Castings (when chosen)
    long long available = 0, costOfOperations = 0;
    std::string failure;  // why the file has no figures ("Could not be loaded: ..."); empty

    bool Ok() const { return failure.empty(); }
    // "Peak", "Average", "Peak and Average" or "".
    std::string Methods() const;
    // The larger excess working capital of the methods chosen; none for a failed row or a
    // file that chose no method.
    std::optional<long long> LargestExcess() const;
};

// The data files the names stand for: a file as named (whatever its extension; a name that
// does not exist stays, and its row says so), a folder's ".cld" files (any case) sorted by
// name, with those of its subfolders when `recursive` (links to folders are not followed).
// A folder that cannot be read becomes a failed row in `unreadable`.
std::vector<std::string> ListDataFiles(const std::vector<std::string>& names, bool recursive,
                                       std::vector<Row>& unreadable);

// Engine objects of the engine's class (found by ProgID at the first call, once).
NewEngine EngineMaker();

// One file's row. Never throws.
Row ReadRow(const std::string& file, const NewEngine& newEngine);

// What a caller sees of a reading in progress, and how it stops it early.
struct Progress {
    std::atomic<std::size_t> done{0};
    std::atomic<bool> cancel{false};
};

// The rows of `files` in the same order, read on `threads` threads (0: one per core). After
// a cancel only the rows read so far are returned. `newEngine` is called under a lock.
std::vector<Row> ReadRows(const std::vector<std::string>& files, const NewEngine& newEngine,
                          Progress& progress, unsigned threads = 0);

// Largest excess first; rows without an excess (no method chosen) after those with one,
// failed rows last; rows that tie keep their order.
void OrderRows(std::vector<Row>& rows);

// The figure columns of a row, in the order of ColumnHeadings() after its first five
// (file, name, second line, year end, methods) and before the last (the failure): a
// method's columns are empty when it was not chosen.
struct Cell {
    enum Kind { Empty, Whole, Days, Part } kind = Empty;
    long long whole = 0;
    bool dollars = false;  // Whole: shown with "$", as the Summary report shows it
    std::string text;      // Days, Part: the reports' text
};
std::vector<Cell> FigureCells(const Row& row);

// ---- Writing ---------------------------------------------------------------------------

// The column headings, in order, as the CSV and the workbook show them.
const std::vector<std::string>& ColumnHeadings();

// The rows as CSV (RFC 4180: UTF-8, one heading row, CR LF, fields quoted when they hold a
// comma, a quote or a line break). A text that a spreadsheet would take for a formula
// (beginning with "=", "+", "-" or "@") is written after an apostrophe.
void WriteCsv(const std::vector<Row>& rows, std::ostream& out);

// Writes the rows to `path`: CSV for ".csv", a workbook for ".xlsx" (any case), replacing
// the file in one step. Throws activation::ComError: the file errors of
// activation::FileErrorNumber with the path and the system's message, 429 when the workbook
// library cannot be loaded, 5 for another extension or when the workbook cannot be laid out.
void WriteSummaryFile(const std::vector<Row>& rows, const std::string& path);

// True when `path` ends in ".csv" or ".xlsx" (any case).
bool IsSummaryFileName(const std::string& path);

}  // namespace caldren::summary
