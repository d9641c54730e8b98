// Reports::ReportsHost of a batch run: File mode into memory (the reports are built whole
// before anything is written), no dialog, no cursor, no printer. An error a report path
// hands it is kept (the first one) instead of shown, so that the batch run can end with it.
#pragma once

#include "BatchFailure.h"

#include <Reports.h>

#include <optional>
#include <string>

namespace caldren {

class BatchReportsHost : public Reports::ReportsHost {
public:
    // With `headings` each report begins with the heading block the viewer shows.
    explicit BatchReportsHost(bool headings = false) : m_headings(headings) {}

    void GetReports(Reports::ReportMode, Reports::ReportChoices&) override {}
    int GetCopies() override { return 0; }
    void SetNewFont(Reports::PrinterFontRecord&) override {}
    void SetOldFont(const Reports::PrinterFontRecord&) override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::unique_ptr<Reports::ReportSink> MakeSink(Reports::ReportMode mode) override;
    void ShowNoDataNotice() override;
    void ReportOrLog(const activation::ComError& error, const std::string& location) override;
    void ReportErrorAndQuit(const activation::ComError& error,
                            const std::string& location) override;

    // The first error handed over, as the batch run reports it.
    const std::optional<BatchFailure>& Failure() const { return m_failure; }
    // The completed reports, each followed by CR LF, in the order they were built.
    const std::string& Text() const { return m_text; }

private:
    void Keep(const activation::ComError& error, const std::string& location);

    std::string m_text;
    std::optional<BatchFailure> m_failure;
    bool m_headings = false;
};

}  // namespace caldren
