// The batch run end to end, through the built program in a program folder of its own
// (the program, the engine library and DEMO.CLD copied into a temporary folder), with a
// temporary HOME and no display variables at all.
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <cstdio>
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

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The first line where two texts differ, for failure messages.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
    const std::size_t lineStart = expected.rfind('\n', i == 0 ? 0 : i - 1);
    const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    auto lineOf = [from](const std::string& t) {
        const std::size_t end = t.find("\r\n", from);
        return from >= t.size() ? std::string("<end>") : t.substr(from, end - from);
    };
    return "first difference at byte " + std::to_string(i) + "\n  expected: [" + lineOf(expected) +
           "]\n  actual:   [" + lineOf(actual) + "]";
}

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cldbatch-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        ASSERT_NE(::mkdtemp(buf.data()), nullptr);
        root = buf.data();
        program = root / "program";
        home = root / "home";
        work = root / "Client Work";
        fs::create_directories(program);
        fs::create_directories(home);
        fs::create_directories(work);
        fs::copy_file(CALDREN_PROGRAM, program / "CaldrenCalc");
        fs::copy_file(CALDREN_ENGINE, program / fs::path(CALDREN_ENGINE).filename());
        fs::copy_file(CALDREN_DEMO_SOURCE, program / "DEMO.CLD");
        demo = ReadFile(CALDREN_DEMO_SOURCE);
        ASSERT_FALSE(demo.empty());
    }
    void TearDown() override {
        std::error_code ec;
        for (auto& e : fs::recursive_directory_iterator(root, ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }

    // Runs the program with the arguments as given (each one argv element).
    RunResult Run(const std::vector<std::string>& args, const std::string& programPath = {},
                  const std::vector<std::string>& extraEnv = {}) {
        return batchtest::RunProgram(programPath.empty() ? program / "CaldrenCalc" : fs::path(programPath),
                                     args, home, root, extraEnv);
    }

    RunResult RunBatch(const fs::path& input, const fs::path& output) {
        return Run({"/input", input.string(), "/output", output.string(), "/silent"});
    }

    // Files present anywhere under the test's root, apart from the program folder's own.
    std::vector<std::string> FilesOutsideProgram() const {
        std::vector<std::string> files;
        for (auto& e : fs::recursive_directory_iterator(root)) {
            if (e.is_regular_file() && e.path().parent_path() != program) files.push_back(e.path().string());
        }
        return files;
    }

    fs::path root, program, home, work;
    std::string demo;
};

// ---- the Summary report of DEMO.CLD, laid out by hand from the report's column table ---
//
// Figures of DEMO.CLD, computed by hand:
//   available working capital  4,850,000 + 350,000 + 120,000 - 1,640,000 - 25,000 = 3,655,000
//   cost of operations         5,600,000 + 1,450,000 + 210,000 - 185,000 + 0     = 7,075,000
//   average method: inventory days 1,222,500 / 5,335,000 x 365 = 83.63871,
//     receivable days 947,500 / 7,900,000 x 365 = 43.77690, payable days
//     540,000 / 5,420,000 x 365 = 36.36531; adjusted days 91.05029; cycle 0.2495;
//     needed 7,075,000 x 0.2495 = 1,765,212.5 -> 1,765,212 (ties to even);
//     excess before needs 1,889,788; excess 1,889,788 - 400,000 - 150,000 = 1,339,788
//   peak method: gross profit 32.46835 %, factor 0.675316; October's estimated inventory
//     1,312,036 over COGS 5,335,000 = 0.24593 plus receivables 1,118,000 over net sales
//     7,900,000 = 0.14152 gives the peak 0.38745; payables 540,000 / 5,420,000 = 0.09963;
//     net cycle 0.28782; needed 7,075,000 x 0.2878190 = 2,036,319;
//     excess before needs 1,618,681; excess 1,068,681
std::string Field(const std::string& text) { return std::string(12 - text.size(), ' ') + text; }
std::string Blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string Chars(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

std::string ExpectedSummary() {
    const std::string crlf = "\r\n";
    std::string s;
    s += Blanks(53) + "       Caldren" + crlf;
    s += Blanks(53) + "       Formula" + crlf;
    s += Blanks(53) + "       Modified" + crlf;
    s += Blanks(53) + "          By" + crlf;
    s += Blanks(41) + "Caldren" + Blanks(13) + "Empire" + crlf;
    s += Blanks(41) + "Formula" + Blanks(13) + "Steel" + crlf;
    s += Blanks(38) + Chars('-', 13) + Blanks(6) + Chars('-', 13) + crlf;
    s += "  Availablable Working Capital         " + Field("$3,655,000") + Blanks(7) + Field("$3,655,000") + crlf;
    s += "  Working Capital Needed" + crlf;
    s += "   For Business Cycle" + Blanks(18) + Field("2,036,319") + Blanks(7) + Field("1,765,212") + crlf;
    s += Blanks(38) + Chars('-', 13) + Blanks(6) + Chars('-', 13) + crlf;
    s += crlf;
    s += "  Working Capital in Excess of What" + crlf;
    s += "   is needed for business cycle        " + Field("$1,618,681") + Blanks(7) + Field("$1,889,788") + crlf;
    s += crlf;
    s += "  Less, Other Reasonable Needs" + Blanks(9) + Field("400,000") + Blanks(7) + Field("400,000") + crlf;
    s += "  Less, Contingencies" + Blanks(18) + Field("150,000") + Blanks(7) + Field("150,000") + crlf;
    s += Blanks(38) + Chars('-', 13) + Blanks(7) + Chars('-', 12) + crlf;
    s += "  Excess Working Capital" + Blanks(15) + Field("$1,068,681") + Blanks(7) + Field("$1,339,788") + crlf;
    s += Blanks(38) + Chars('=', 13) + Blanks(7) + Chars('=', 12);
    return s;
}

TEST_F(BatchRun, DemoGivesBothReportsDetailedFirst) {
    const fs::path input = work / "DEMO.CLD";
    const fs::path output = work / "demo.txt";
    WriteFile(input, demo);
    const RunResult r = RunBatch(input, output);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");

    const std::string text = ReadFile(output);
    // Detailed Analysis first, then the Summary, each followed by CR LF.
    const std::string summary = ExpectedSummary() + "\r\n";
    ASSERT_GT(text.size(), summary.size());
    const std::string tail = text.substr(text.size() - summary.size());
    EXPECT_EQ(tail, summary) << FirstDifference(summary, tail);
    const std::string detailed = text.substr(0, text.size() - summary.size());
    EXPECT_EQ(detailed.substr(detailed.size() - 2), "\r\n");
    // Known figures of the Detailed Analysis.
    for (const char* figure :
         {"$3,655,000", "$7,075,000", "32.47%", "1,312,036", "1,265,004", "0.38745", "0.09963",
          "0.28782", "$2,036,319", "83.63871", "43.77690", "36.36531", "91.05029", "24.95%",
          "$1,765,212", "Caldren Formula - Using Peak Amounts"}) {
        EXPECT_NE(detailed.find(figure), std::string::npos) << figure;
    }
    // Every line ends in CR LF; no bare line feed.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
    }
    // The data file is saved back with this program's version tag: DEMO.CLD already
    // carries it, so the bytes stay the same.
    EXPECT_EQ(ReadFile(input), demo);
    // Nothing else is written: no log, no settings file.
    EXPECT_FALSE(fs::exists(program / "CLD_err.log"));
    EXPECT_FALSE(fs::exists(program / "CaldrenCalc.ini"));
    EXPECT_FALSE(fs::exists(home / "config"));
}

TEST_F(BatchRun, DataFileIsRewrittenWithTheVersionTag) {
    const fs::path input = work / "old.cld";
    WriteFile(input, Replace(demo, "Version=CLD2026.12", "Version=CLD2014.10"));
    const RunResult r = RunBatch(input, work / "old.txt");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(input), demo);
}

