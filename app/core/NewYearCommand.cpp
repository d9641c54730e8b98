#include "NewYearCommand.h"

#include "ErrorPaths.h"
#include "FileOperations.h"
#include "RunState.h"
#include "Ui.h"

#include <analysis/InputChanges.h>
#include <analysis/Rollforward.h>

namespace caldren::NewYearCommand {

bool Run(RunState& state, const analysis::EngineFactory& newEngine) {
    try {
        if (!state.engine || !FileOperations::AskUnsaved(state)) return false;
        vesmora::ComPtr<vesmora::_Caldren> next = analysis::RollForward(*state.engine, newEngine);
        const std::string name = analysis::NextYearFileName(
            state.currentFileName, state.engine->get_EOYCurrent(), next->get_EOYCurrent());
        state.engine = std::move(next);
        FileOperations::ReleaseFile(state);  // this year's file stays as it is, for others too
        state.currentFileName = name;
        state.SetSaved(false);
        if (state.ui) state.ui->SetStatusText("File: " + name);
        analysis::InputChanges().Notify();
        return true;
    } catch (const std::exception& e) {
        ErrorPaths::LogAndGoOn(state, ErrorPaths::AsComError(e), "File Operations.NewYear");
        return false;
    }
}

}  // namespace caldren::NewYearCommand
