// The file commands with a scripted Ui and the real engine (loaded by ProgID).
#include "AppTestSupport.h"

#include "BatchFailure.h"
#include "FileOperations.h"
#include "Settings.h"

#include <activation/Activation.h>
#include <profilestore/ProfileStore.h>

#include <gtest/gtest.h>

namespace {

using namespace apptest;
using caldren::MsgAnswer;
namespace FileOperations = caldren::FileOperations;

std::string IniValue(const std::string& ini, const std::string& section, const std::string& key) {
    profilestore::ProfileStore store;
    store.SetFileName(ini);
    return store.ReadEntry(section, key, "<absent>");
}

class FileOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.ui = &ui;
        state.versionTag = "CLD2026.12";
        state.dataFilePath = dir.Path();
        state.settingsFilePath = dir / "CaldrenCalc.ini";
        state.engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        WriteFile(dir / "DEMO.CLD", ReadFile(CALDREN_DEMO_SOURCE));
    }

    PinnedEnvironment env;
    TempDir dir;
    ScriptedUi ui;
    caldren::RunState state;
};

TEST_F(FileOperationsTest, OpenLoadsAnExistingFileAndSetsTheSavedFlag) {
    state.SetSaved(true);
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    EXPECT_EQ(state.engine->get_sName(), "Harlow Precision Castings, Inc.");
    EXPECT_EQ(state.engine->get_NetSales(), "7,900,000");
    EXPECT_EQ(state.engine->get_colMonths()->get_Count(), 12);
    EXPECT_EQ(state.currentFileName, dir / "DEMO.CLD");
    ASSERT_FALSE(ui.statusTexts.empty());
    EXPECT_EQ(ui.statusTexts.back(), "File: " + (dir / "DEMO.CLD"));
    EXPECT_TRUE(state.IsSaved());
    EXPECT_TRUE(ui.messages.empty()) << "no question when nothing is unsaved";
    // The name given is opened as it is; the recent-files list is not changed.
    EXPECT_EQ(IniValue(state.settingsFilePath, "User Preferences", "File 1"), "<absent>");
}

TEST_F(FileOperationsTest, MissingFileWarnsAndLeavesTheEngineAsItWas) {
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    const std::string missing = dir / "Gone Away.CLD";
    EXPECT_FALSE(FileOperations::OpenFile(state, missing));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, missing + " does not exist.");
    EXPECT_EQ(ui.messages[0].title, "WARNING");
    EXPECT_EQ(ui.messages[0].style, caldren::kExclamation);
    EXPECT_EQ(state.currentFileName, dir / "DEMO.CLD");  // the open file stays current
    EXPECT_EQ(state.engine->get_sName(), "Harlow Precision Castings, Inc.");
}

TEST_F(FileOperationsTest, AFolderIsNotAFile) {
    EXPECT_FALSE(FileOperations::FileExists(dir.Path()));
    EXPECT_FALSE(FileOperations::FileExists(""));
    EXPECT_TRUE(FileOperations::FileExists(dir / "DEMO.CLD"));
}

TEST_F(FileOperationsTest, UnsavedQuestionOnlyWhenUnsaved) {
    state.SetSaved(false);
    ui.answers.push_back(MsgAnswer::Cancel);
    EXPECT_FALSE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Unsaved Data Exists!");
    EXPECT_EQ(ui.messages[0].text,
              "Current Inputs have not been Saved!\nDo you want to save them first?");
    EXPECT_EQ(ui.messages[0].style, caldren::kYesNoCancel | caldren::kExclamation);
    EXPECT_EQ(state.engine->get_sName(), "") << "Cancel ends the command";

    // No goes on without saving.
    ui.answers.push_back(MsgAnswer::No);
    EXPECT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.saveDialogs.empty());

    // Saved now: no question.
    EXPECT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(FileOperationsTest, UnsavedQuestionYesRunsSaveAsFirst) {
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    state.SetSaved(false);
    ui.answers.push_back(MsgAnswer::Yes);
    ui.saveAnswers.push_back(dir / "Kept.CLD");
    ui.openAnswers.push_back(dir / "DEMO.CLD");
    EXPECT_TRUE(FileOperations::OpenFile(state, ""));
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_TRUE(FileOperations::FileExists(dir / "Kept.CLD"));
}

