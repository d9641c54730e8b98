// Settings: where the settings file, the data folder and the error log lie, and GetIni.
#include "AppTestSupport.h"

#include "Settings.h"

#include <profilestore/ProfileStore.h>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace apptest;
namespace Settings = caldren::Settings;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.ui = &ui;
        fs::create_directories(program.Path());
        WriteFile(program / "DEMO.CLD", ReadFile(CALDREN_DEMO_SOURCE));
        state.programFolder = program.Path();
    }
    std::string Ini(const std::string& section, const std::string& key) {
        profilestore::ProfileStore s;
        s.SetFileName(state.settingsFilePath);
        return s.ReadEntry(section, key, "<absent>");
    }

    PinnedEnvironment env;
    TempDir program;
    ScriptedUi ui;
    caldren::RunState state;
};

TEST_F(SettingsTest, FirstStartCreatesTheSettingsFileBesideTheProgram) {
    ASSERT_TRUE(Settings::GetIni(state));
    const std::string dataFolder = env.Home() / "data/Orlenwick/CLD";
    EXPECT_EQ(state.settingsFilePath, program / "CaldrenCalc.ini");
    EXPECT_EQ(Ini("Data Files", "Data File Path"), dataFolder);
    EXPECT_EQ(state.dataFilePath, dataFolder);
    EXPECT_EQ(state.fontName, "Courier New");
    EXPECT_FLOAT_EQ(state.fontSize, 10.0f);
    EXPECT_FALSE(state.hideWarning);
    EXPECT_EQ(ReadFile(dataFolder + "/DEMO.CLD"), ReadFile(CALDREN_DEMO_SOURCE));
    EXPECT_TRUE(ui.ownErrors.empty());
}

TEST_F(SettingsTest, TheSampleFileIsReplacedAtEveryStart) {
    const std::string dataFolder = env.Home() / "data/Orlenwick/CLD";
    fs::create_directories(dataFolder);
    WriteFile(dataFolder + "/DEMO.CLD", "changed by the user");
    ASSERT_TRUE(Settings::GetIni(state));
    EXPECT_EQ(ReadFile(dataFolder + "/DEMO.CLD"), ReadFile(CALDREN_DEMO_SOURCE));
}

TEST_F(SettingsTest, StoredValuesWin) {
    state.settingsFilePath = program / "CaldrenCalc.ini";
    WriteFile(state.settingsFilePath,
              "[Data Files]\r\nData File Path=/srv/clients\r\n"
              "[User Preferences]\r\nFont Name=Liberation Mono  \r\nFont Size=12.5\r\n"
              "File 1=/srv/clients/acme.cld\r\n[Hide Error Msg]\r\n380=1\r\n");
    ASSERT_TRUE(Settings::GetIni(state));
    EXPECT_EQ(state.dataFilePath, "/srv/clients");
    EXPECT_EQ(state.fontName, "Liberation Mono");
    EXPECT_FLOAT_EQ(state.fontSize, 12.5f);
    EXPECT_TRUE(state.hideWarning);
    EXPECT_EQ(state.recentFiles[0], "/srv/clients/acme.cld");
    EXPECT_EQ(ui.recentCaptions[0], "&1 /srv/clients/acme.cld");
}

TEST_F(SettingsTest, AppDataNamesTheDataFolder) {
    const TempDir appData;
    ::setenv("APPDATA", appData.Path().c_str(), 1);
    ASSERT_TRUE(Settings::GetIni(state));
    ::unsetenv("APPDATA");
    EXPECT_EQ(state.dataFilePath, appData / "Orlenwick/CLD");
    EXPECT_TRUE(fs::exists(appData / "Orlenwick/CLD/DEMO.CLD"));
}

TEST_F(SettingsTest, ReadOnlyProgramFolderPutsSettingsAndLogInTheUserFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(program.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_TRUE(Settings::GetIni(state));
    const std::string userFolder = env.Home() / "config/Orlenwick";
    EXPECT_EQ(state.settingsFilePath, userFolder + "/CaldrenCalc.ini");
    EXPECT_TRUE(fs::exists(state.settingsFilePath));
    EXPECT_EQ(Settings::ErrorLogPath(program.Path()), userFolder + "/CLD_err.log");
}

TEST_F(SettingsTest, WritableProgramFolderHoldsTheLog) {
    EXPECT_EQ(Settings::ErrorLogPath(program.Path()), program / "CLD_err.log");
}

TEST_F(SettingsTest, MissingSampleFileTakesTheProgramsOwnMessage) {
    fs::remove(program / "DEMO.CLD");
    EXPECT_FALSE(Settings::GetIni(state));
    ASSERT_EQ(ui.ownErrors.size(), 1u);
    EXPECT_EQ(ui.ownErrors[0].first, 53);
    EXPECT_EQ(ui.ownErrors[0].second, "GetIni");
}

TEST_F(SettingsTest, PrinterFontStepSkipsError380Only) {
    ASSERT_TRUE(Settings::GetIni(state, [](caldren::RunState& s) {
        s.printerFont.name = "Liberation Mono";
        throw activation::ComError(380, "Printer", "Invalid property value");
    }));
    EXPECT_EQ(state.printerFont.name, "Liberation Mono");
    EXPECT_TRUE(ui.ownErrors.empty());

    EXPECT_FALSE(Settings::GetIni(state, [](caldren::RunState&) {
        throw activation::ComError(482, "Printer", "Printer error");
    }));
    ASSERT_EQ(ui.ownErrors.size(), 1u);
    EXPECT_EQ(ui.ownErrors[0].first, 482);
    EXPECT_EQ(ui.ownErrors[0].second, "GetIni");
}

}  // namespace
