#include "ReporterBridge.h"

#include "ProgramInfo.h"

#include <errorreporter/ErrorReporter.h>

namespace caldren::Reporter {

namespace {

errorreporter::ErrorReporter& Of(ProgramInfo& program) {
    if (!program.errorReporter)
        program.errorReporter = std::make_shared<errorreporter::ErrorReporter>();
    return *program.errorReporter;
}

std::string DescriptionOf(const activation::ComError& err) {
    return err.Description().empty() ? activation::StandardErrorText(err.Number())
                                     : err.Description();
}

}  // namespace

bool ReportAndAsk(ProgramInfo& program, const activation::ComError& err,
                  const std::string& location) {
    return Of(program).ReportAndAsk(err.Number(), DescriptionOf(err), location, kDescription);
}

bool ReportOrLog(ProgramInfo& program, bool batch, const activation::ComError& err,
                 const std::string& location) {
    return Of(program).ReportOrLog(err.Number(), DescriptionOf(err), location, batch,
                                   program.errorLogPath, kDescription);
}

void LogBatchFailure(ProgramInfo& program, long number, const std::string& description,
                     const std::string& location) {
    Of(program).ReportOrLog(number, description, location, true, program.errorLogPath,
                            kDescription);
}

}  // namespace caldren::Reporter
