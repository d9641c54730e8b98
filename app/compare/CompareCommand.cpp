#include "CompareCommand.h"

#include "app/core/CompareYears.h"
#include "app/core/RunState.h"
#include "app/gui/ErrorDialogs.h"
#include "app/gui/GuiHooks.h"
#include "app/reports/QtReportsHost.h"

#include <activation/Activation.h>

namespace caldren::reports {

int CompareYearsCommand(RunState& state, QWidget* parent) {
    if (!state.options.ui) return 0;
    // The viewer opens when the report ends (ViewSink); loading six files takes a few
    // milliseconds, so no busy cursor is needed.
    ViewSink sink(state, parent);
    return CompareYears::Run(state, *state.options.ui, sink, [] {
        return activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    });
}

}  // namespace caldren::reports

namespace {

const bool kRegistered = [] {
    caldren::gui::Hooks().compareYears = [](caldren::RunState& state, QWidget* parent) {
        caldren::gui::NoteRunState(state);
        caldren::reports::CompareYearsCommand(state, parent);
    };
    return true;
}();

}  // namespace