TEST_F(BatchRun, OutputIsAppendedNeverTruncated) {
    const fs::path input = work / "demo.cld";
    const fs::path output = work / "demo.txt";
    WriteFile(input, demo);
    WriteFile(output, "earlier text\r\n");
    ASSERT_EQ(RunBatch(input, output).exitCode, 0);
    const std::string once = ReadFile(output);
    ASSERT_EQ(once.rfind("earlier text\r\n", 0), 0u);
    ASSERT_EQ(RunBatch(input, output).exitCode, 0);
    const std::string twice = ReadFile(output);
    const std::string reports = once.substr(14);
    EXPECT_EQ(twice, once + reports);
}

TEST_F(BatchRun, NamesWithBlanksAndCapitals) {
    const fs::path input = work / "Harlow Castings 2026.CLD";
    const fs::path output = work / "Harlow Reports.TXT";
    WriteFile(input, demo);
    // As the shell passes an unquoted name: the words are separate arguments.
    const RunResult r = Run({"/input", (work / "Harlow").string(), "Castings", "2026.CLD",
                             "/output", (work / "Harlow").string(), "Reports.TXT", "/silent"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(ReadFile(output).find("Excess Working Capital"), std::string::npos);
    EXPECT_TRUE(fs::exists(input));
    EXPECT_FALSE(fs::exists(work / "harlow reports.txt"));
}

struct OrderCase {
    const char* name;
    std::vector<std::string> pattern;  // "IN" and "OUT" stand for the two names
};

class SwitchOrder : public BatchRun, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(SwitchOrder, AnyOrderAnyCase) {
    const fs::path input = work / "Acme.Cld";
    const fs::path output = work / "Acme Out.Txt";
    WriteFile(input, demo);
    std::vector<std::string> args;
    for (const std::string& p : GetParam().pattern) {
        args.push_back(p == "IN" ? input.string() : p == "OUT" ? output.string() : p);
    }
    const RunResult r = Run(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(ReadFile(output).find("$1,339,788"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SwitchOrder,
    ::testing::Values(OrderCase{"SilentFirst", {"/silent", "/input", "IN", "/output", "OUT"}},
                      OrderCase{"OutputFirst", {"/output", "OUT", "/silent", "/input", "IN"}},
                      OrderCase{"Capitals", {"/INPUT", "IN", "/OUTPUT", "OUT", "/SILENT"}},
                      OrderCase{"Mixed", {"/Output", "OUT", "/Input", "IN", "/Silent"}}),
    [](const ::testing::TestParamInfo<OrderCase>& row) { return std::string(row.param.name); });

TEST_F(BatchRun, MissingInputSaysSoAndWritesNothing) {
    const fs::path input = work / "Nowhere.cld";
    const fs::path output = work / "nowhere.txt";
    const RunResult r = RunBatch(input, output);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(input.string() + " does not exist."), std::string::npos) << r.err;
    EXPECT_TRUE(FilesOutsideProgram().empty());
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(fs::exists(program / "CLD_err.log"));
}

TEST_F(BatchRun, MissingSwitchesPrintTheUsage) {
    const fs::path input = work / "demo.cld";
    WriteFile(input, demo);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"/input", input.string(), "/silent"},
             {"/output", (work / "x.txt").string(), "/silent"},
             {"/silent"},
             {"/input", (work / "demo.dat").string(), "/output", (work / "x.txt").string(), "/silent"}}) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFile(input), demo);
    EXPECT_EQ(FilesOutsideProgram().size(), 1u);
}

