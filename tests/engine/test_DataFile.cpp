// The data file: Save and Fetch through the profile store against hand-laid files (exact
// bytes), the files of data/fetch.txt (defaults, bad files and their errors), failures that
// leave the file as it was.
#include "TestSupport.h"

#include <sstream>

namespace {

using namespace enginetest;
using casefiles::ReadFile;
using casefiles::SameBytes;
using testsupport::WriteFile;

class DataFile : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string file = dir / "analysis.cld";
    ComPtr<Caldren> c = NewRecord();
};

// Every entry in order; fractions of a unit are not kept, a date of 12/31/1999 is not
// written (and reads back as 12/31/2002); the months are read by their ordinal and written
// in collection order, without their keys.
TEST_F(DataFile, SaveAndFetchAgainstHandLaidFiles) {
    c->Fetch(Data("sample_in.cld"));
    c->Save(file);
    EXPECT_TRUE(SameBytes(ReadFile(Data("sample.cld")), ReadFile(file)));
    EXPECT_TRUE(c->get_IsNew() && c->get_IsDirty() &&
                c->isEditing());  // Load clears IsNew, Save no flag
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_EQ(d->record().CurAssets, 12345670000);  // whole units only
    EXPECT_EQ(ErrorText([&] { d->get_colMonths()->get_Item(std::string("Aug")); }).substr(0, 2),
              "5 ");
    d->Save(dir / "again.cld");  // the next-year date, absent, took its default
    EXPECT_TRUE(SameBytes(ReadFile(Data("sample_again.cld")), ReadFile(dir / "again.cld")));
    NewRecord()->Save(dir / "new.cld");
    EXPECT_TRUE(SameBytes(ReadFile(Data("new.cld")), ReadFile(dir / "new.cld")));
}

TEST_F(DataFile, FetchTable) {
    const std::string base = ReadFile(Data("base.cld"));
    for (const casefiles::Row& row : casefiles::Rows(Data("fetch.txt"))) {
        std::string bytes;
        std::istringstream lines(row[0] == "*" ? "" : base);
        for (std::string line; std::getline(lines, line);) {
            std::string key = line.substr(0, line.find('='));
            if (("," + row[0] + ",").find("," + key + ",") == std::string::npos)
                bytes += line + "\n";
        }
        WriteFile(file, bytes + row[1]);
        auto d = NewRecord();
        ComPtr<_Months> old = d->get_colMonths();
        EXPECT_EQ(ErrorText([&] { d->Fetch(file); }), row[2]) << row.where;
        EXPECT_EQ(ReadFile(file), bytes + row[1]) << row.where;
        if (row[2] == "none") {
            EXPECT_NE(d->get_colMonths().Get(), old.Get()) << row.where;  // always a new collection
        }
        ExpectShows(Snapshot(*d), row.where, row[3]);
    }
    WriteFile(file, ReadFile(Data("partial.cld")));  // no version: the engine's own
    EXPECT_EQ(ErrorText([&] { c->Fetch(file); }).substr(0, 3), "13 ");
    EXPECT_EQ(c->get_Version(), EngineVersionText());
}

TEST_F(DataFile, FailuresLeaveTheFileAsItWas) {
    c->Fetch(Data("sample_in.cld"));
    c->Save(file);
    const std::string before = ReadFile(file);
    c->put_NetSales("1");
    c->putref_colMonths(nullptr);  // fails after most entries were written
    EXPECT_EQ(ErrorText([&] { c->Save(file); }),
              "91 Caldren.Save\rVesmora / Caldren Formula Calculator");
    ComPtr<_Months> fresh(NewMonths());
    c->putref_colMonths(fresh.Get());
    c->put_Line2("two\r\nlines");  // a value the store cannot hold fails at once
    EXPECT_NE(ErrorText([&] { c->Save(file); }).find(" Caldren.Save\r"), std::string::npos);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_NE(ErrorText([&] { c->Save(dir / "no/such/folder.cld"); }).find(" Caldren.Save\r"),
              std::string::npos);
}

}  // namespace
