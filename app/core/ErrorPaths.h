// The three ways a trapped error reaches the user, and the batch run's replacement.
//
//   OwnMessage      the program's own error message, then the program ends
//                   (location: the plain procedure name, "Save", "GetIni", ...)
//   AskThenShutDown the error reporter's ReportAndAsk, then ShutDown with the answer
//                   ("MainMod.GetCommandLineFilename", "Reports.RouteOutput")
//   LogThenShutDown the error reporter's ReportOrLog, then ShutDown with the answer
//                   ("MainMod.RunSilent", "File Operations.DisplayShorterFilename", ...)
//   LogAndGoOn      the error reporter's ReportOrLog; the program goes on
//                   ("File Operations.Open File"). In the windows the error is shown
//                   without the question whether to save before the program ends: it
//                   does not end.
//
// The reporter's location argument is the location, a carriage return and the error's
// source. In a batch run (options.batch) every path throws BatchFailure instead: a batch run
// asks nothing, and any failure ends it with a non-zero exit. The error reporter and the
// error log are the program's (ProgramInfo); the message and the shutdown go through the
// run's Ui (RunOptions).
#pragma once

#include <activation/Com.h>

#include <string>

namespace caldren {

struct ProgramInfo;
struct RunOptions;

namespace ErrorPaths {

// location + CR + the error's source (just the location when the source is empty).
std::string ReporterLocation(const std::string& location, const activation::ComError& err);

void OwnMessage(const RunOptions& options, const activation::ComError& err,
                const std::string& location);
void AskThenShutDown(ProgramInfo& program, const RunOptions& options,
                     const activation::ComError& err, const std::string& location);
void LogThenShutDown(ProgramInfo& program, const RunOptions& options,
                     const activation::ComError& err, const std::string& location);
void LogAndGoOn(ProgramInfo& program, const RunOptions& options, const activation::ComError& err,
                const std::string& location);
// As above, with a description of the caller's own in place of the error's (e.g. which
// file could not be opened).
void LogAndGoOn(ProgramInfo& program, const RunOptions& options, const activation::ComError& err,
                const std::string& location, const std::string& description);

// A standard library exception seen by a trapping procedure, as the error object the
// program handles (number 5 "Invalid procedure call or argument" unless it is a ComError,
// 7 "Out of memory" for bad_alloc).
activation::ComError AsComError(const std::exception& e);

}  // namespace ErrorPaths
}  // namespace caldren
