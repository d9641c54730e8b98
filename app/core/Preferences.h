// The settings CaldrenCalc holds in memory: where the settings file and the data files lie,
// the report font, the printer's font as found at start, the recent files and the report
// choices. Loaded by Settings::GetIni at an interactive start; a batch run leaves them at
// their defaults but for the report choices.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace caldren {

// The printer's font as found at start, given back at shutdown.
struct PrinterFont {
    std::string name;
    float size = 0.0f;
    bool bold = false;
};

struct Preferences {
    std::string settingsFilePath;   // ".../CaldrenCalc.ini"
    std::string dataFilePath;       // initial folder of Open/Save As, folder of UNTITLED.CLD
    std::string perUserDataFolder;  // $APPDATA/Orlenwick/CLD or XDG data home's Orlenwick/CLD
    std::string fontName = "Courier New";
    float fontSize = 10.0f;
    bool hideWarning = false;  // "Hide Error Msg"/"380" nonzero, or ticked in the warning
    PrinterFont printerFont;   // as found at start
    std::array<std::string, 5> recentFiles;  // entries 1..5 at [0]..[4], newest first
    // Options menu, "User Preferences": "Report File Headings" (a batch run's reports say
    // whose they are, as "/headings" asks) and "Corrected Report Wording" (every report's
    // texts corrected, as "/corrected" asks in a batch run); "1" or "0", off by default.
    bool reportFileHeadings = false;
    bool correctedWording = false;
    // Report choices, 1 = chosen; 0 at start.
    std::int16_t rptInput = 0;
    std::int16_t rptSummary = 0;
    std::int16_t rptDetail = 0;
};

}  // namespace caldren
