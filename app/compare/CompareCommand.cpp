#include "CompareCommand.h"

#include "app/core/CompareYears.h"
#include "app/core/RunState.h"
#include "app/reports/QtReportsHost.h"

#include <activation/Activation.h>

namespace caldren::compare {

int CompareYearsCommand(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent) {
    if (!state.options.ui) return 0;
    // The viewer opens when the report ends (ViewSink); loading six files takes a few
    // milliseconds, so no busy cursor is needed.
    reportwindows::ViewSink sink(state, dialogs, parent);
    return CompareYears::Run(state.preferences, *state.options.ui, sink, [] {
        return activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    });
}

}  // namespace caldren::compare
