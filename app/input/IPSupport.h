// IPSupport: opening the input form, the default months and the days of a month.
#pragma once

#include <vesmora/Vesmora.h>

#include <string>

class QWidget;

namespace caldren {
struct RunState;
class Ui;
}  // namespace caldren
namespace caldren::dialogs {
class Dialogs;
}

namespace caldren::input::IPSupport {

// Loads the input form on the run state's engine (load sequence, BeginEdit last), centres
// it, shows the file name shortened (SetInitialIP) and shows it modally. Returns when the
// form has closed. Errors take the program's own error message with location "InitIP".
void InitIP(RunState& state, Ui& ui, dialogs::Dialogs& dialogs, QWidget* parent = nullptr);

// Fills an empty month collection with twelve months dated "12/31/2002" with amounts of
// 0; a collection that holds any month is left as it is.
void InitMonths(vesmora::_Months& months);
// The same with its error path: the error reporter (location "IPSupport.InitMonths"),
// then the shutdown with the answer as save-first choice.
void InitMonths(RunState& state, vesmora::_Months& months);

// Days of month 1..12 (February 28; the leap day is the derivation's business).
int CalcDaysMonth(int month);

// Saves the data file under the current file name (FileOperations::Save).
void GetInputs(RunState& state);

// "m/d/y" parsed from "mm/dd/yyyy" or "m/d/yyyy": false when the text is not a date.
bool SplitDate(const std::string& text, int& month, int& day, int& year);

// The same month and day one year later, "m/d/yyyy" without leading zeros. A year end of
// February 29 becomes February 28 of the next year (the next year has no February 29).
std::string NextYearDate(int month, int day, int year);

}  // namespace caldren::input::IPSupport
