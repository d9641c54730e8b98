#include "RouteOutput.h"

#include "BatchFiles.h"
#include "BatchReportsHost.h"
#include "ErrorPaths.h"
#include "FileOperations.h"
#include "RunState.h"
#include "StopSignals.h"

#include <analysis/Inputs.h>

namespace Reports {

namespace {

// The reports of the document's analysis with the report choices of the preferences (which
// the report selection may change).
bool Run(const caldren::Document& document, caldren::Preferences& preferences, bool batch,
         ReportMode mode, ReportsHost& host) {
    ReportChoices choices;
    choices.input = preferences.rptInput;
    choices.summary = preferences.rptSummary;
    choices.detail = preferences.rptDetail;
    RunContext ctx{*document.engine, host, choices, document.currentFileName, batch};
    const bool written = RunReports(mode, ctx);
    preferences.rptInput = static_cast<std::int16_t>(choices.input);
    preferences.rptSummary = static_cast<std::int16_t>(choices.summary);
    preferences.rptDetail = static_cast<std::int16_t>(choices.detail);
    return written;
}

}  // namespace

bool RouteOutput(caldren::RunState& state, ReportMode mode, ReportsHost& host) {
    using namespace caldren;
    try {
        if (!FileOperations::Save(state, state.document.currentFileName)) return false;
        const bool written =
            Run(state.document, state.preferences, state.options.batch, mode, host);
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
        if (!Run(state.document, state.preferences, state.options.batch, kFile, host)) return false;
        state.document.engine = asRead;
        StopSignals::ThrowIfNoted();
        report.Append(host.Text(), state.document.currentFileName);
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
