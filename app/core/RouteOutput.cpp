#include "RouteOutput.h"

#include "BatchFailure.h"
#include "BatchFiles.h"
#include "BatchReportsHost.h"
#include "ErrorPaths.h"
#include "FileOperations.h"
#include "RunState.h"
#include "StopSignals.h"

#include <activation/Com.h>

#include <analysis/Inputs.h>
#include <workpaper/Workpaper.h>

#include <ctime>

namespace Reports {

namespace {

// The reports of the document's analysis with the report choices of the preferences (which
// the report selection may change).
bool Run(const caldren::Document& document, caldren::Preferences& preferences,
         const caldren::RunOptions& options, ReportMode mode, ReportsHost& host) {
    ReportChoices choices;
    choices.input = preferences.rptInput;
    choices.summary = preferences.rptSummary;
    choices.detail = preferences.rptDetail;
    RunContext ctx{*document.engine,         host,          choices,
                   document.currentFileName, options.batch, WordingOf(options, preferences)};
    const bool written = RunReports(mode, ctx);
    preferences.rptInput = static_cast<std::int16_t>(choices.input);
    preferences.rptSummary = static_cast<std::int16_t>(choices.summary);
    preferences.rptDetail = static_cast<std::int16_t>(choices.detail);
    return written;
}

// The workbook of "/workpaper", from the analysis the reports were built from, before the
// reports are appended: a workbook that cannot be written fails the run, which then leaves
// the report file and the data file as they were.
void WriteBatchWorkpaper(vesmora::_Caldren& calculated, const std::string& path) {
    if (path.empty()) return;
    try {
        workpaper::WriteWorkpaper(calculated, path);
    } catch (const activation::ComError& e) {
        throw caldren::BatchFailure{e.Number(),
                                    e.Description(),
                                    caldren::ErrorPaths::ReporterLocation("Reports.RouteOutput", e),
                                    path,
                                    {}};
    }
}

}  // namespace

Wording WordingOf(const caldren::RunOptions& options, const caldren::Preferences& preferences) {
    return options.correctedWording || preferences.correctedWording ? Wording::Corrected
                                                                    : Wording::AsEver;
}

bool WithHeadings(const caldren::RunOptions& options, const caldren::Preferences& preferences) {
    return options.reportHeadings || preferences.reportFileHeadings;
}

std::string RunTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%m/%d/%Y %H:%M:%S", &local);
    return text;
}

bool RouteOutput(caldren::RunState& state, ReportMode mode, ReportsHost& host) {
    using namespace caldren;
    try {
        if (!FileOperations::Save(state, state.document.currentFileName)) return false;
        const bool written = Run(state.document, state.preferences, state.options, mode, host);
        if (!written && state.options.batch) return false;
        const bool reopened = FileOperations::OpenFile(state, state.document.currentFileName);
        return written && reopened;
    } catch (const std::exception& e) {
        ErrorPaths::AskThenShutDown(state.program, state.options, ErrorPaths::AsComError(e),
                                    "Reports.RouteOutput");
        return false;
    }
}

bool RouteOutput(caldren::RunState& state, caldren::BatchReportsHost& host,
                 caldren::BatchFiles::ReportFile& report) {
    using namespace caldren;
    try {
        // The data file is saved as it was read, with this program's version, never with the
        // estimates a calculation makes of the months' inventories. So the analysis as loaded
        // is copied (inputs and months) into an object of its own, which is saved; the loaded
        // object is calculated for the reports. The file is read once.
        const vesmora::ComPtr<vesmora::_Caldren> loaded = state.document.engine;
        const vesmora::ComPtr<vesmora::_Caldren> asRead = state.document.NewEngine();
        asRead->BeginEdit();
        analysis::CopyInputs(*loaded, *asRead);
        if (!Run(state.document, state.preferences, state.options, kFile, host)) return false;
        WriteBatchWorkpaper(*loaded, state.options.workpaperFileName);
        state.document.engine = asRead;
        const std::string runHeading = WithHeadings(state.options, state.preferences)
                                           ? RunHeadingText(state.document.currentFileName,
                                                            loaded->get_EOYCurrent(), RunTimeText())
                                           : std::string();
        StopSignals::ThrowIfNoted();
        report.Append(runHeading + host.Text(), state.document.currentFileName);
        // The save renames the new file over the old in one step; while it runs and the
        // append is committed, stop signals wait. One noted before is obeyed here.
        const StopSignals::Hold hold;
        StopSignals::ThrowIfNoted();
        if (!FileOperations::Save(state, state.document.currentFileName)) {
            report.TakeBack();
            return false;
        }
        report.Commit();
        return true;
    } catch (const std::exception& e) {
        report.TakeBack();
        ErrorPaths::AskThenShutDown(state.program, state.options, ErrorPaths::AsComError(e),
                                    "Reports.RouteOutput");
        return false;
    }
}

}  // namespace Reports
