// The contract between the program CaldrenCalc and its window library libcaldrengui.so.
//
// The program itself links no Qt: a batch run never loads it. For an interactive start
// main() loads the window library from the program folder with dlopen, looks up the entry
// point below with dlsym and calls it once. When the library or the symbol is missing the
// program says so on stderr and exits with 1.
//
// Before the call main() has filled the run state: engine and error reporter created, the
// program's identity set (folder, help file, version texts, error log path), batch false,
// the current file name and the output file name from "/input" and "/output" when given,
// startFile set when a data file was named as the only argument, saved true. No Ui is set;
// the window library sets its own for the run (RunState::SetUi). The library then does the rest of
// the interactive start (splash, main window, chooser or startFile, GetIni, first action,
// event loop) and returns the process exit code; main() returns it.
//
// The window library links the same std-only core (target caldrencore) and may call every
// procedure in app/core on the state it is handed.
#pragma once

namespace caldren {
struct RunState;
}

extern "C" int CaldrenGuiMain(caldren::RunState* state, int argc, char** argv);

namespace caldren {

using GuiMainFunction = int (*)(RunState* state, int argc, char** argv);

inline constexpr const char* kGuiLibraryName = "libcaldrengui.so";  // in the program folder
inline constexpr const char* kGuiEntrySymbol = "CaldrenGuiMain";

}  // namespace caldren
