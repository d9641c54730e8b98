// NewYearCommand: File, "New Year from This Analysis..." of the main window.
//
// The unsaved-data question first (as New and Open ask it); then next year's analysis of the
// open one (analysis/Rollforward.h) replaces the run state's engine, under the proposed name
// "<name><year>.cld" in the same folder, which becomes the current file name and shows in
// the status line. Nothing is written: the analysis is marked unsaved, and Save or OK of the
// input form writes it; the analysis it came from stays as it is on disk. The InputChanges
// notice follows, so the results panel shows the new analysis. The caller then opens the
// input form. Errors go to the error reporter (location "File Operations.NewYear") and the
// program goes on with the analysis it had.
#pragma once

#include <analysis/Analyzer.h>

namespace caldren {

struct RunState;

namespace NewYearCommand {

inline constexpr const char* kCaption = "New Year from This Analysis...";

// Returns true when next year's analysis is now the open one.
bool Run(RunState& state, const analysis::EngineFactory& newEngine = analysis::NewEngine);

}  // namespace NewYearCommand
}  // namespace caldren
