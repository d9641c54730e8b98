// Settings and preferences: where CaldrenCalc.ini, the per-user data folder and the error
// log lie, reading and writing single settings keys, and GetIni.
//
// Places on this platform:
//   settings file  "CaldrenCalc.ini" in the program folder when that folder is writable,
//                  else in $XDG_CONFIG_HOME/Orlenwick (default ~/.config/Orlenwick), created
//                  when missing;
//   data folder    $APPDATA/Orlenwick/CLD when APPDATA is set, else
//                  $XDG_DATA_HOME/Orlenwick/CLD (default ~/.local/share/Orlenwick/CLD);
//   error log      "CLD_err.log" in the program folder when writable, else beside the
//                  settings file.
// The settings file is read and written through profilestore::ProfileStore, one store per
// operation.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace caldren {

struct Preferences;
struct PrinterFont;
struct ProgramInfo;
struct RunOptions;

namespace Settings {

// True when files can be created in the folder.
bool FolderWritable(const std::string& folder);
// $XDG_CONFIG_HOME/Orlenwick or ~/.config/Orlenwick (not created).
std::string UserSettingsFolder();
// The settings file's path for a program folder; creates the user settings folder when
// the program folder is not writable.
std::string SettingsFilePath(const std::string& programFolder);
// The error log's path for a program folder (same rule; the folder is created).
std::string ErrorLogPath(const std::string& programFolder);
// $APPDATA/Orlenwick/CLD, else $XDG_DATA_HOME/Orlenwick/CLD, else
// ~/.local/share/Orlenwick/CLD. With create, the folders are created when missing.
std::string PerUserDataFolder(bool create);

// Single keys of the settings file named by preferences.settingsFilePath. Text values lose
// trailing blanks and terminator characters.
std::string ReadText(const Preferences& preferences, const std::string& section,
                     const std::string& key, const std::string& defaultValue);
std::int32_t ReadNumber(const Preferences& preferences, const std::string& section,
                        const std::string& key, std::int32_t defaultValue);
void WriteText(const Preferences& preferences, const std::string& section, const std::string& key,
               const std::string& value);

// The report options of the Options menu ("User Preferences": "Report File Headings",
// "Corrected Report Wording"; "1" on, anything else off, missing = off) into `preferences`.
// ReadReportOptions reads them from preferences.settingsFilePath (GetIni does so);
// ReadReportOptionsForBatch from the settings file of `programFolder` when there is one, and
// creates nothing. WriteReportOptions stores both.
inline constexpr const char* kReportHeadingsKey = "Report File Headings";
inline constexpr const char* kCorrectedWordingKey = "Corrected Report Wording";
void ReadReportOptions(Preferences& preferences);
void ReadReportOptionsForBatch(Preferences& preferences, const std::string& programFolder);
void WriteReportOptions(const Preferences& preferences);

// The printer-font step of GetIni (remember the printer's font as found now). The windows
// supply it; errors other than 380 thrown from it take GetIni's error path.
using PrinterFontStep = std::function<void(PrinterFont&)>;

// GetIni: settings file path, hide-warning flag, data folder (created, DEMO.CLD copied
// there from the program folder), data file path (written back at once), the printer
// font step, report font name and size, and the recent-files list (MRU). Errors take the
// program's own error message with the location "GetIni". Returns false after an error.
bool GetIni(Preferences& preferences, const ProgramInfo& program, const RunOptions& options,
            const PrinterFontStep& printerFontStep = {});

}  // namespace Settings
}  // namespace caldren
