// Reports.RouteOutput: one report command from start to end. Saves the analysis into the
// current data file, runs the reports in the given mode, and opens the file again so that
// the engine holds the analysis as saved.
#pragma once

#include <Reports.h>

namespace caldren {
struct Preferences;
struct RunOptions;
struct RunState;
class BatchReportsHost;
namespace BatchFiles {
class ReportFile;
}
}  // namespace caldren

namespace Reports {

// The wording of the run's reports: corrected when the command line ("/corrected") or the
// settings (Options, "Corrected Report Wording") ask for it.
Wording WordingOf(const caldren::RunOptions& options, const caldren::Preferences& preferences);
// True when a batch run writes its reports with headings ("/headings", or the setting
// "Report File Headings").
bool WithHeadings(const caldren::RunOptions& options, const caldren::Preferences& preferences);
// The local date and time as RunHeadingText shows it: "12/07/2026 16:20:05".
std::string RunTimeText();

// Steps, in order: FileOperations::Save with the current file name; RunReports(mode) with
// the run state's report choices; FileOperations::OpenFile with the current file name.
// Returns true when all three succeeded. Errors of its own go to the error reporter's
// ReportAndAsk with the location "Reports.RouteOutput", then ShutDown with the answer. A
// failed save stops the command before any report is built.
bool RouteOutput(caldren::RunState& state, ReportMode mode, ReportsHost& host);

// The batch run's report output (File mode), in the order that lets a failure leave both
// files as they were: RunReports builds the reports in memory (calculating first; the
// analysis as loaded is the analysis that is saved, so the texts are the same), the text
// is appended to the report file in one piece, then FileOperations::Save writes the data
// file. A failed save takes the appended text back. The file is not opened again: the
// run ends here. Returns true when all of it succeeded; a failure is thrown as
// BatchFailure, or left in host.Failure() when a report builder failed (false). With
// headings (WithHeadings) the reports are preceded by RunHeadingText and `host` is expected
// to put the viewer's heading block before each report.
bool RouteOutput(caldren::RunState& state, caldren::BatchReportsHost& host,
                 caldren::BatchFiles::ReportFile& report);

}  // namespace Reports
