// The program's calls into the error reporter component (ReportAndAsk, ReportOrLog) with
// the arguments the program supplies: the batch flag, the error log path and the
// program's description. Also the log line a batch run appends for its failure. The
// reporter is created in `program` when it has none yet.
#pragma once

#include <activation/Com.h>

#include <string>

namespace caldren {

struct ProgramInfo;

namespace Reporter {

// ReportAndAsk(number, description, location, "Caldren Formula Calculator").
bool ReportAndAsk(ProgramInfo& program, const activation::ComError& err,
                  const std::string& location);
// ReportOrLog(number, description, location, batch flag, error log path, description).
bool ReportOrLog(ProgramInfo& program, bool batch, const activation::ComError& err,
                 const std::string& location);
// A batch failure: ReportOrLog with the batch flag set (the reporter only logs).
void LogBatchFailure(ProgramInfo& program, long number, const std::string& description,
                     const std::string& location);

}  // namespace Reporter
}  // namespace caldren
