// The batch comparison end to end, through the built program in a program folder of its
// own with a temporary HOME and no display: "/compare" with two or three data files (the
// worked examples typed into data files, and DEMO.CLD), the report appended to the output
// file byte for byte as laid out by hand, the data files unchanged; a missing or unreadable
// file gets its column and a non-zero exit status; usage errors.
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using batchtest::ReadFile;
using batchtest::RunResult;
using batchtest::WriteFile;

std::string Data(const std::string& name) { return ReadFile(fs::path(CALDREN_COMPARE_DATA) / name); }
// The two-file report laid out by hand for the report tests (the same worked examples).
std::string TwoYears() { return ReadFile(fs::path(CALDREN_REPORTS_DATA) / "compare_two.txt"); }

class CompareBatch : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cldcompare-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        ASSERT_NE(::mkdtemp(buf.data()), nullptr);
        root = buf.data();
        program = root / "program";
        home = root / "home";
        work = root / "Client Work";  // a blank in the folder name
        fs::create_directories(program);
        fs::create_directories(home);
        fs::create_directories(work);
        fs::copy_file(CALDREN_PROGRAM, program / "CaldrenCalc");
        fs::copy_file(CALDREN_ENGINE, program / fs::path(CALDREN_ENGINE).filename());
        fs::copy_file(fs::path(CALDREN_COMPARE_DATA) / "acme2002.cld", work / "acme2002.cld");
        fs::copy_file(fs::path(CALDREN_COMPARE_DATA) / "acme2003.CLD", work / "acme2003.CLD");
        fs::copy_file(CALDREN_DEMO_SOURCE, work / "DEMO.CLD");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    RunResult Run(const std::vector<std::string>& args) {
        return batchtest::RunProgram(program / "CaldrenCalc", args, home, root);
    }

    std::string W(const std::string& name) const { return (work / name).string(); }

    fs::path root, program, home, work;
};

TEST_F(CompareBatch, TwoYearsAppendedInYearEndOrder) {
    const fs::path out = work / "compare.txt";
    WriteFile(out, "earlier\r\n");
    const std::string before2002 = ReadFile(work / "acme2002.cld");
    const std::string before2003 = ReadFile(work / "acme2003.CLD");
    const RunResult r =
        Run({"/compare", W("acme2003.CLD"), W("acme2002.cld"), "/output", out.string(), "/silent"});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_EQ("earlier\r\n" + TwoYears(), ReadFile(out));
    // The data files are read, never written.
    EXPECT_EQ(before2002, ReadFile(work / "acme2002.cld"));
    EXPECT_EQ(before2003, ReadFile(work / "acme2003.CLD"));
}

TEST_F(CompareBatch, ThreeYearsAnyCaseAnyOrder) {
    const fs::path out = work / "three.txt";
    const RunResult r = Run({"/SILENT", "/output", out.string(), "/Compare", W("DEMO.CLD"),
                             W("acme2003.CLD"), W("acme2002.cld")});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ(Data("compare_three_years.txt"), ReadFile(out));
}

TEST_F(CompareBatch, MissingAndUnreadableFilesGetTheirColumns) {
    const fs::path out = work / "failed.txt";
    static const char kGarbage[] = "\x00\x01\x02 not a data file";
    WriteFile(work / "garbage.cld", std::string(kGarbage, sizeof kGarbage - 1));
    const RunResult r = Run({"/compare", W("acme2002.cld"), W("missing.cld"), W("acme2003.CLD"),
                             W("garbage.cld"), "/output", out.string(), "/silent"});
    EXPECT_EQ(1, r.exitCode);
    const std::string text = ReadFile(out);
    // Four columns: two good ones and the failed ones last, in the order given, in the
    // first block of three and the second.
    EXPECT_NE(std::string::npos, text.find(std::string(37, ' ') + "    acme2002      acme2003       missing\r\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find(std::string(37, ' ') + "     garbage\r\n")) << text;
    EXPECT_NE(std::string::npos,
              text.find("  Available Working Capital              $250,000      $250,000        Failed\r\n"));
    EXPECT_NE(std::string::npos,
              text.find("  Cost Of Operations                     $840,000      $840,000    See Note 1\r\n"));
    EXPECT_NE(std::string::npos, text.find("  Note 1: " + W("missing.cld") + ":"));
    EXPECT_NE(std::string::npos, text.find("  Note 2: " + W("garbage.cld") + ":"));
    EXPECT_NE(std::string::npos, text.find("the file does not exist"));
    // Each failure on stderr and in the error log of the program folder.
    EXPECT_NE(std::string::npos, r.err.find(W("missing.cld") + ": Could not be loaded: the file does not exist"))
        << r.err;
    EXPECT_NE(std::string::npos, r.err.find(W("garbage.cld") + ": Could not be loaded"));
    const std::string log = ReadFile(program / "CLD_err.log");
    EXPECT_NE(std::string::npos, log.find("missing.cld")) << log;
}

TEST_F(CompareBatch, UsageErrorsWriteNothing) {
    const fs::path out = work / "none.txt";
    const std::vector<std::vector<std::string>> cases{
        {"/compare", W("acme2002.cld"), "/output", out.string(), "/silent"},  // one file
        {"/compare", W("acme2002.cld"), W("acme2003.CLD"), "/silent"},       // no /output
        {"/compare", W("acme2002.cld"), W("acme2003.CLD"), "/output", out.string()},  // no /silent
        {"/compare", W("a.cld"), W("b.cld"), W("c.cld"), W("d.cld"), W("e.cld"), W("f.cld"),
         W("g.cld"), "/output", out.string(), "/silent"},  // seven files
    };
    for (const auto& args : cases) {
        const RunResult r = Run(args);
        EXPECT_EQ(2, r.exitCode) << args.size();
        EXPECT_NE(std::string::npos, r.err.find("/compare needs two to six data files")) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(CompareBatch, OutputFolderMissingFailsAndWritesNothing) {
    const fs::path out = work / "no such folder" / "out.txt";
    const RunResult r = Run({"/compare", W("acme2002.cld"), W("acme2003.CLD"), "/output", out.string(), "/silent"});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_NE(std::string::npos, r.err.find("error 76")) << r.err;
}

}  // namespace
