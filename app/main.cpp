// CaldrenCalc: the program's entry. Everything happens in MainMod::Main; this file only
// owns the run state for the life of the process.
#include "MainMod.h"
#include "RunState.h"

#include <errorreporter/ErrorReporter.h>

#include <memory>

int main(int argc, char** argv) {
    caldren::RunState state;
    // The error reporter comes first; without windows it writes to stderr and asks nothing.
    state.program.errorReporter = std::make_shared<errorreporter::ErrorReporter>();
    const int code = caldren::MainMod::Main(state, argc, argv);
    // The engine goes before the error reporter's last use and before the libraries unload.
    state.document.engine.Reset();
    return code;
}