TEST_F(BatchRun, HelpPrintsTheUsageAndSucceeds) {
    const RunResult r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("CaldrenCalc /input <data file>.cld /output <report file>.txt /silent"),
              std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST_F(BatchRun, AFolderAsInputIsRefused) {
    const fs::path folder = work / "folder.cld";
    fs::create_directories(folder);
    const RunResult r = RunBatch(folder, work / "folder.txt");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(folder.string()), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(work / "folder.txt"));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(BatchRun, MissingOutputFolderFailsAndLeavesTheInputAsItWas) {
    const fs::path input = work / "old.cld";
    const std::string before = Replace(demo, "Version=CLD2026.12", "Version=CLD2014.10");
    WriteFile(input, before);
    const fs::path output = work / "no such folder" / "out.txt";
    const RunResult r = RunBatch(input, output);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("CaldrenCalc: error 76"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("DetailedReport.RunDetailReport"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(input), before) << "the input is untouched when the run failed";
    EXPECT_FALSE(fs::exists(output));
    // The error is in the log beside the program, one line.
    const std::string log = ReadFile(program / "CLD_err.log");
    EXPECT_NE(log.find("Error 76"), std::string::npos) << log;
    EXPECT_NE(log.find("DetailedReport.RunDetailReport"), std::string::npos) << log;
    EXPECT_EQ(log.size() - log.find("\r\n"), 2u) << "one line";
}

TEST_F(BatchRun, ALinkedInputStaysALinkAfterAFailedRun) {
    const fs::path target = work / "real.cld";
    const std::string before = Replace(demo, "Version=CLD2026.12", "Version=CLD2014.10");
    WriteFile(target, before);
    const fs::path link = work / "link.cld";
    fs::create_symlink(target, link);
    const RunResult r = RunBatch(link, work / "missing folder" / "out.txt");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), before);
}

