// The contract between the program and the summary's workbook library
// libcaldrensummarybook.so (app/summarybook).
//
// The library links libxlsxwriter; the program does not, so that a run that writes no
// workbook never loads it. WriteSummaryFile loads the library from the program folder with
// dlopen when a workbook is first written, looks up the entry point with dlsym and calls
// it. The entry writes the whole workbook to `path` (a file of the caller's, which puts it
// in place) and throws activation::ComError 5 with the library's message when it fails.
#pragma once

#include "Summary.h"

#include <string>
#include <vector>

extern "C" void CaldrenWriteSummaryBook(const std::vector<caldren::summary::Row>& rows,
                                        const std::string& path);

namespace caldren::summary {

using WriteBookFunction = void (*)(const std::vector<Row>& rows, const std::string& path);

inline constexpr const char* kBookLibraryName = "libcaldrensummarybook.so";  // program folder
inline constexpr const char* kBookEntrySymbol = "CaldrenWriteSummaryBook";

// The figure columns of a row, in the order of ColumnHeadings() after its first five
// (file, name, second line, year end, methods) and before the last (the failure): a
// method's columns are empty when it was not chosen.
struct Cell {
    enum Kind { Empty, Whole, Days, Part } kind = Empty;
    long long whole = 0;
    std::string text;  // Days, Part: the reports' text
};
std::vector<Cell> FigureCells(const Row& row);

}  // namespace caldren::summary
