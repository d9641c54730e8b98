#include "ErrorPaths.h"

#include "BatchFailure.h"
#include "ProgramInfo.h"
#include "ReporterBridge.h"
#include "RunOptions.h"

#include <errorreporter/ErrorReporter.h>

#include <memory>
#include <new>

namespace caldren::ErrorPaths {

using activation::ComError;

std::string ReporterLocation(const std::string& location, const ComError& err) {
    return err.Source().empty() ? location : location + "\r" + err.Source();
}

namespace {

[[noreturn]] void FailBatch(const ComError& err, const std::string& location) {
    std::string description = err.Description();
    if (description.empty()) description = activation::StandardErrorText(err.Number());
    throw BatchFailure{err.Number(), description, ReporterLocation(location, err)};
}

}  // namespace

void OwnMessage(const RunOptions& options, const ComError& err, const std::string& location) {
    if (options.batch) FailBatch(err, location);
    if (options.ui) options.ui->ReportErrorAndQuit(err.Number(), location);
}

void AskThenShutDown(ProgramInfo& program, const RunOptions& options, const ComError& err,
                     const std::string& location) {
    if (options.batch) FailBatch(err, location);
    const bool saveFirst = Reporter::ReportAndAsk(program, err, ReporterLocation(location, err));
    if (options.ui) options.ui->ShutDown(saveFirst);
}

void LogThenShutDown(ProgramInfo& program, const RunOptions& options, const ComError& err,
                     const std::string& location) {
    if (options.batch) FailBatch(err, location);
    const bool saveFirst =
        Reporter::ReportOrLog(program, options.batch, err, ReporterLocation(location, err));
    if (options.ui) options.ui->ShutDown(saveFirst);
}

void LogAndGoOn(ProgramInfo& program, const RunOptions& options, const ComError& err,
                const std::string& location) {
    LogAndGoOn(program, options, err, location, std::string());
}

void LogAndGoOn(ProgramInfo& program, const RunOptions& options, const ComError& err,
                const std::string& location, const std::string& description) {
    const ComError shown =
        description.empty() ? err : ComError(err.Number(), err.Source(), description);
    if (options.batch) FailBatch(shown, location);
    if (!program.errorReporter)
        program.errorReporter = std::make_shared<errorreporter::ErrorReporter>();
    std::string text = shown.Description();
    if (text.empty()) text = activation::StandardErrorText(shown.Number());
    program.errorReporter->ReportError(shown.Number(), text, ReporterLocation(location, shown),
                                       kDescription);
}

ComError AsComError(const std::exception& e) {
    if (auto* c = dynamic_cast<const ComError*>(&e)) return *c;
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return ComError(7, "", activation::StandardErrorText(7));
    return ComError(5, e.what(), activation::StandardErrorText(5));
}

}  // namespace caldren::ErrorPaths