TEST_F(BatchRun, ReadOnlyOutputFolderFails) {
    fs::path output;
    if (::geteuid() == 0) {
        output = "/sys/caldren-report.txt";  // not writable even for root
    } else {
        fs::create_directories(work / "locked");
        fs::permissions(work / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        output = work / "locked" / "out.txt";
    }
    const fs::path input = work / "demo.cld";
    WriteFile(input, demo);
    const RunResult r = RunBatch(input, output);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("CaldrenCalc: error"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(ReadFile(input), demo);
    EXPECT_TRUE(fs::exists(program / "CLD_err.log"));
}

TEST_F(BatchRun, GarbageInputIsLeftUntouched) {
    const fs::path input = work / "garbage.cld";
    const std::string garbage = std::string("\x7f" "ELF\x01\x02 not an analysis \r\n[x]\r\n=\r\n", 33);
    WriteFile(input, garbage);
    const RunResult r = RunBatch(input, work / "garbage.txt");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("File Operations.Open File"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Caldren.Fetch"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(input), garbage);
    EXPECT_FALSE(fs::exists(work / "garbage.txt"));
    const std::string log = ReadFile(program / "CLD_err.log");
    EXPECT_NE(log.find("File Operations.Open File <- Caldren.Load <- Caldren.Fetch"), std::string::npos)
        << log;
}

TEST_F(BatchRun, TruncatedInputIsLeftUntouched) {
    const fs::path input = work / "cut.cld";
    const std::string cut = demo.substr(0, demo.find("End-of-Year Months"));
    WriteFile(input, cut);
    const RunResult r = RunBatch(input, work / "cut.txt");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(ReadFile(input), cut);
    EXPECT_FALSE(fs::exists(work / "cut.txt"));
}

TEST_F(BatchRun, AnAnalysisThatCannotBeCalculatedLeavesEverythingAsItWas) {
    // Net sales of zero: the calculation divides by it.
    const fs::path input = work / "zero.cld";
    const std::string before =
        Replace(Replace(demo, "Net Sales=7,900,000", "Net Sales=0"), "Version=CLD2026.12", "Version=CLD2020.1");
    WriteFile(input, before);
    const fs::path output = work / "zero.txt";
    WriteFile(output, "kept\r\n");
    const RunResult r = RunBatch(input, output);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("CaldrenCalc: error 11"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("c_calcs.CalcOpCyclePeak"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(input), before);
    EXPECT_EQ(ReadFile(output), "kept\r\n");
}

TEST_F(BatchRun, LogGoesToTheUserFolderWhenTheProgramFolderIsReadOnly) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path input = work / "garbage.cld";
    WriteFile(input, "garbage\r\n");
    EXPECT_NE(RunBatch(input, work / "g.txt").exitCode, 0);
    EXPECT_FALSE(fs::exists(program / "CLD_err.log"));
    EXPECT_TRUE(fs::exists(home / "config" / "Orlenwick" / "CLD_err.log"));
}

TEST_F(BatchRun, ExtensionBeforeTheNameIsAnError) {
    const fs::path input = work / "b.cld";
    WriteFile(input, demo);
    const RunResult r = Run({"/output", (work / "a.cld.txt").string(), "/input", input.string(), "/silent"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("MainMod.GetCommandLineFilename"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(input), demo);
    EXPECT_FALSE(fs::exists(work / "a.cld.txt"));
}

TEST_F(BatchRun, InteractiveStartWithoutTheWindowLibrarySaysSo) {
    // The program folder here holds no window library.
    const RunResult r = Run({}, {}, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("libcaldrengui.so"), std::string::npos) << r.err;
}

TEST_F(BatchRun, InteractiveStartWithoutADisplaySaysSo) {
    const RunResult r = Run({(work / "acme.cld").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("there is no display"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("/silent"), std::string::npos) << r.err;
}

TEST_F(BatchRun, TheBuiltProgramLoadsNeitherQtNorTheWindowLibrary) {
    // Run from the build's own program folder, where the window library may lie beside the
    // program; the dynamic loader lists every library it loads.
    const fs::path input = work / "demo.cld";
    WriteFile(input, demo);
    const RunResult r = Run({"/input", input.string(), "/output", (work / "demo.txt").string(), "/silent"},
                            CALDREN_PROGRAM, {"LD_DEBUG=files"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("libvesmora.so"), std::string::npos) << "the engine is loaded";
    EXPECT_EQ(r.err.find("libQt"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("caldrengui"), std::string::npos) << r.err;
    EXPECT_NE(ReadFile(work / "demo.txt").find("$1,068,681"), std::string::npos);
}

TEST(BatchProgram, LinksNoQt) {
    const std::string command = std::string("ldd '") + CALDREN_PROGRAM + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe)) text += buf;
    EXPECT_EQ(::pclose(pipe), 0) << text;
    EXPECT_NE(text.find("libstdc++"), std::string::npos) << text;
    EXPECT_EQ(text.find("Qt"), std::string::npos) << text;
    EXPECT_EQ(text.find("libX"), std::string::npos) << text;
    EXPECT_EQ(text.find("wayland"), std::string::npos) << text;
}

}  // namespace