TEST_F(FileOperationsTest, OpenDialogCancelledShowsFilenameEmpty) {
    EXPECT_FALSE(FileOperations::OpenFile(state, ""));
    ASSERT_EQ(ui.openDialogs.size(), 1u);
    EXPECT_EQ(ui.openDialogs[0].title, "Open");
    EXPECT_EQ(ui.openDialogs[0].initialFolder, dir.Path());
    EXPECT_EQ(ui.openDialogs[0].defaultExtension, "CLD");
    EXPECT_EQ(ui.openDialogs[0].filter, "Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Filename Empty!");
    EXPECT_EQ(ui.messages[0].title, "WARNING");
    EXPECT_EQ(ui.messages[0].style, caldren::kCritical);
}

TEST_F(FileOperationsTest, OpenDialogChoiceGoesIntoTheRecentFiles) {
    ui.openAnswers.push_back(dir / "DEMO.CLD");
    EXPECT_TRUE(FileOperations::OpenFile(state, ""));
    EXPECT_EQ(IniValue(state.settingsFilePath, "User Preferences", "File 1"), dir / "DEMO.CLD");
    EXPECT_EQ(ui.recentCaptions[0], "&1 " + (dir / "DEMO.CLD"));
}

TEST_F(FileOperationsTest, SaveAsCancelledShowsFilenameEmptyAndChangesNothing) {
    state.currentFileName = dir / "DEMO.CLD";
    EXPECT_FALSE(FileOperations::SaveAs(state));
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.saveDialogs[0].title, "Save As");
    EXPECT_EQ(ui.saveDialogs[0].initialName, dir / "DEMO.CLD");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Filename Empty!");
    EXPECT_EQ(state.currentFileName, dir / "DEMO.CLD");
    EXPECT_FALSE(fs::exists(state.settingsFilePath));
}

TEST_F(FileOperationsTest, SaveWritesTheVersionTagAndTheDataPath) {
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    const TempDir other;
    const std::string target = other / "Acme Tools.CLD";
    state.SetSaved(false);
    ASSERT_TRUE(FileOperations::Save(state, target));
    EXPECT_TRUE(state.IsSaved());
    const std::string bytes = ReadFile(target);
    EXPECT_NE(bytes.find("[Caldren Formula Calculation]\r\nVersion=CLD2026.12\r\nName=Harlow"),
              std::string::npos)
        << bytes.substr(0, 120);
    EXPECT_EQ(IniValue(state.settingsFilePath, "Data Files", "Data File Path"), other.Path());
    EXPECT_EQ(state.dataFilePath, other.Path());
    EXPECT_TRUE(ui.ownErrors.empty());
}

TEST_F(FileOperationsTest, SaveWithoutASettingsFileWritesOnlyTheDataFile) {
    // A batch run reads no settings and leaves the settings file alone.
    state.settingsFilePath.clear();
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    ASSERT_TRUE(FileOperations::Save(state, dir / "copy.cld"));
    EXPECT_FALSE(fs::exists(dir / "CaldrenCalc.ini"));
    EXPECT_TRUE(fs::exists(dir / "copy.cld"));
}

TEST_F(FileOperationsTest, SaveIntoAMissingFolderTakesTheProgramsOwnMessage) {
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    EXPECT_FALSE(FileOperations::Save(state, dir / "no such folder/x.cld"));
    ASSERT_EQ(ui.ownErrors.size(), 1u);
    EXPECT_EQ(ui.ownErrors[0].second, "Save");
}

TEST_F(FileOperationsTest, SaveAsSavesUnderTheChosenName) {
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    ui.saveAnswers.push_back(dir / "Second.CLD");
    ASSERT_TRUE(FileOperations::SaveAs(state));
    EXPECT_EQ(state.currentFileName, dir / "Second.CLD");
    EXPECT_TRUE(FileOperations::FileExists(dir / "Second.CLD"));
    EXPECT_EQ(ui.statusTexts.back(), "File: " + (dir / "Second.CLD"));
    EXPECT_EQ(IniValue(state.settingsFilePath, "User Preferences", "File 1"), dir / "Second.CLD");
}

TEST_F(FileOperationsTest, SaveAsOfAnAlreadySavedAnalysisWritesTheNewFile) {
    // After a save nothing is open or changed; Save As must still write the new file.
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    ASSERT_TRUE(FileOperations::Save(state, dir / "First.CLD"));
    ASSERT_FALSE(state.engine->get_IsDirty());
    ui.saveAnswers.push_back(dir / "Second.CLD");
    ASSERT_TRUE(FileOperations::SaveAs(state));
    ASSERT_TRUE(FileOperations::FileExists(dir / "Second.CLD"));
    EXPECT_EQ(ReadFile(dir / "Second.CLD"), ReadFile(dir / "First.CLD"));
    EXPECT_FALSE(state.engine->get_IsDirty());
}

