// Reports.RouteOutput: one report command from start to end. Saves the analysis into the
// current data file, runs the reports in the given mode, and opens the file again so that
// the engine holds the analysis as saved.
#pragma once

#include <Reports.h>

namespace caldren {
struct RunState;
}

namespace Reports {

// Steps, in order: FileOperations::Save with the current file name; RunReports(mode) with
// the run state's report choices; FileOperations::OpenFile with the current file name.
// Returns true when all three succeeded (a batch run exits 0 only then). Errors of its own
// go to the error reporter's ReportAndAsk with the location "Reports.RouteOutput", then
// ShutDown with the answer (in a batch run: BatchFailure). A failed save stops the command
// before any report is built.
bool RouteOutput(caldren::RunState& state, ReportMode mode, ReportsHost& host);

}  // namespace Reports
