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
        if (!state.document.engine || !FileOperations::AskUnsaved(state)) return false;
        vesmora::ComPtr<vesmora::_Caldren> next =
            analysis::RollForward(*state.document.engine, newEngine);
        const std::string name = analysis::NextYearFileName(state.document.currentFileName,
                                                            state.document.engine->get_EOYCurrent(),
                                                            next->get_EOYCurrent());
        state.document.engine = std::move(next);
        FileOperations::ReleaseFile(
            state.document);  // this year's file stays as it is, for others too
        state.document.currentFileName = name;
        state.document.SetSaved(false);
        if (state.options.ui) state.options.ui->SetStatusText("File: " + name);
        analysis::InputChanges().Notify();
        return true;
    } catch (const std::exception& e) {
        ErrorPaths::LogAndGoOn(state.program, state.options, ErrorPaths::AsComError(e),
                               "File Operations.NewYear");
        return false;
    }
}

}  // namespace caldren::NewYearCommand