TEST_F(FileOperationsTest, NewStartsAnUntitledAnalysis) {
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    vesmora::_Caldren* before = state.engine.Get();
    FileOperations::NewFile(state);
    EXPECT_NE(state.engine.Get(), before) << "a fresh engine object";
    EXPECT_EQ(state.engine->get_sName(), "");
    EXPECT_EQ(state.currentFileName, dir / "UNTITLED.CLD");
    EXPECT_EQ(ui.statusTexts.back(), "File: " + (dir / "UNTITLED.CLD"));
    EXPECT_EQ(ui.inputFormShown, 1);
    EXPECT_TRUE(state.IsSaved());
    // The edit is open: a setter takes effect, and Save writes the untitled file at once.
    state.engine->put_sName("Untitled Corp");
    EXPECT_EQ(state.engine->get_sName(), "Untitled Corp");
    ASSERT_TRUE(FileOperations::Save(state, state.currentFileName));
    EXPECT_TRUE(FileOperations::FileExists(dir / "UNTITLED.CLD"));
    EXPECT_TRUE(ui.saveDialogs.empty());
}

TEST_F(FileOperationsTest, NewAsksFirstWhenUnsavedAndCancelKeepsEverything) {
    ASSERT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    state.SetSaved(false);
    ui.answers.push_back(MsgAnswer::Cancel);
    vesmora::_Caldren* before = state.engine.Get();
    FileOperations::NewFile(state);
    EXPECT_EQ(state.engine.Get(), before);
    EXPECT_EQ(state.currentFileName, dir / "DEMO.CLD");
    EXPECT_EQ(ui.inputFormShown, 0);
    EXPECT_FALSE(state.IsSaved());
}

TEST_F(FileOperationsTest, GarbageFileTakesTheOpenErrorPathAndGoesOn) {
    WriteFile(dir / "junk.cld", "\x01\x02 not a data file \r\n[Caldren Formula Calculation]\r\n");
    EXPECT_FALSE(FileOperations::OpenFile(state, dir / "junk.cld"));
    EXPECT_TRUE(ui.shutDowns.empty()) << "the Open command goes on after its error";
}

TEST_F(FileOperationsTest, BatchOpenErrorEndsTheRunWithTheSourceChain) {
    state.batch = true;
    WriteFile(dir / "junk.cld", "garbage\r\n");
    try {
        FileOperations::OpenFile(state, dir / "junk.cld");
        FAIL() << "no failure";
    } catch (const caldren::BatchFailure& f) {
        EXPECT_EQ(f.location.rfind("File Operations.Open File\rCaldren.Load\rCaldren.Fetch", 0), 0u)
            << f.location;
        EXPECT_NE(f.number, 0);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileOperationsTest, BatchOpenAsksNothing) {
    state.batch = true;
    state.SetSaved(false);
    EXPECT_TRUE(FileOperations::OpenFile(state, dir / "DEMO.CLD"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.statusTexts.empty());
}

// ---- the small routines ---------------------------------------------------------------

struct PathCase {
    std::string path;
    std::string folder;
};
class GetPathOnlyCases : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetPathOnlyCases, FolderPart) {
    EXPECT_EQ(FileOperations::GetPathOnly(GetParam().path), GetParam().folder);
}
INSTANTIATE_TEST_SUITE_P(Rows, GetPathOnlyCases,
                         ::testing::Values(PathCase{"/a/b/acme.cld", "/a/b"},
                                           PathCase{"/acme.cld", ""},
                                           PathCase{"acme.cld", ""},
                                           PathCase{"/my data/x y.cld", "/my data"},
                                           PathCase{"", ""}));

struct ShortCase {
    std::string name;
    std::string shown;
};
class DisplayShorterCases : public ::testing::TestWithParam<ShortCase> {};
TEST_P(DisplayShorterCases, FirstAndLast25) {
    EXPECT_EQ(FileOperations::DisplayShorterFilename(GetParam().name), GetParam().shown);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, DisplayShorterCases,
    ::testing::Values(
        ShortCase{"/a.cld", "/a.cld.../a.cld"},
        ShortCase{"/home/ann/clients/2026/harlow/acme.cld",
                  "/home/ann/clients/2026/ha...ents/2026/harlow/acme.cld"},
        ShortCase{"1234567890123456789012345", "1234567890123456789012345...1234567890123456789012345"},
        // Counted in characters: "é" is one character of two bytes.
        ShortCase{"/home/ann/éééééééééééééééééééé/acme.cld",
                  "/home/ann/ééééééééééééééé...éééééééééééééééé/acme.cld"}));

}  // namespace
