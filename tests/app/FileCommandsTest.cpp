// The file commands and the recent-files list with a scripted Ui and the real engine: what
// each command asks, what it writes into the data file and the settings file, and what it
// leaves as it was.
#include "AppTestSupport.h"

#include "BatchFailure.h"
#include "DataFileLock.h"
#include "FileOperations.h"
#include "MRU.h"

#include <activation/Activation.h>
#include <profilestore/ProfileStore.h>

#include <gtest/gtest.h>

namespace {

using namespace apptest;
using caldren::MsgAnswer;
namespace FileOperations = caldren::FileOperations;

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        state.SetUi(&ui);
        state.program.versionTag = "CLD2026.12";
        state.preferences.dataFilePath = dir.Path();
        state.preferences.settingsFilePath = dir / "CaldrenCalc.ini";
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        WriteFile(demo, ReadFile(CALDREN_DEMO_SOURCE));
    }
    std::string Ini(const std::string& section, const std::string& key) {
        profilestore::ProfileStore store;
        store.SetFileName(state.preferences.settingsFilePath);
        return store.ReadEntry(section, key, "<absent>");
    }
    void StoreRecent(int n, const std::string& value) {
        profilestore::ProfileStore store;
        store.SetFileName(state.preferences.settingsFilePath);
        store.WriteEntry("User Preferences", "File " + std::to_string(n), value);
    }
    std::string Recent() {
        std::string all;
        for (int n = 1; n <= 5; ++n)
            all += Ini("User Preferences", "File " + std::to_string(n)) + "|";
        return all;
    }

    PinnedEnvironment env;
    TempDir dir;
    const std::string demo = dir / "DEMO.CLD";
    ScriptedUi ui;
    caldren::RunState state;
};

TEST_F(FileCommands, OpenAsksWhenUnsavedAndLoadsIntoTheRunState) {
    state.document.SetSaved(false);
    ui.answers = {MsgAnswer::Cancel, MsgAnswer::No};
    EXPECT_FALSE(FileOperations::OpenFile(state, demo));  // Cancel ends the command
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title + "|" + ui.messages[0].text,
              "Unsaved Data Exists!|Current Inputs have not been Saved!\nDo you want to save them "
              "first?");
    EXPECT_EQ(ui.messages[0].style, caldren::kYesNoCancel | caldren::kExclamation);
    EXPECT_EQ(state.document.engine->get_sName(), "");
    ASSERT_TRUE(FileOperations::OpenFile(state, demo));  // No goes on without saving
    EXPECT_TRUE(ui.saveDialogs.empty());
    EXPECT_EQ(state.document.engine->get_sName() + "|" + state.document.engine->get_NetSales(),
              "Harlow Precision Castings, Inc.|7,900,000");
    EXPECT_EQ(state.document.engine->get_colMonths()->get_Count(), 12);
    EXPECT_EQ(state.document.currentFileName, demo);
    EXPECT_EQ(ui.statusTexts.back(), "File: " + demo);
    EXPECT_TRUE(state.document.IsSaved());
    EXPECT_EQ(Ini("User Preferences", "File 1"), "<absent>");  // a name given: no recent entry
    // Yes saves through Save As first; the dialog's choice joins the recent files.
    state.document.SetSaved(false);
    ui.answers = {MsgAnswer::Yes};
    ui.saveAnswers = {dir / "Kept.CLD"};
    ui.openAnswers = {demo};
    EXPECT_TRUE(FileOperations::OpenFile(state, ""));
    EXPECT_TRUE(FileOperations::FileExists(dir / "Kept.CLD"));
    EXPECT_EQ(Recent(), demo + "|" + (dir / "Kept.CLD") + "||||");
}

