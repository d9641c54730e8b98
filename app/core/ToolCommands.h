// ToolCommands: the command-line tools that work on one data file without any window.
//
//   CaldrenCalc /rollforward <data file>.cld /output <new data file>.cld
//       Writes next year's analysis (Rollforward.h) of the data file into a new data file,
//       saved with this program's version. The data file is only read. The new file must
//       not exist yet. Exit status 0 when it was written, 1 when the data file cannot be
//       read or the new file cannot be written (nothing is written then), 2 when a name is
//       missing.
//   CaldrenCalc /check <data file>.cld
//       Prints the checks of the figures (Checks.h). The data file is only read. Exit
//       status 0 when nothing is found, 1 when something is, 2 when the data file cannot
//       be read or the name is missing.
//
// The command line (CommandLine.h) names the tool and its files. Messages go to the error
// stream; the listing and the note of the file written to the output stream. No Qt is
// loaded. A stop signal (StopSignals.h: TERM, INT, HUP, QUIT) ends /rollforward with
// nothing written (exit 128 + the signal); the temporary file a /rollforward killed with
// kill -9 left beside the new file (".<name>.<8 hex digits>~") is removed by the next one.
#pragma once

#include <analysis/Analyzer.h>

#include <iosfwd>
#include <string>

namespace caldren::ToolCommands {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFound = 1;    // /check: something looks wrong
inline constexpr int kExitFailure = 1;  // /rollforward: nothing was written
inline constexpr int kExitUnreadable = 2;
inline constexpr int kExitUsage = 2;

int RunCheck(const std::string& dataFile, std::ostream& out, std::ostream& err,
             const analysis::EngineFactory& newEngine);
int RunRollforward(const std::string& dataFile, const std::string& newFile,
                   const std::string& versionTag, std::ostream& out, std::ostream& err,
                   const analysis::EngineFactory& newEngine);

// The lines of the program's usage text for the two tools (ends with a line end).
std::string Usage();

}  // namespace caldren::ToolCommands
