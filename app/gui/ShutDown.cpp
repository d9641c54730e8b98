// ShutDown and the exit screen (BuildExitMessage).
#include "app/gui/ShutDown.h"

#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ErrorDialogs.h"
#include "frmFinal.h"

#include "../core/FileOperations.h"
#include "../core/RunState.h"
#include "../reports/ReportPrinter.h"

#include <profilestore/ProfileStore.h>

#include <charconv>
#include <string>

namespace caldren::gui {

namespace {

std::string SingleText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

// The report font in the settings file ("User Preferences"/"Font Name", "Font Size").
void StoreFontPreferences(const Preferences& preferences) {
    if (preferences.settingsFilePath.empty()) return;
    profilestore::ProfileStore store;
    store.SetFileName(preferences.settingsFilePath);
    store.WriteEntry("User Preferences", "Font Name", preferences.fontName);
    store.WriteEntry("User Preferences", "Font Size", SingleText(preferences.fontSize));
}

}  // namespace

std::int32_t ElapsedSeconds(std::int32_t start, std::int32_t end) {
    constexpr std::int32_t kDay = 24 * 60 * 60;
    std::int32_t elapsed = end - start;
    if (elapsed < 0) elapsed += kDay;  // the run passed midnight
    if (elapsed < 0) elapsed = 0;
    return elapsed;
}

std::string BuildExitMessageText(long totalSeconds) {
    if (totalSeconds < 0) totalSeconds = 0;
    long minutes = totalSeconds / 60;
    const long seconds = totalSeconds - minutes * 60;
    const long hours = minutes / 60;
    minutes -= hours * 60;

    std::string text = "You have spent ";
    if (hours < 1) {
        if (minutes == 1)
            text += std::string("1") + " minute";
        else
            text += std::to_string(minutes) + " minutes";
        if (seconds == 1)
            text += std::string(", and ") + "1" + " second ";
        else if (seconds >= 2)
            text += ", and " + std::to_string(seconds) + " seconds ";
        else
            text += " ";
    } else {
        if (hours == 1)
            text += std::string("1") + " hour";
        else
            text += std::to_string(hours) + " hours";
        if (minutes == 1)
            text += std::string(", and ") + "1" + " minute ";
        else if (minutes >= 2)
            text += ", and " + std::to_string(minutes) + " minutes ";
        else
            text += " ";
    }
    text += "using Orlenwick's ";
    text += kDescription;
    text += ". How long would your work have taken ";
    text += "without it?";
    text += "\r\n\r\n";
    text += "To order other Orlen programs, contact us at:";
    text += "\r\n\r\n";
    for (int i = 0; i < dialogs::kContactLineCount; ++i) {
        text += "     ";
        text += dialogs::kContactLines[i];
        text += "\r\n";
    }
    return text;
}

void BuildExitMessage(dialogs::Dialogs& dialogs, long totalSeconds, QWidget* parent) {
    frmFinal screen(dialogs, parent);
    screen.SetDisplayText(BuildExitMessageText(totalSeconds));
    dialogs.runModal(screen);
}

void ShutDown(RunState& state, dialogs::Dialogs& dialogs, bool saveFirst) {
    // 1. Save As while the engine still holds the data.
    if (saveFirst) {
        try {
            FileOperations::SaveAs(state);
        } catch (...) {}
    }
    // The data file is given back: another program may open it now.
    try {
        FileOperations::ReleaseFile(state.document);
    } catch (...) {}
    // 2. The error reporter goes first.
    try {
        state.program.errorReporter.reset();
    } catch (...) {}
    // 3. The report font, for the next run.
    try {
        StoreFontPreferences(state.preferences);
    } catch (...) {}
    // 4. The engine.
    try {
        state.document.engine.Reset();
    } catch (...) {}
    // 5. The printer gets back the font it had at start.
    try {
        reportwindows::RestorePrinterFont(state.preferences.printerFont);
    } catch (...) {}
    // 6.-7. The time spent, on the exit screen.
    try {
        state.options.endTime = dialogs.secondsSinceMidnight();
        BuildExitMessage(dialogs, ElapsedSeconds(state.options.startTime, state.options.endTime));
    } catch (...) {}
    // 8. The end.
    dialogs.endProgram(0);
}

}  // namespace caldren::gui