TEST_F(FileCommands, AFailedOpenLeavesTheCurrentFile) {
    ASSERT_TRUE(FileOperations::OpenFile(state, demo));
    const vesmora::_Caldren* before = state.document.engine.Get();
    EXPECT_FALSE(FileOperations::OpenFile(state, dir / "Gone Away.CLD"));
    EXPECT_FALSE(FileOperations::OpenFile(state, dir.Path()));  // a folder is no file
    WriteFile(dir / "junk.cld", "\x01\x02 not a data file \r\n[Caldren Formula Calculation]\r\n");
    EXPECT_FALSE(FileOperations::OpenFile(state, dir / "junk.cld"));
    // The refused file is given back to others; the current one stays held.
    namespace lock = caldren::DataFileLock;
    EXPECT_EQ(lock::Query(dir / "junk.cld").state, lock::State::Free);
    EXPECT_EQ(lock::Query(demo).state, lock::State::Ours);
    EXPECT_FALSE(FileOperations::OpenFile(state, ""));  // the Open dialog cancelled
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].title + "|" + ui.messages[0].text,
              "WARNING|" + (dir / "Gone Away.CLD") + " does not exist.");
    EXPECT_EQ(ui.messages[0].style, caldren::kExclamation);
    EXPECT_EQ(ui.messages[2].text, "Filename Empty!");
    EXPECT_EQ(ui.messages[2].style, caldren::kCritical);
    EXPECT_EQ(ui.openDialogs[0].title + "|" + ui.openDialogs[0].initialFolder + "|" +
                  ui.openDialogs[0].filter,
              "Open|" + dir.Path() + "|Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||");
    EXPECT_TRUE(ui.shutDowns.empty());
    EXPECT_EQ(state.document.engine.Get(), before);
    EXPECT_EQ(state.document.currentFileName, demo);
}

TEST_F(FileCommands, SaveAndSaveAsWriteTheVersionTheDataPathAndTheRecentFiles) {
    ASSERT_TRUE(FileOperations::OpenFile(state, demo));
    const TempDir other;
    ASSERT_TRUE(FileOperations::Save(state, other / "Acme Tools.CLD"));
    EXPECT_EQ(
        ReadFile(other / "Acme Tools.CLD")
            .rfind("[Caldren Formula Calculation]\r\nVersion=CLD2026.12\r\nName=Harlow Precision",
                   0),
        0u);
    EXPECT_EQ(Ini("Data Files", "Data File Path"), other.Path());
    // Save As of an analysis just saved (nothing changed) still writes the new file.
    ui.saveAnswers = {dir / "Second.CLD"};
    ASSERT_TRUE(FileOperations::SaveAs(state));
    EXPECT_EQ(ReadFile(dir / "Second.CLD"), ReadFile(other / "Acme Tools.CLD"));
    EXPECT_EQ(ui.saveDialogs[0].title + "|" + ui.saveDialogs[0].initialName, "Save As|" + demo);
    EXPECT_EQ(state.document.currentFileName, dir / "Second.CLD");
    EXPECT_EQ(ui.statusTexts.back(), "File: " + (dir / "Second.CLD"));
    EXPECT_EQ(Recent(), (dir / "Second.CLD") + "|||||");
    // Cancelled: "Filename Empty!" and nothing changes.
    EXPECT_FALSE(FileOperations::SaveAs(state));
    EXPECT_EQ(ui.messages.back().text, "Filename Empty!");
    EXPECT_EQ(state.document.currentFileName, dir / "Second.CLD");
    // Into a missing folder: the program's own message, "Save".
    EXPECT_FALSE(FileOperations::Save(state, dir / "no such folder/x.cld"));
    ASSERT_EQ(ui.ownErrors.size(), 1u);
    EXPECT_EQ(ui.ownErrors[0].second, "Save");
    // A run without a settings file (batch) writes only the data file.
    state.preferences.settingsFilePath.clear();
    fs::remove(dir / "CaldrenCalc.ini");
    ASSERT_TRUE(FileOperations::Save(state, dir / "copy.cld"));
    EXPECT_FALSE(fs::exists(dir / "CaldrenCalc.ini"));
}

TEST_F(FileCommands, NewStartsAnUntitledAnalysisOnlyAfterTheQuestion) {
    ASSERT_TRUE(FileOperations::OpenFile(state, demo));
    const vesmora::_Caldren* before = state.document.engine.Get();
    state.document.SetSaved(false);
    ui.answers = {MsgAnswer::Cancel};
    FileOperations::NewFile(state);
    EXPECT_EQ(state.document.engine.Get(), before);
    EXPECT_EQ(ui.inputFormShown, 0);
    ui.answers = {MsgAnswer::No};
    FileOperations::NewFile(state);
    EXPECT_NE(state.document.engine.Get(), before);
    EXPECT_EQ(state.document.engine->get_sName(), "");
    EXPECT_EQ(state.document.currentFileName, dir / "UNTITLED.CLD");
    EXPECT_EQ(ui.statusTexts.back(), "File: " + (dir / "UNTITLED.CLD"));
    EXPECT_EQ(ui.inputFormShown, 1);
    EXPECT_TRUE(state.document.IsSaved());
    state.document.engine->put_sName("Untitled Corp");  // the edit is open
    ASSERT_TRUE(FileOperations::Save(state, state.document.currentFileName));
    EXPECT_NE(ReadFile(dir / "UNTITLED.CLD").find("Name=Untitled Corp\r\n"), std::string::npos);
    EXPECT_TRUE(ui.saveDialogs.empty());
}

