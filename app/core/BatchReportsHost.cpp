#include "BatchReportsHost.h"

#include "ErrorPaths.h"

namespace caldren {

std::unique_ptr<Reports::ReportSink> BatchReportsHost::MakeSink(Reports::ReportMode mode) {
    if (mode != Reports::kFile) {
        throw activation::ComError(5, "BatchReportsHost.MakeSink",
                                   activation::StandardErrorText(5));
    }
    return std::make_unique<Reports::MemorySink>(m_text, m_headings);
}

void BatchReportsHost::ShowNoDataNotice() {
    Keep(activation::ComError(10005, "Reports", Reports::kNoDataNotice), "Reports");
}

void BatchReportsHost::ReportOrLog(const activation::ComError& error, const std::string& location) {
    Keep(error, location);
}

void BatchReportsHost::ReportErrorAndQuit(const activation::ComError& error,
                                          const std::string& location) {
    Keep(error, location);
}

void BatchReportsHost::Keep(const activation::ComError& error, const std::string& location) {
    if (m_failure) return;
    std::string description = error.Description();
    if (description.empty()) description = activation::StandardErrorText(error.Number());
    // The report paths pass either the bare location or the location with the source.
    const std::string where = location.find('\r') == std::string::npos
                                  ? ErrorPaths::ReporterLocation(location, error)
                                  : location;
    m_failure = BatchFailure{error.Number(), description, where, {}, {}};
}

}  // namespace caldren
