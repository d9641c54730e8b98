// The command line: switches found without regard to case where a word begins, names
// kept exactly as typed, one separator skipped, the name ending at the first occurrence of
// the extension in the whole line.
#include "MainMod.h"

#include <activation/Com.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using caldren::MainMod::GetCommandLineFilename;
using caldren::MainMod::IsSilent;

namespace {

struct LineCase {
    const char* name;
    std::string line;
    bool silent;
    std::string input;
    std::string output;
};

class CommandLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineCases, SwitchesAndNames) {
    const LineCase& c = GetParam();
    EXPECT_EQ(IsSilent(c.line), c.silent);
    EXPECT_EQ(GetCommandLineFilename(c.line, ".cld", "/input"), c.input);
    EXPECT_EQ(GetCommandLineFilename(c.line, ".txt", "/output"), c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineCases,
    ::testing::Values(
        LineCase{"Plain", "/input /clients/acme.cld /output /clients/acme.txt /silent", true,
                 "/clients/acme.cld", "/clients/acme.txt"},
        // Capitals in switches and extensions are matched; the names keep their capitals.
        LineCase{"CapitalsKept", "/INPUT /Data/Acme.CLD", false, "/Data/Acme.CLD", ""},
        LineCase{"AnyOrderAnyCase", "/Silent /OUTPUT /o/Report.TXT /Input /i/Acme.Cld", true,
                 "/i/Acme.Cld", "/o/Report.TXT"},
        // Blanks inside names stay part of them.
        LineCase{"BlanksKept", "/input /my data/acme.cld /output /out dir/acme.txt", false,
                 "/my data/acme.cld", "/out dir/acme.txt"},
        // Only one separator character is skipped.
        LineCase{"TwoBlanks", "/input  /acme.cld", false, " /acme.cld", ""},
        // The name ends at the first ".cld" of the line.
        LineCase{"FirstExtension", "/input /work.cld.old/acme.cld", false, "/work.cld", ""},
        // "/input" inside a path is no switch: a switch begins a word.
        LineCase{"SwitchWordInPath", "/input /srv/input/acme.cld /output /srv/output/a.txt",
                 false, "/srv/input/acme.cld", "/srv/output/a.txt"},
        LineCase{"OutputPathHoldsInput", "/output /srv/input/a.txt /input /x/b.cld /silent", true,
                 "/x/b.cld", "/srv/input/a.txt"},
        LineCase{"SilentFolderIsNoSwitch", "/home/ann/silent/acme.cld", false, "", ""},
        LineCase{"SilentInsideWord", "/silently /input /a.cld", true, "/a.cld", ""},
        LineCase{"NoExtension", "/input /clients/acme.dat /output /x.txt", false, "", "/x.txt"},
        LineCase{"NoSwitch", "/clients/acme.cld", false, "", ""},
        LineCase{"Empty", "", false, "", ""}),
    [](const ::testing::TestParamInfo<LineCase>& row) { return std::string(row.param.name); });

TEST(CommandLine, ExtensionBeforeTheNameIsAnInvalidCall) {
    // An output name holding ".cld" before "/input": the name would have a negative length.
    const std::string line = "/output /o/a.cld.txt /input /i/b.cld /silent";
    try {
        GetCommandLineFilename(line, ".cld", "/input");
        FAIL() << "no error";
    } catch (const activation::ComError& e) {
        EXPECT_EQ(e.Number(), 5);
        EXPECT_EQ(e.Source(), "MainMod.GetCommandLineFilename");
    }
}

// A switch run into its extension ("/output.txt"): the separator skipped would be the
// extension's dot and the name a piece of the extension ("txt", a file nobody named).
struct OverlapCase {
    const char* name;
    std::string line;
    std::string extension;
    std::string switchText;
};

class ExtensionOverlapsTheSwitch : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(ExtensionOverlapsTheSwitch, IsAnInvalidCall) {
    const OverlapCase& c = GetParam();
    try {
        const std::string name = GetCommandLineFilename(c.line, c.extension, c.switchText);
        FAIL() << "name [" << name << "]";
    } catch (const activation::ComError& e) {
        EXPECT_EQ(e.Number(), 5);
        EXPECT_EQ(e.Source(), "MainMod.GetCommandLineFilename");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExtensionOverlapsTheSwitch,
    ::testing::Values(
        OverlapCase{"OutputRunIntoTxt", "/input /i/a.cld /output.txt /silent", ".txt", "/output"},
        OverlapCase{"InputRunIntoCld", "/input.cld /output /o/a.txt /silent", ".cld", "/input"},
        OverlapCase{"CapitalsToo", "nput y /OUTPUT.TXT", ".txt", "/output"},
        // The dot right after the switch: the separator, then "cld" without its dot.
        OverlapCase{"DotAsSeparator", "/input.cld", ".cld", "/input"}),
    [](const ::testing::TestParamInfo<OverlapCase>& row) { return std::string(row.param.name); });

TEST(CommandLine, NameRightAfterTheSeparatorIsKept) {
    // The shortest name: the extension alone, right after the switch and its separator.
    EXPECT_EQ(GetCommandLineFilename("/input .cld", ".cld", "/input"), ".cld");
    EXPECT_EQ(GetCommandLineFilename("/output x.txt", ".txt", "/output"), "x.txt");
}

TEST(CommandLine, ArgumentsJoinedBySingleBlanks) {
    std::vector<std::string> args{"CaldrenCalc", "/input", "/my", "data/a.cld", "/silent"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    EXPECT_EQ(caldren::MainMod::JoinCommandLine(static_cast<int>(argv.size()), argv.data()),
              "/input /my data/a.cld /silent");
    EXPECT_EQ(caldren::MainMod::JoinCommandLine(1, argv.data()), "");
}

TEST(CommandLine, HelpSwitches) {
    std::vector<std::string> args{"CaldrenCalc", "/input", "--help"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    EXPECT_TRUE(caldren::MainMod::WantsHelp(3, argv.data()));
    EXPECT_FALSE(caldren::MainMod::WantsHelp(2, argv.data()));
    EXPECT_NE(caldren::MainMod::Usage().find("/input <data file>.cld /output <report file>.txt /silent"),
              std::string::npos);
}

}  // namespace
