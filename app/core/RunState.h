// The program's run state: the parts CaldrenCalc holds for the whole run, owned together.
//
// One instance lives in main() for the whole process; the windows library gets it through
// CaldrenGuiMain (GuiEntry.h). Each procedure takes the parts it uses: the open document
// (Document.h), the settings (Preferences.h), the program's identity and folders
// (ProgramInfo.h) and how this run goes (RunOptions.h); only those that use all of them take
// the whole. Nothing else in the program keeps program-wide state. Filled in this order:
// main() creates the error reporter, MainMod::Main sets the program's identity, what the
// command line gave and the engine; an interactive start then loads the settings
// (Settings.h, GetIni).
#pragma once

#include "Document.h"
#include "Preferences.h"
#include "ProgramInfo.h"
#include "RunOptions.h"

namespace caldren {

struct RunState {
    Document document;
    Preferences preferences;
    ProgramInfo program;
    RunOptions options;

    // Points the run at `newUi` (nullptr: none) and tells it when the saved flag is set.
    void SetUi(Ui* newUi) {
        options.ui = newUi;
        if (newUi)
            document.savedChanged = [newUi] { newUi->SavedChanged(); };
        else
            document.savedChanged = nullptr;
    }
};

}  // namespace caldren
