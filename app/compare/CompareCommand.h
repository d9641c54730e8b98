// View, Compare Years...: the windows' side of CompareYears. The files are chosen in the
// program's open dialog (several at once, through the run state's Ui) and the comparison
// opens in a report viewer of its own, whose "print" prints it and whose "Save as PDF..."
// saves it.
#pragma once

class QWidget;

namespace caldren {
struct RunState;
}
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::compare {

// Returns the number of files compared (0 when cancelled or refused).
int CompareYearsCommand(RunState& state, dialogs::Dialogs& dialogs, QWidget* parent);

}  // namespace caldren::compare
