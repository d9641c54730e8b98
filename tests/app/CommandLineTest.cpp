// The command line (the cases in tests/data/command_lines.cases and compare_lines.cases):
// switches found without regard to case where a word begins, names kept exactly as typed,
// one separator skipped, a name ending at the line's first extension that ends a word, the
// compared names, and switch words the program does not know.
#include "CommandLine.h"
#include "MainMod.h"
#include "TestSupport.h"

#include "RunState.h"

#include <activation/Com.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <csignal>

namespace MainMod = caldren::MainMod;
namespace Line = caldren::CommandLine;

namespace {

std::string Name(const std::string& line, const char* extension, const char* switchText) {
    try {
        return Line::GetCommandLineFilename(line, extension, switchText);
    } catch (const activation::ComError& e) {
        return "!" + std::to_string(e.Number()) +
               (e.Source() == "MainMod.GetCommandLineFilename" ? "" : e.Source());
    }
}

class CommandLine : public ::testing::TestWithParam<std::vector<std::string>> {};

// name  line  /silent seen  name after /input  name after /output  first unknown switch
TEST_P(CommandLine, SwitchesAndNames) {
    const std::vector<std::string>& c = GetParam();
    EXPECT_EQ(Line::IsSilent(c[1]), c[2] == "true");
    EXPECT_EQ(Name(c[1], ".cld", "/input"), c[3]);
    EXPECT_EQ(Name(c[1], ".txt", "/output"), c[4]);
    EXPECT_EQ(Line::UnknownSwitch(c[1]), c[5]);
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandLine,
                         ::testing::ValuesIn(testsupport::Rows(CALDREN_TEST_DATA
                                                               "/command_lines.cases")),
                         [](const auto& p) { return p.param[0]; });

// names|switch  line  the names after "/compare" (" ; " between them)|whether it is a word
TEST(CompareLine, NamesAndSwitch) {
    for (const auto& c : testsupport::Rows(CALDREN_TEST_DATA "/compare_lines.cases")) {
        std::string names;
        for (const std::string& n : Line::GetCompareFileNames(c[1]))
            names += (names.empty() ? "" : " ; ") + n;
        const std::string word = Line::HasCompareSwitch(c[1]) ? "true" : "false";
        EXPECT_EQ(c[0] == "names" ? names : word, c[2]) << c[1];
    }
}

// A data file named alone starts the windows on it; without any display the program says
// so and ends, having given the signals back their defaults and kept the file and the
// saved flag for the windows.
TEST(MainWithoutADisplay, NamesTheFileAndRestoresTheSignals) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(name);
    caldren::RunState state;
    state.document.saved = false;
    std::string program = "CaldrenCalc", file = "/srv/Clients/acme 2026.cld";
    char* argv[] = {program.data(), file.data(), nullptr};
    EXPECT_EQ(MainMod::Main(state, 2, argv), MainMod::kExitFailure);
    EXPECT_EQ(state.options.startFile, file);
    EXPECT_TRUE(state.document.saved);
    struct sigaction pipe {
    }, size{};
    ::sigaction(SIGPIPE, nullptr, &pipe);
    ::sigaction(SIGXFSZ, nullptr, &size);
    EXPECT_TRUE(pipe.sa_handler == SIG_DFL && size.sa_handler == SIG_DFL);
    state.document.engine.Reset();

    // /input and /output without /silent: the windows start with those names.
    caldren::RunState named;
    std::string in = "/input", out = "/output", report = "/srv/Clients/acme.txt";
    char* namedArgv[] = {program.data(), in.data(),     file.data(),
                         out.data(),     report.data(), nullptr};
    EXPECT_EQ(MainMod::Main(named, 5, namedArgv), MainMod::kExitFailure);
    EXPECT_EQ(named.document.currentFileName + " > " + named.options.outputFileName,
              file + " > " + report);
    named.document.engine.Reset();
}

// Nothing of a batch run's console seam outlives the run (its notices would reach a gone
// object).
TEST(MainBatch, LeavesNoSeamBehind) {
    caldren::RunState state;
    std::string program = "CaldrenCalc", in = "/input", file = "/nonexistent/acme.cld",
                out = "/output", report = "/nonexistent/acme.txt", silent = "/silent";
    char* argv[] = {program.data(), in.data(),     file.data(), out.data(),
                    report.data(),  silent.data(), nullptr};
    EXPECT_EQ(MainMod::Main(state, 6, argv), MainMod::kExitFailure);
    EXPECT_TRUE(state.options.ui == nullptr && !state.document.savedChanged);
}

}  // namespace
