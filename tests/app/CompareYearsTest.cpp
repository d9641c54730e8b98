// View, Compare Years...: the multi-file open dialog through the Ui seam, two to six
// files, the comparison into the viewer's sink from engine objects of their own (it is not
// handed the analysis in use; no data file written), failures in their columns.
#include "AppTestSupport.h"
#include "CompareYears.h"
#include "Preferences.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <gtest/gtest.h>

using namespace caldren;
using apptest::ReadFile;
using apptest::TempDir;

namespace {

class CompareUi : public apptest::ScriptedUi {
public:
    std::deque<std::vector<std::string>> openManyAnswers;
    std::vector<FileDialogSpec> openManyDialogs;
    std::vector<std::string> OpenFilesDialog(const FileDialogSpec& spec) override {
        openManyDialogs.push_back(spec);
        if (openManyAnswers.empty()) return {};
        auto a = openManyAnswers.front();
        openManyAnswers.pop_front();
        return a;
    }
};

vesmora::ComPtr<vesmora::_Caldren> NewEngine() {
    return activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
}

class CompareYearsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string data = CALDREN_COMPARE_DATA;
        a2002 = dir / "acme2002.cld";
        a2003 = dir / "acme2003.CLD";
        apptest::WriteFile(a2002, ReadFile(data + "/acme2002.cld"));
        apptest::WriteFile(a2003, ReadFile(data + "/acme2003.CLD"));
        prefs.dataFilePath = dir.Path();
    }
    apptest::PinnedEnvironment env;
    TempDir dir;
    std::string a2002, a2003;
    Preferences prefs;
    CompareUi ui;
};

TEST_F(CompareYearsTest, TwoFilesGoToTheViewer) {
    ui.openManyAnswers.push_back({a2003, a2002});
    const std::string before = ReadFile(a2003);
    Reports::RecordingSink sink;
    EXPECT_EQ(2, CompareYears::Run(prefs, ui, sink, &NewEngine));
    ASSERT_EQ(1u, ui.openManyDialogs.size());
    EXPECT_EQ("Compare Years", ui.openManyDialogs[0].title);
    EXPECT_EQ(dir.Path(), ui.openManyDialogs[0].initialFolder);
    EXPECT_EQ("Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||", ui.openManyDialogs[0].filter);
    ASSERT_EQ(1u, sink.Reports().size());
    const auto& r = sink.Reports()[0];
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(Reports::ReportKind::Compare, r.start.kind);
    EXPECT_EQ("Comparison Report", r.start.caption);
    EXPECT_EQ(ReadFile(std::string(CALDREN_REPORTS_DATA) + "/compare_two.txt"), r.Body() + "\r\n");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(before, ReadFile(a2003));  // nothing written
}

TEST_F(CompareYearsTest, CancelShowsNothing) {
    Reports::RecordingSink sink;
    EXPECT_EQ(0, CompareYears::Run(prefs, ui, sink, &NewEngine));
    EXPECT_TRUE(sink.Reports().empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CompareYearsTest, OneOrSevenFilesAreRefused) {
    ui.openManyAnswers.push_back({a2002});
    ui.openManyAnswers.push_back({a2002, a2003, a2002, a2003, a2002, a2003, a2002});
    Reports::RecordingSink sink;
    EXPECT_EQ(0, CompareYears::Run(prefs, ui, sink, &NewEngine));
    EXPECT_EQ(0, CompareYears::Run(prefs, ui, sink, &NewEngine));
    EXPECT_TRUE(sink.Reports().empty());
    ASSERT_EQ(2u, ui.messages.size());
    for (const auto& m : ui.messages) {
        EXPECT_EQ(CompareYears::kChooseTwoToSix, m.text);
        EXPECT_EQ(kOkOnly | kExclamation, m.style);
        EXPECT_EQ("Compare Years", m.title);
    }
}

TEST_F(CompareYearsTest, SixFilesWithAMissingOne) {
    const std::string missing = dir / "missing.cld";
    ui.openManyAnswers.push_back({a2002, a2003, missing, a2002, a2003, a2002});
    Reports::RecordingSink sink;
    EXPECT_EQ(6, CompareYears::Run(prefs, ui, sink, &NewEngine));
    ASSERT_EQ(1u, sink.Reports().size());
    const std::string body = sink.Reports()[0].Body();
    EXPECT_EQ(4u, sink.Reports()[0].chunks.size() - 1);  // two blocks, their changes, a note
    EXPECT_NE(std::string::npos, body.find("  Note 1: " + missing + ":"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CompareYearsTest, AnEngineThatCannotBeCreatedIsAFailedColumn) {
    ui.openManyAnswers.push_back({a2002, a2003});
    int made = 0;
    Reports::RecordingSink sink;
    EXPECT_EQ(2, CompareYears::Run(prefs, ui, sink, [&]() -> vesmora::ComPtr<vesmora::_Caldren> {
                  if (++made == 1) throw activation::ComError(429, "Activation.CreateObject", "");
                  return NewEngine();
              }));
    const std::string body = sink.Reports()[0].Body();
    EXPECT_NE(std::string::npos, body.find("  Note 1: " + a2002 + ": Could not be loaded:"))
        << body;
}

// A sink that fails: the message, and the run goes on.
class FailingSink : public Reports::RecordingSink {
public:
    void PrintOrDisplay(std::string_view, int, const Reports::ReportHeadings&) override {
        throw activation::ComError(91, "Reports.PrintOrDisplay", "Object variable not set");
    }
};

TEST_F(CompareYearsTest, SinkErrorIsShown) {
    ui.openManyAnswers.push_back({a2002, a2003});
    FailingSink sink;
    EXPECT_EQ(0, CompareYears::Run(prefs, ui, sink, &NewEngine));
    ASSERT_EQ(1u, ui.messages.size());
    EXPECT_EQ("The comparison could not be shown: Object variable not set (error 91)",
              ui.messages[0].text);
    ASSERT_EQ(1u, sink.Reports().size());
    EXPECT_TRUE(sink.Reports()[0].aborted);
}

}  // namespace
