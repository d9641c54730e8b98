#include "Settings.h"

#include "ErrorPaths.h"
#include "MRU.h"
#include "Preferences.h"
#include "ProgramInfo.h"
#include "RunOptions.h"

#include <activation/Com.h>
#include <common/UserFolders.h>
#include <profilestore/ProfileStore.h>

#include <unistd.h>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace caldren::Settings {

namespace {

std::string TrimTrailing(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

void CreateFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec && !fs::is_directory(folder)) {
        throw activation::ComError(76, folder, activation::StandardErrorText(76));
    }
}

}  // namespace

bool FolderWritable(const std::string& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserSettingsFolder() { return common::MakerConfigFolder(); }

std::string SettingsFilePath(const std::string& programFolder) {
    if (FolderWritable(programFolder)) return programFolder + "/" + kSettingsFileName;
    const std::string folder = UserSettingsFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder + "/" + kSettingsFileName;
}

std::string ErrorLogPath(const std::string& programFolder) {
    if (FolderWritable(programFolder)) return programFolder + "/" + kErrorLogName;
    const std::string folder = UserSettingsFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder + "/" + kErrorLogName;
}

std::string PerUserDataFolder(bool create) {
    std::string folder = common::MakerDataFolder();
    if (create) {
        CreateFolders(folder.substr(0, folder.rfind('/')));  // the maker's folder first
        CreateFolders(folder);
    }
    return folder;
}

std::string ReadText(const Preferences& preferences, const std::string& section,
                     const std::string& key, const std::string& defaultValue) {
    profilestore::ProfileStore store;
    store.SetFileName(preferences.settingsFilePath);
    return TrimTrailing(store.ReadEntry(section, key, defaultValue));
}

std::int32_t ReadNumber(const Preferences& preferences, const std::string& section,
                        const std::string& key, std::int32_t defaultValue) {
    profilestore::ProfileStore store;
    store.SetFileName(preferences.settingsFilePath);
    return store.ReadNumber(section, key, defaultValue);
}

void WriteText(const Preferences& preferences, const std::string& section, const std::string& key,
               const std::string& value) {
    profilestore::ProfileStore store;
    store.SetFileName(preferences.settingsFilePath);
    store.WriteEntry(section, key, value);
}

bool GetIni(Preferences& preferences, const ProgramInfo& program, const RunOptions& options,
            const PrinterFontStep& printerFontStep) {
    try {
        // 1. The settings file.
        preferences.settingsFilePath = SettingsFilePath(program.programFolder);
        // 2. The short date format has no counterpart here: the engine reads "mm/dd/yyyy"
        //    month first whatever the locale.
        // 3. The hide-warning flag.
        preferences.hideWarning = ReadNumber(preferences, "Hide Error Msg", "380", 0) != 0;
        // 4. The data folder is the per-user data folder; the sample file is copied there,
        //    replacing an older copy.
        const std::string dataFolder = PerUserDataFolder(true);
        preferences.perUserDataFolder = dataFolder;
        {
            const fs::path demo = fs::path(program.programFolder) / kDemoFileName;
            std::error_code ec;
            fs::copy_file(demo, fs::path(dataFolder) / kDemoFileName,
                          fs::copy_options::overwrite_existing, ec);
            if (ec) {
                const long number = fs::exists(demo) ? 75 : 53;
                throw activation::ComError(number, demo.string(),
                                           activation::StandardErrorText(number));
            }
        }
        // 5. The data file path, written back at once so that the default is stored.
        preferences.dataFilePath =
            ReadText(preferences, "Data Files", "Data File Path", dataFolder);
        WriteText(preferences, "Data Files", "Data File Path", preferences.dataFilePath);
        // 6. The printer's font as found now (the windows' step).
        if (printerFontStep) {
            try {
                printerFontStep(preferences.printerFont);
            } catch (const activation::ComError& e) {
                if (e.Number() != 380) throw;
            }
        }
        // 7, 8. The report font.
        preferences.fontName =
            ReadText(preferences, "User Preferences", "Font Name", "Courier New");
        {
            const std::string size = ReadText(preferences, "User Preferences", "Font Size", "10");
            char* end = nullptr;
            const float value = std::strtof(size.c_str(), &end);
            preferences.fontSize = (end != size.c_str() && value > 0.0f) ? value : 10.0f;
        }
        // 9. The recent-files list.
        return MRU::MaintMRUList(preferences, options, "");
    } catch (const std::exception& e) {
        ErrorPaths::OwnMessage(options, ErrorPaths::AsComError(e), "GetIni");
        return false;
    }
}

}  // namespace caldren::Settings
