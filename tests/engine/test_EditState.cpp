// Edit transactions: BeginEdit / CancelEdit / Delete / ApplyEdit / Load and the snapshot.
#include "TestSupport.h"

namespace {

using namespace enginetest;

class EditState : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string file = dir.File("edit.cld");
    ComPtr<Caldren> c = NewRecord();
};

TEST_F(EditState, ApplyEditOnANewRecordWithoutBeginEditSavesIt) {
    c->ApplyEdit(file);
    EXPECT_FALSE(c->get_IsNew());
    EXPECT_FALSE(c->get_IsDirty());
    EXPECT_FALSE(c->isEditing());
    EXPECT_FALSE(ReadBytes(file).empty());
}

TEST_F(EditState, CancelRestoresTheValuesOfBeginEdit) {
    c->BeginEdit();
    c->put_NetSales("100");
    c->ApplyEdit(file);
    c->BeginEdit();
    c->put_NetSales("200");
    EXPECT_TRUE(c->get_IsDirty());
    c->CancelEdit();
    EXPECT_EQ(c->get_NetSales(), "100");
    EXPECT_FALSE(c->get_IsDirty());
    EXPECT_FALSE(c->isEditing());
}

TEST_F(EditState, SecondBeginEditTakesANewSnapshot) {
    c->BeginEdit();
    c->put_CurAssets("5");
    c->BeginEdit();
    c->CancelEdit();
    EXPECT_EQ(c->get_CurAssets(), "5");
}

TEST_F(EditState, CancelOrDeleteWithoutAnEditFailWith445) {
    c->BeginEdit();
    c->CancelEdit();
    ComError e = CatchError([&] { c->CancelEdit(); });
    EXPECT_EQ(e.Number(), 445);
    EXPECT_EQ(e.Description(), "Object doesn't support this action");
    ComError d = CatchError([&] { c->Delete(); });
    EXPECT_EQ(d.Number(), 445);
    EXPECT_FALSE(c->get_IsDeleted());
}

TEST_F(EditState, DeleteThenApplyOnALoadedRecordWritesNothing) {
    c->BeginEdit();
    c->put_NetSales("900");
    c->ApplyEdit(file);
    const std::string bytes = ReadBytes(file);
    c->Load(file);
    c->put_NetSales("1");
    c->Delete();
    EXPECT_TRUE(c->get_IsDeleted());
    c->ApplyEdit(file);
    EXPECT_TRUE(c->get_IsNew());
    EXPECT_FALSE(c->get_IsDeleted());
    EXPECT_FALSE(c->get_IsDirty());
    EXPECT_FALSE(c->isEditing());
    EXPECT_EQ(ReadBytes(file), bytes);
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 10005);
}

TEST_F(EditState, DeleteThenApplyOnANewRecordSavesAndStaysDeleted) {
    c->BeginEdit();
    c->Delete();
    c->ApplyEdit(file);
    EXPECT_FALSE(c->get_IsNew());
    EXPECT_TRUE(c->get_IsDeleted());
    EXPECT_FALSE(ReadBytes(file).empty());
}

TEST_F(EditState, CancelClearsDeleted) {
    c->BeginEdit();
    c->Delete();
    c->CancelEdit();
    EXPECT_FALSE(c->get_IsDeleted());
}

TEST_F(EditState, ApplyWithNothingChangedWritesNothing) {
    c->ApplyEdit(file);  // new: saved
    std::remove(file.c_str());
    c->BeginEdit();
    c->ApplyEdit(file);  // neither dirty nor new
    EXPECT_TRUE(ReadBytes(file).empty());
    EXPECT_FALSE(c->isEditing());
}

TEST_F(EditState, LoadLeavesTheEditOpenDirtyAndTakesASnapshot) {
    c->BeginEdit();
    c->put_NetSales("900");
    c->ApplyEdit(file);
    auto other = NewRecord();
    other->Load(file);
    EXPECT_TRUE(other->isEditing());
    EXPECT_TRUE(other->get_IsDirty());
    EXPECT_FALSE(other->get_IsNew());
    EXPECT_EQ(other->snapshot(), other->record());
    other->put_NetSales("5");
    other->CancelEdit();
    EXPECT_EQ(other->get_NetSales(), "900");
}

TEST_F(EditState, ResultsArePartOfTheSnapshot) {
    c->BeginEdit();
    c->put_NetSales("1000");
    c->put_COGSNxtYr("500");
    c->ApplyEdit(file);
    c->BeginEdit();
    c->Calculate();
    EXPECT_EQ(c->get_CostOfOperations(), "500");
    c->CancelEdit();
    EXPECT_EQ(c->get_CostOfOperations(), "0");
}

TEST_F(EditState, FailedSaveInApplyEditKeepsTheFlagsAndTheEdit) {
    c->BeginEdit();
    c->put_NetSales("7");
    const std::string bad = dir.File("missing-folder/x.cld");
    ComError e = CatchError([&] { c->ApplyEdit(bad); });
    EXPECT_EQ(e.Source().rfind(std::string("Caldren.ApplyEdit") + CR + "Caldren.Save" + CR, 0), 0u)
        << e.Source();
    EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
    EXPECT_TRUE(c->get_IsDirty());
    EXPECT_TRUE(c->get_IsNew());
    EXPECT_TRUE(c->isEditing());
    EXPECT_EQ(c->snapshot(), c->record());
}

TEST_F(EditState, FailedFetchInLoadKeepsWhatWasSetAndTheOldSnapshot) {
    WriteBytes(file, "[Caldren Formula Calculation]\r\nName=Partial Co\r\nAverage Cycle=maybe\r\n");
    c->BeginEdit();
    c->put_NetSales("3");
    c->ApplyEdit(file + ".first");
    const Record snapshotBefore = c->snapshot();
    ComError e = CatchError([&] { c->Load(file); });
    EXPECT_EQ(e.Number(), 13);
    EXPECT_EQ(e.Source(), std::string("Caldren.Load") + CR + "Caldren.Fetch" + CR + "Entry \"Average Cycle=maybe\"" +
                              CR + "Vesmora");
    EXPECT_EQ(c->get_sName(), "Partial Co");
    EXPECT_EQ(c->get_NetSales(), "3");
    EXPECT_FALSE(c->get_IsNew());
    EXPECT_EQ(c->snapshot().sName, snapshotBefore.sName);
}

TEST_F(EditState, LoadOfANewRecordFromAMissingNameFailsWith10003) {
    ComError e = CatchError([&] { c->Load(""); });
    EXPECT_EQ(e.Number(), 10003);
    EXPECT_EQ(e.Source(), std::string("Caldren.Load") + CR + "Caldren.Fetch" + CR + "Need to specify a filename.");
    EXPECT_TRUE(c->get_IsNew());
    EXPECT_TRUE(c->isEditing());  // Fetch began the edit before it failed
}

}  // namespace
