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

}  // namespace caldren::summary
