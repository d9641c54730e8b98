// The recent-files list: five entries, newest first, in the File menu and the settings file.
#include "AppTestSupport.h"

#include "MRU.h"

#include <profilestore/ProfileStore.h>

#include <gtest/gtest.h>

namespace {

using namespace apptest;

class MRUTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.ui = &ui;
        state.settingsFilePath = dir / "CaldrenCalc.ini";
    }
    void Store(int n, const std::string& value) {
        profilestore::ProfileStore s;
        s.SetFileName(state.settingsFilePath);
        s.WriteEntry("User Preferences", "File " + std::to_string(n), value);
    }
    std::string Stored(int n) {
        profilestore::ProfileStore s;
        s.SetFileName(state.settingsFilePath);
        return s.ReadEntry("User Preferences", "File " + std::to_string(n), "<absent>");
    }

    PinnedEnvironment env;
    TempDir dir;
    ScriptedUi ui;
    caldren::RunState state;
};

TEST_F(MRUTest, LoadingShowsTheStoredEntriesAndHidesTheEmptyOnes) {
    Store(1, "/a/acme.cld");
    Store(2, "/b/brill.cld   ");  // trailing blanks are dropped
    ASSERT_TRUE(caldren::MRU::MaintMRUList(state, ""));
    EXPECT_EQ(ui.recentCaptions[0], "&1 /a/acme.cld");
    EXPECT_EQ(ui.recentCaptions[1], "&2 /b/brill.cld");
    EXPECT_TRUE(ui.recentVisible[0]);
    EXPECT_TRUE(ui.recentVisible[1]);
    EXPECT_FALSE(ui.recentVisible[2]);
    EXPECT_FALSE(ui.recentVisible[4]);
    EXPECT_TRUE(ui.separatorVisible);
    EXPECT_EQ(state.recentFiles[0], "/a/acme.cld");
    EXPECT_EQ(state.recentFiles[1], "/b/brill.cld");
    EXPECT_EQ(state.recentFiles[2], "");
}

TEST_F(MRUTest, EmptyListKeepsTheSeparatorHidden) {
    ASSERT_TRUE(caldren::MRU::MaintMRUList(state, ""));
    EXPECT_FALSE(ui.separatorVisible);
    for (int n = 0; n < 5; ++n) EXPECT_FALSE(ui.recentVisible[n]);
    EXPECT_FALSE(std::filesystem::exists(state.settingsFilePath)) << "loading writes nothing";
}

TEST_F(MRUTest, ANewNameGoesFirst) {
    Store(1, "/a/one.cld");
    Store(2, "/a/two.cld");
    ASSERT_TRUE(caldren::MRU::MaintMRUList(state, "/c/New Client.CLD"));
    EXPECT_EQ(Stored(1), "/c/New Client.CLD");
    EXPECT_EQ(Stored(2), "/a/one.cld");
    EXPECT_EQ(Stored(3), "/a/two.cld");
    EXPECT_EQ(Stored(4), "");  // written also when empty
    EXPECT_EQ(Stored(5), "");
    EXPECT_EQ(ui.recentCaptions[0], "&1 /c/New Client.CLD");
    EXPECT_EQ(ui.recentCaptions[2], "&3 /a/two.cld");
    EXPECT_FALSE(ui.recentVisible[3]);
    EXPECT_EQ(state.recentFiles[0], "/c/New Client.CLD");
    EXPECT_EQ(state.recentFiles[2], "/a/two.cld");
}

TEST_F(MRUTest, ANameAlreadyListedChangesNothing) {
    Store(1, "/x/one.cld");
    Store(2, "/x/two.cld");
    Store(3, "/a/acme.cld");
    for (const char* name : {"/a/acme.cld", "acme.cld", "/A/ACME.CLD"}) {
        ASSERT_TRUE(caldren::MRU::MaintMRUList(state, name)) << name;
        EXPECT_EQ(Stored(1), "/x/one.cld") << name;
        EXPECT_EQ(Stored(3), "/a/acme.cld") << name;
        EXPECT_EQ(Stored(4), "<absent>") << name;
    }
}

TEST_F(MRUTest, ASixthFileDropsTheOldest) {
    for (int i = 1; i <= 6; ++i) {
        ASSERT_TRUE(caldren::MRU::MaintMRUList(state, "/f/file" + std::to_string(i) + ".cld"));
    }
    EXPECT_EQ(Stored(1), "/f/file6.cld");
    EXPECT_EQ(Stored(2), "/f/file5.cld");
    EXPECT_EQ(Stored(3), "/f/file4.cld");
    EXPECT_EQ(Stored(4), "/f/file3.cld");
    EXPECT_EQ(Stored(5), "/f/file2.cld");
    EXPECT_EQ(ui.recentCaptions[4], "&5 /f/file2.cld");
}

TEST_F(MRUTest, UnwritableSettingsTakeTheProgramsOwnMessage) {
    state.settingsFilePath = dir / "missing folder/CaldrenCalc.ini";
    EXPECT_FALSE(caldren::MRU::MaintMRUList(state, "/a/new.cld"));
    ASSERT_EQ(ui.ownErrors.size(), 1u);
    EXPECT_EQ(ui.ownErrors[0].second, "MaintMRUList");
}

}  // namespace
