// The batch summary ("/summary <folders or data files> /output <file>.csv|.xlsx"): every
// file read and calculated in parallel (summary/Summary.h), the rows written largest excess
// first. A progress bar goes to stderr while it reads, when stderr is a terminal.
#pragma once

#include <string>
#include <vector>

namespace caldren {
struct ProgramInfo;
}

namespace caldren::SummaryCommand {

// Returns the exit code: 0 when every file was read, 1 when a file failed (its row says
// why; a line on stderr counts them) or the summary could not be written (printed and
// logged; the output file is then as it was).
int RunSummary(ProgramInfo& program, const std::vector<std::string>& names, bool recursive,
               const std::string& outputFile);

}  // namespace caldren::SummaryCommand
