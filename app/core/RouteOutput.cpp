#include "RouteOutput.h"

#include "BatchFiles.h"
#include "BatchReportsHost.h"
#include "ErrorPaths.h"
#include "FileOperations.h"
#include "RunState.h"

#include <activation/Activation.h>

namespace Reports {

namespace {

bool Run(caldren::RunState& state, ReportMode mode, ReportsHost& host) {
    ReportChoices choices;
    choices.input = state.preferences.rptInput;
    choices.summary = state.preferences.rptSummary;
    choices.detail = state.preferences.rptDetail;
    RunContext ctx{*state.document.engine, host, choices, state.document.currentFileName,
                   state.options.batch};
    const bool written = RunReports(mode, ctx);
    state.preferences.rptInput = static_cast<std::int16_t>(choices.input);
    state.preferences.rptSummary = static_cast<std::int16_t>(choices.summary);
    state.preferences.rptDetail = static_cast<std::int16_t>(choices.detail);
    return written;
}

}  // namespace

bool RouteOutput(caldren::RunState& state, ReportMode mode, ReportsHost& host) {
    using namespace caldren;
    try {
        if (!FileOperations::Save(state, state.document.currentFileName)) return false;
        const bool written = Run(state, mode, host);
        if (!written && state.options.batch) return false;
        const bool reopened = FileOperations::OpenFile(state, state.document.currentFileName);
        return written && reopened;
    } catch (const std::exception& e) {
        ErrorPaths::AskThenShutDown(state, ErrorPaths::AsComError(e), "Reports.RouteOutput");
        return false;
    }
}

bool RouteOutput(caldren::RunState& state, caldren::BatchReportsHost& host,
                 caldren::BatchFiles::ReportFile& report) {
    using namespace caldren;
    try {
        // The reports are calculated on an object of their own, loaded from the same (locked)
        // file: a calculation re-estimates the months' inventories, and the data file is
        // saved as it was read, with this program's version, never with those estimates.
        const vesmora::ComPtr<vesmora::_Caldren> loaded = state.document.engine;
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        struct PutBack {
            caldren::RunState& state;
            const vesmora::ComPtr<vesmora::_Caldren>& engine;
            ~PutBack() { state.document.engine = engine; }
        } putBack{state, loaded};
        state.document.engine->Load(state.document.currentFileName);
        if (!Run(state, kFile, host)) return false;
        state.document.engine = loaded;
        report.Append(host.Text());
        if (FileOperations::Save(state, state.document.currentFileName)) return true;
        report.TakeBack();
        return false;
    } catch (const std::exception& e) {
        report.TakeBack();
        ErrorPaths::AskThenShutDown(state, ErrorPaths::AsComError(e), "Reports.RouteOutput");
        return false;
    }
}

}  // namespace Reports
