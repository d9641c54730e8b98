#include "MRU.h"

#include "ErrorPaths.h"
#include "Preferences.h"
#include "RunOptions.h"
#include "Settings.h"

#include <algorithm>
#include <cctype>

namespace caldren::MRU {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string KeyOf(int n) { return "File " + std::to_string(n); }

void ShowEntry(Ui* ui, int n, const std::string& text) {
    if (!ui) return;
    if (text.empty()) {
        ui->SetRecentEntry(n, std::string(), false);
    } else {
        ui->SetRecentEntry(n, EntryCaption(n, text), true);
    }
}

}  // namespace

std::string EntryCaption(int n, const std::string& text) {
    return "&" + std::to_string(n) + " " + text;
}

bool CopyMRUold2new(Preferences& preferences, const RunOptions& options,
                    const std::array<std::string, 5>& loaded) {
    try {
        preferences.recentFiles = loaded;
        return true;
    } catch (const std::exception& e) {
        ErrorPaths::OwnMessage(options, ErrorPaths::AsComError(e), "CopyMRUold2new");
        return false;
    }
}

bool MaintMRUList(Preferences& preferences, const RunOptions& options,
                  const std::string& fileName) {
    Ui* const ui = options.ui;
    try {
        // 1. The five stored texts into the menu.
        std::array<std::string, 5> loaded;
        for (int n = 1; n <= 5; ++n) {
            loaded[n - 1] = Settings::ReadText(preferences, "User Preferences", KeyOf(n), "");
            ShowEntry(ui, n, loaded[n - 1]);
            if (n == 1 && !loaded[0].empty() && ui) ui->SetRecentSeparatorVisible(true);
        }
        // 2. No name: the loaded list becomes the list of the run.
        if (fileName.empty()) return CopyMRUold2new(preferences, options, loaded);
        // 3. Already in the list (inside any entry, case-insensitive): nothing changes.
        const std::string needle = Lower(fileName);
        for (const std::string& entry : loaded) {
            if (Lower(entry).find(needle) != std::string::npos) return true;
        }
        // 4. The name goes first; the others move down; the fifth is dropped.
        preferences.recentFiles[0] = fileName;
        Settings::WriteText(preferences, "User Preferences", KeyOf(1), fileName);
        ShowEntry(ui, 1, fileName);
        if (ui) ui->SetRecentSeparatorVisible(true);
        for (int n = 2; n <= 5; ++n) {
            preferences.recentFiles[n - 1] = loaded[n - 2];
            Settings::WriteText(preferences, "User Preferences", KeyOf(n), loaded[n - 2]);
            ShowEntry(ui, n, loaded[n - 2]);
        }
        return true;
    } catch (const std::exception& e) {
        ErrorPaths::OwnMessage(options, ErrorPaths::AsComError(e), "MaintMRUList");
        return false;
    }
}

}  // namespace caldren::MRU
