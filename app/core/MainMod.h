// Module MainMod: the program's entry and the batch run.
//
// Main reads the command line once (CommandLine.h) and runs the command it names: the
// usage text, a batch run, a batch comparison, the checks of a data file, next year's
// analysis of a data file, or the interactive start (the window library, GuiEntry.h).
#pragma once

#include <string>
#include <vector>

namespace caldren {

struct RunState;
struct ProgramInfo;
struct BatchFailure;

namespace MainMod {

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Main's batch run ("/input <data file> /output <report file> /silent"): BatchUi as the
// Ui, the engine's class found once for every engine object of the run, RunSilent. A
// failure on the way is printed on stderr and logged. Returns the exit code.
int RunBatch(RunState& state, const std::string& dataFile, const std::string& outputFile);

// The batch run: Summary and Detailed report choices, the data file locked and opened,
// RouteOutput in File mode (reports built, appended, then the data file saved; the run
// protocol is in BatchFiles.h). Returns the exit code. A failing run leaves the data file
// and the report file as they were, prints the error on stderr and logs it.
int RunSilent(RunState& state);

// The batch comparison ("/compare" with "/output" and "/silent"): the files loaded and
// calculated each in an engine object of its own (never saved, never locked), the
// comparison report appended to the output file under its lock. A report path that names
// one of the data files is refused. A failed file is printed on stderr and logged; the
// exit code is then kExitFailure, as when the output file cannot be written.
int RunCompare(ProgramInfo& program, const std::string& outputFile,
               const std::vector<std::string>& names);

// The whole program: the command line, the program's identity (folder, help file, version
// texts, error log), then the command it names. Returns the exit code. The engine library
// is found by the activation layer.
int Main(RunState& state, int argc, char** argv);

// Prints a batch failure on stderr and appends it to the error log: number, text, the
// file and the entry concerned, the location and the source chain.
void ReportBatchFailure(ProgramInfo& program, const BatchFailure& failure);

}  // namespace MainMod
}  // namespace caldren
