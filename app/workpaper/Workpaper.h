// Workpaper: the analysis as a workbook whose formulas compute it.
//
// Sheets, in this order: Inputs (every input, as entered and as the program uses it, with
// its engine property and where the accountant finds it; the available working capital and
// the cost of operations), Months, Peak Operating Cycle and Average Operating Cycle (each
// only when its method is chosen) and Summary (laid out like the Summary report, shown
// first when the workbook opens). Every computed figure is a formula over the Inputs and
// Months cells, rounded where and as the program rounds, and carries the program's figure as
// its cached result.
#pragma once

#include <vesmora/Vesmora.h>

#include <string>

namespace workpaper {

// Writes the workbook of a calculated analysis to `path` (.xlsx), replacing the file in one
// step (a failed write leaves the old file as it was). Call it where the reports are built:
// after Calculate, on an analysis that has been saved or loaded. The month collection is
// renumbered from the current year end first, as the reports do.
//
// Errors are thrown as activation::ComError with the source "Workpaper.WriteWorkpaper", a
// carriage return and the cause:
//   429  the workbook library could not be loaded (its name and the loader's message);
//   5    the workbook could not be laid out (the library's message);
//   the file errors of activation::FileErrorNumber (70 permission denied, 76 path not
//        found, 61 disk full, 75 other) with the path and the system's message;
//   an engine error, raised again with this location.
// The description is "Caldren Formula Calculator".
void WriteWorkpaper(vesmora::_Caldren& calc, const std::string& path);

}  // namespace workpaper
