// Settings: where the settings file, the data folder and the error log lie, and GetIni.
#include "AppTestSupport.h"

#include "Settings.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace apptest;
namespace Settings = caldren::Settings;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.SetUi(&ui);
        WriteFile(program / "DEMO.CLD", ReadFile(CALDREN_DEMO_SOURCE));
        state.program.programFolder = program.Path();
    }

    PinnedEnvironment env;
    TempDir program;
    ScriptedUi ui;
    caldren::RunState state;
    bool GetIni(const Settings::PrinterFontStep& step = {}) {
        return Settings::GetIni(state.preferences, state.program, state.options, step);
    }
};

TEST_F(SettingsTest, FirstStartCreatesTheSettingsFileAndReplacesTheSampleFile) {
    const std::string dataFolder = env.Home() / "data/Orlenwick/CLD";
    fs::create_directories(dataFolder);
    WriteFile(dataFolder + "/DEMO.CLD", "changed by the user");
    ASSERT_TRUE(GetIni());
    EXPECT_EQ(state.preferences.settingsFilePath, program / "CaldrenCalc.ini");
    EXPECT_EQ(ReadFile(state.preferences.settingsFilePath),
              "[Data Files]\r\nData File Path=" + dataFolder + "\r\n");
    EXPECT_EQ(state.preferences.dataFilePath, dataFolder);
    EXPECT_EQ(state.preferences.fontName + " " + std::to_string(state.preferences.fontSize),
              "Courier New 10.000000");
    EXPECT_FALSE(state.preferences.hideWarning);
    EXPECT_EQ(ReadFile(dataFolder + "/DEMO.CLD"), ReadFile(CALDREN_DEMO_SOURCE));
    EXPECT_EQ(Settings::ErrorLogPath(program.Path()), program / "CLD_err.log");
    EXPECT_TRUE(ui.ownErrors.empty());
}

TEST_F(SettingsTest, StoredValuesWinAndAppDataNamesTheDataFolder) {
    const TempDir appData;
    ::setenv("APPDATA", appData.Path().c_str(), 1);
    state.preferences.settingsFilePath = program / "CaldrenCalc.ini";
    WriteFile(state.preferences.settingsFilePath,
              "[User Preferences]\r\nFont Name=Liberation Mono  \r\nFont Size=12.5\r\n"
              "File 1=/srv/clients/acme.cld\r\n[Hide Error Msg]\r\n380=1\r\n");
    ASSERT_TRUE(GetIni());
    ::unsetenv("APPDATA");
    EXPECT_EQ(state.preferences.dataFilePath, appData / "Orlenwick/CLD");
    EXPECT_TRUE(fs::exists(appData / "Orlenwick/CLD/DEMO.CLD"));
    EXPECT_EQ(state.preferences.fontName + " " + std::to_string(state.preferences.fontSize),
              "Liberation Mono 12.500000");
    EXPECT_TRUE(state.preferences.hideWarning);
    EXPECT_EQ(ui.recentCaptions[0], "&1 /srv/clients/acme.cld");
}

TEST_F(SettingsTest, ReadOnlyProgramFolderPutsSettingsAndLogInTheUserFolder) {
    // Modes do not bind root: the folders go to user "nobody", who runs the body.
    for (const std::string& folder : {program.Path(), env.Home().Path()})
        ASSERT_TRUE(::geteuid() != 0 || ::chown(folder.c_str(), 65534, 65534) == 0);
    fs::permissions(program.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    const std::string userFolder = env.Home() / "config/Orlenwick";
    EXPECT_EQ(testsupport::RunUnprivileged([&] {
                  return std::to_string(GetIni()) + " " + state.preferences.settingsFilePath + " " +
                         Settings::ErrorLogPath(program.Path());
              }),
              "R1 " + userFolder + "/CaldrenCalc.ini " + userFolder + "/CLD_err.log");
    EXPECT_TRUE(fs::exists(userFolder + "/CaldrenCalc.ini"));
}

TEST_F(SettingsTest, ErrorsTakeTheProgramsOwnMessageExcept380OfThePrinterStep) {
    ASSERT_TRUE(GetIni([](caldren::PrinterFont& font) {
        font.name = "Liberation Mono";
        throw activation::ComError(380, "Printer", "Invalid property value");
    }));
    EXPECT_EQ(state.preferences.printerFont.name, "Liberation Mono");
    EXPECT_FALSE(GetIni([](caldren::PrinterFont&) { throw activation::ComError(482, "Printer"); }));
    fs::remove(program / "DEMO.CLD");
    EXPECT_FALSE(GetIni());
    // A pipe in place of the settings file is refused at once, never waited for.
    fs::remove(state.preferences.settingsFilePath);
    ::mkfifo(state.preferences.settingsFilePath.c_str(), 0644);
    EXPECT_FALSE(GetIni());
    EXPECT_EQ(ui.ownErrors, (std::vector<std::pair<long, std::string>>{
                                {482, "GetIni"}, {53, "GetIni"}, {75, "GetIni"}}));
}

}  // namespace
