// CompareYears: the command View, Compare Years... of the main window.
//
// An open dialog in which several data files may be chosen (through the Ui seam); two to
// six files are compared, otherwise a message says so and nothing else happens. Each file
// is loaded and calculated in an engine object of its own, so the analysis being edited
// is not touched and no data file is written; the comparison report goes to the sink given
// (the report viewer). A file that fails keeps its column in the report, which says why.
#pragma once

#include "Ui.h"

#include <ReportCompare.h>

#include <functional>
#include <string>
#include <vector>

namespace caldren {

struct Preferences;

namespace CompareYears {

inline constexpr const char* kTitle = "Compare Years";
// The message for fewer than two or more than six files.
inline constexpr const char* kChooseTwoToSix =
    "Please choose from two to six data files to compare (hold Ctrl to choose several).";

// The dialog's spec: "Compare Years", the data folder, data files.
FileDialogSpec DialogSpec(const Preferences& preferences);

// The whole command. Returns the number of files compared (0 when the dialog was
// cancelled or the count refused). Errors of the sink are shown with the program's title
// and the error's text; the run goes on.
int Run(const Preferences& preferences, Ui& ui, Reports::ReportSink& sink,
        const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine);

// The comparison of files already chosen (two to six), into the sink.
void CompareFiles(const std::vector<std::string>& names, Reports::ReportSink& sink,
                  const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine);

}  // namespace CompareYears
}  // namespace caldren