TEST_F(FileCommands, ABatchOpenAsksNothingAndEndsTheRunOnAnError) {
    state.options.batch = true;
    state.document.SetSaved(false);
    EXPECT_TRUE(FileOperations::OpenFile(state, demo));
    WriteFile(dir / "junk.cld", "garbage\r\n");
    try {
        FileOperations::OpenFile(state, dir / "junk.cld");
        FAIL() << "no failure";
    } catch (const caldren::BatchFailure& f) {
        EXPECT_EQ(f.location.rfind("File Operations.Open File\rCaldren.Load\rCaldren.Fetch\r", 0),
                  0u)
            << f.location;
    }
    EXPECT_TRUE(ui.messages.empty() && ui.statusTexts.empty());
}

TEST_F(FileCommands, TheRecentFilesList) {
    StoreRecent(1, "/a/acme.cld");
    StoreRecent(2, "/b/brill.cld   ");  // trailing blanks go
    ASSERT_TRUE(caldren::MRU::MaintMRUList(state.preferences, state.options, ""));
    EXPECT_EQ(ui.recentCaptions[0] + "|" + ui.recentCaptions[1], "&1 /a/acme.cld|&2 /b/brill.cld");
    EXPECT_TRUE(ui.recentVisible[1] && !ui.recentVisible[2] && ui.separatorVisible);
    EXPECT_EQ(state.preferences.recentFiles[1], "/b/brill.cld");
    for (const char* listed : {"/a/acme.cld", "acme.cld", "/A/ACME.CLD"})  // already there
        ASSERT_TRUE(caldren::MRU::MaintMRUList(state.preferences, state.options, listed));
    EXPECT_EQ(Recent(), "/a/acme.cld|/b/brill.cld   |<absent>|<absent>|<absent>|");
    for (int i = 1; i <= 5; ++i)
        ASSERT_TRUE(caldren::MRU::MaintMRUList(state.preferences, state.options,
                                               "/f/file" + std::to_string(i) + ".cld"));
    EXPECT_EQ(Recent(), "/f/file5.cld|/f/file4.cld|/f/file3.cld|/f/file2.cld|/f/file1.cld|");
    EXPECT_EQ(ui.recentCaptions[4], "&5 /f/file1.cld");
    EXPECT_EQ(state.preferences.recentFiles[0], "/f/file5.cld");
    state.preferences.settingsFilePath = dir / "missing folder/CaldrenCalc.ini";
    EXPECT_FALSE(caldren::MRU::MaintMRUList(state.preferences, state.options, "/a/new.cld"));
    EXPECT_EQ(ui.ownErrors.at(0).second, "MaintMRUList");
}

TEST(FileRoutines, FolderPartAndShortenedName) {
    const char* const folders[][2] = {{"/a/b/acme.cld", "/a/b"},
                                      {"/acme.cld", ""},
                                      {"acme.cld", ""},
                                      {"/my data/x y.cld", "/my data"},
                                      {"", ""}};
    for (const auto& [path, folder] : folders)
        EXPECT_EQ(FileOperations::GetPathOnly(path), folder) << path;
    const char* const shortened[][2] = {{"/a.cld", "/a.cld.../a.cld"},
                                        {"/home/ann/clients/2026/harlow/acme.cld",
                                         "/home/ann/clients/2026/ha...ents/2026/harlow/acme.cld"},
                                        // Counted in characters: "é" is one character of two bytes.
                                        {"/home/ann/éééééééééééééééééééé/acme.cld",
                                         "/home/ann/ééééééééééééééé...éééééééééééééééé/acme.cld"}};
    for (const auto& [name, shown] : shortened)
        EXPECT_EQ(FileOperations::DisplayShorterFilename(name), shown);
}

}  // namespace
