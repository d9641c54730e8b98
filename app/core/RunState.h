// The program's run state: everything CaldrenCalc holds for the whole run, in one place.
//
// One instance lives in main() for the whole process. The batch path and the windows
// library (through CaldrenGuiMain, GuiEntry.h) share it; nothing else in the program keeps
// program-wide state. Filled in this order: main() creates the engine and the error
// reporter, sets the program folder, help file, version texts and what the command line
// gave; an interactive start then loads the settings (Settings.h, GetIni) into the second
// block.
#pragma once

#include "Ui.h"

#include <activation/Com.h>
#include <vesmora/Vesmora.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace errorreporter {
class ErrorReporter;
}

namespace caldren {

// The program's description and title.
inline constexpr const char* kDescription = "Caldren Formula Calculator";
inline constexpr const char* kTitle = "Orlen Caldren Formula Calculator";
inline constexpr const char* kMaker = "Orlenwick";
inline constexpr const char* kHelpFileName = "cldguide.pdf";
inline constexpr const char* kErrorLogName = "CLD_err.log";
inline constexpr const char* kSettingsFileName = "CaldrenCalc.ini";
inline constexpr const char* kDemoFileName = "DEMO.CLD";

// ReportMode: where a report command sends its text.
enum ReportMode : int { kModeView = 1, kModePrint = 2, kModeFile = 3 };

// Start-up chooser answer.
enum StartChoice : std::int16_t { kStartMainWindow = 0, kStartNew = 1, kStartOld = 2 };

// The printer's font as found at start, given back at shutdown.
struct PrinterFont {
    std::string name;
    float size = 0.0f;
    bool bold = false;
};

struct RunState {
    // ---- The run ----------------------------------------------------------------------
    // The one engine object; replaced by a fresh Caldren on New (FileOperations::ClearAllData).
    activation::ComPtr<vesmora::_Caldren> engine;
    // The error reporter; released first at shutdown.
    std::shared_ptr<errorreporter::ErrorReporter> errorReporter;
    // Whatever shows things to the user: BatchUi in a batch run, the windows' Ui otherwise.
    // Not owned.
    Ui* ui = nullptr;

    std::string programFolder;    // folder of the running program, no trailing "/"
    std::string helpFile;         // programFolder + "/cldguide.pdf"
    std::string currentFileName;  // the data file in use, exactly as typed or chosen
    // The data file whose lock file names this program (the windows only: a batch run holds
    // its own lock), and whether the current file was opened read-only because another
    // program has it open.
    std::string lockedFile;
    bool readOnly = false;
    std::string outputFileName;  // "/output" of a batch run
    bool batch = false;          // "/silent" given
    std::string versionTag;      // "CLD" + major + "." + minor, e.g. "CLD2026.12"
    std::string fullVersion;     // versionTag + "." + revision, e.g. "CLD2026.12.1"
    std::string errorLogPath;    // "CLD_err.log" in the program folder (else per-user folder)
    std::int16_t startChoice = kStartMainWindow;
    // A data file named as the only argument (opening a .cld from the desktop): the
    // interactive start opens it and skips the start-up chooser. Empty otherwise.
    std::string startFile;
    std::int32_t startTime = 0;  // seconds since midnight, when the main window shows
    std::int32_t endTime = 0;    // seconds since midnight, at shutdown
    // Report choices, 1 = chosen; 0 at start.
    std::int16_t rptInput = 0;
    std::int16_t rptSummary = 0;
    std::int16_t rptDetail = 0;

    // ---- Settings held in memory ----------------------------------------------------------
    std::string settingsFilePath;   // ".../CaldrenCalc.ini"
    std::string dataFilePath;       // initial folder of Open/Save As, folder of UNTITLED.CLD
    std::string perUserDataFolder;  // $APPDATA/Orlenwick/CLD or XDG data home's Orlenwick/CLD
    std::string fontName = "Courier New";
    float fontSize = 10.0f;
    bool hideWarning = false;  // "Hide Error Msg"/"380" nonzero, or ticked in the warning
    PrinterFont printerFont;   // as found at start
    std::array<std::string, 5> recentFiles;  // entries 1..5 at [0]..[4], newest first

    // ---- Saved flag ---------------------------------------------------------------------
    // True at start, after New, after a successful Open and after Save. The input form
    // calls SetSaved(false) on every effective change, so the unsaved-data question of
    // New and Open appears exactly when there is unsaved work.
    bool saved = true;
    void SetSaved(bool value) {
        saved = value;
        if (ui) ui->SavedChanged();
    }
    bool IsSaved() const { return saved; }
};

}  // namespace caldren
