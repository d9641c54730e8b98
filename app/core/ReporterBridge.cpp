#include "ReporterBridge.h"

#include "RunState.h"

#include <errorreporter/ErrorReporter.h>

namespace caldren::Reporter {

namespace {

errorreporter::ErrorReporter& Of(RunState& state) {
    if (!state.program.errorReporter)
        state.program.errorReporter = std::make_shared<errorreporter::ErrorReporter>();
    return *state.program.errorReporter;
}

std::string DescriptionOf(const activation::ComError& err) {
    return err.Description().empty() ? activation::StandardErrorText(err.Number())
                                     : err.Description();
}

}  // namespace

bool ReportAndAsk(RunState& state, const activation::ComError& err, const std::string& location) {
    return Of(state).ReportAndAsk(err.Number(), DescriptionOf(err), location, kDescription);
}

bool ReportOrLog(RunState& state, const activation::ComError& err, const std::string& location) {
    return Of(state).ReportOrLog(err.Number(), DescriptionOf(err), location, state.options.batch,
                                 state.program.errorLogPath, kDescription);
}

void LogBatchFailure(RunState& state, long number, const std::string& description,
                     const std::string& location) {
    Of(state).ReportOrLog(number, description, location, true, state.program.errorLogPath,
                          kDescription);
}

}  // namespace caldren::Reporter
