// The error reporter: which operation asks, which shows, and the batch log lines.

#include <errorreporter/ErrorReporter.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using errorreporter::ErrorPresenter;
using errorreporter::ErrorReporter;
using errorreporter::StderrPresenter;
using testsupport::ReadFile;
using testsupport::ScopedEnv;
using testsupport::TempDir;

namespace {

const std::string kApp = "Caldren Formula Calculator";

// 12/06/2026 20:15:03 UTC.
std::chrono::system_clock::time_point FixedTime() {
    return std::chrono::system_clock::from_time_t(1796588103);
}

struct Call {
    std::string kind;
    long number;
    std::string description, location, app;
};

class FakePresenter : public ErrorPresenter {
public:
    bool answer = false;
    std::vector<Call> calls;
    bool ShowAndAsk(long n, const std::string& d, const std::string& l, const std::string& a) override {
        calls.push_back({"ask", n, d, l, a});
        return answer;
    }
    void Show(long n, const std::string& d, const std::string& l, const std::string& a) override {
        calls.push_back({"show", n, d, l, a});
    }
};

class ErrorReporterTest : public ::testing::Test {
protected:
    TempDir dir;
    TempDir config;
    ScopedEnv tz{"TZ", std::string("UTC")};
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    std::shared_ptr<FakePresenter> presenter = std::make_shared<FakePresenter>();
    ErrorReporter reporter{presenter};

    void SetUp() override {
        ::tzset();
        reporter.SetClock(FixedTime);
    }
};

TEST_F(ErrorReporterTest, ReportAndAskShowsAndReturnsTheAnswer) {
    presenter->answer = true;
    EXPECT_TRUE(reporter.ReportAndAsk(13, "Type mismatch", "MainMod.IsSilent\rx", kApp));
    presenter->answer = false;
    EXPECT_FALSE(reporter.ReportAndAsk(13, "Type mismatch", "MainMod.IsSilent\rx", kApp));
    ASSERT_EQ(presenter->calls.size(), 2u);
    EXPECT_EQ(presenter->calls[0].kind, "ask");
    EXPECT_EQ(presenter->calls[0].number, 13);
    EXPECT_EQ(presenter->calls[0].description, "Type mismatch");
    EXPECT_EQ(presenter->calls[0].location, "MainMod.IsSilent\rx");
    EXPECT_EQ(presenter->calls[0].app, kApp);
}

TEST_F(ErrorReporterTest, ReportErrorOnlyShows) {
    reporter.ReportError(11, "Division by zero", "ControlExtend.TextChg\rCaldren.Calculate", kApp);
    ASSERT_EQ(presenter->calls.size(), 1u);
    EXPECT_EQ(presenter->calls[0].kind, "show");
}

TEST_F(ErrorReporterTest, ReportOrLogInteractiveAsksAndLogsNothing) {
    presenter->answer = true;
    EXPECT_TRUE(reporter.ReportOrLog(53, "File not found", "File Operations.Open File\r", false,
                                     dir / "CLD_err.log", kApp));
    ASSERT_EQ(presenter->calls.size(), 1u);
    EXPECT_EQ(presenter->calls[0].kind, "ask");
    EXPECT_FALSE(std::filesystem::exists(dir / "CLD_err.log"));
}

TEST_F(ErrorReporterTest, ReportOrLogInBatchAsksNothingAndAppendsOneLine) {
    presenter->answer = true;  // would say "save" if it were asked
    EXPECT_FALSE(reporter.ReportOrLog(53, "File not found",
                                      "MainMod.RunSilent\rCaldren.Fetch\rProfileStore.ReadEntry", true,
                                      dir / "CLD_err.log", kApp));
    EXPECT_TRUE(presenter->calls.empty());
    EXPECT_EQ(ReadFile(dir / "CLD_err.log"),
              "12/06/2026 20:15:03 | Caldren Formula Calculator | Error 53 | File not found | "
              "MainMod.RunSilent <- Caldren.Fetch <- ProfileStore.ReadEntry\r\n");
    EXPECT_EQ(reporter.LastLogFile(), dir / "CLD_err.log");
}

TEST_F(ErrorReporterTest, LinesAreAppendedNeverReplaced) {
    testsupport::WriteFile(dir / "CLD_err.log", "earlier line\r\n");
    reporter.ReportOrLog(6, "Overflow", "SummaryReport.RunSummReport", true, dir / "CLD_err.log", kApp);
    reporter.ReportOrLog(11, "Division by zero", "DetailedReport.RunDetailReport", true,
                         dir / "CLD_err.log", kApp);
    EXPECT_EQ(ReadFile(dir / "CLD_err.log"),
              "earlier line\r\n"
              "12/06/2026 20:15:03 | Caldren Formula Calculator | Error 6 | Overflow | SummaryReport.RunSummReport\r\n"
              "12/06/2026 20:15:03 | Caldren Formula Calculator | Error 11 | Division by zero | DetailedReport.RunDetailReport\r\n");
}

TEST_F(ErrorReporterTest, AFolderAsLogPathGetsCldErrLogInside) {
    reporter.ReportOrLog(70, "Permission denied", "MainMod.RunSilent", true, dir.path(), kApp);
    EXPECT_EQ(reporter.LastLogFile(), dir / "CLD_err.log");
    EXPECT_TRUE(std::filesystem::exists(dir / "CLD_err.log"));
}

TEST_F(ErrorReporterTest, UnwritableLogPlaceFallsBackToThePerUserFolder) {
    testsupport::WriteFile(dir / "plainfile", "x");
    // A log path below a plain file can never be created, whoever runs the test.
    reporter.ReportOrLog(76, "Path not found", "MainMod.RunSilent", true, dir / "plainfile/CLD_err.log", kApp);
    const std::string expected = config.path() + "/Orlenwick/CLD_err.log";
    EXPECT_EQ(reporter.LastLogFile(), expected);
    EXPECT_EQ(ReadFile(expected),
              "12/06/2026 20:15:03 | Caldren Formula Calculator | Error 76 | Path not found | MainMod.RunSilent\r\n");
}

TEST_F(ErrorReporterTest, ReadOnlyLogFolderFallsBackToThePerUserFolder) {
    ::chmod(dir.path().c_str(), 0555);
    const auto out = testsupport::RunUnprivileged([&] {
        ErrorReporter r(presenter);
        r.ReportOrLog(70, "Permission denied", "MainMod.RunSilent", true, dir.path(), kApp);
        return r.LastLogFile();
    });
    EXPECT_EQ(out.result, config.path() + "/Orlenwick/CLD_err.log");
    EXPECT_FALSE(std::filesystem::exists(dir / "CLD_err.log"));
}

TEST_F(ErrorReporterTest, PerUserFolderFollowsHomeWithoutXdgConfigHome) {
    TempDir home;
    ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv homeEnv("HOME", home.path());
    EXPECT_EQ(ErrorReporter::PerUserLogFolder(), home.path() + "/.config/Orlenwick");
}

struct FlattenCase {
    const char* name;
    std::string description, location, expectedTail;
};

std::ostream& operator<<(std::ostream& os, const FlattenCase& c) { return os << c.name; }

class LogLineTest : public ::testing::TestWithParam<FlattenCase> {};

TEST_P(LogLineTest, EveryErrorStaysOnOneLine) {
    ScopedEnv tz("TZ", std::string("UTC"));
    ::tzset();
    const auto& c = GetParam();
    const std::string line = ErrorReporter::FormatLogLine(FixedTime(), 5, c.description, c.location, kApp);
    EXPECT_EQ(line, "12/06/2026 20:15:03 | Caldren Formula Calculator | Error 5 | " + c.expectedTail);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogLineTest,
    ::testing::Values(
        FlattenCase{"PlainChain", "Bad", "A.B\rC.D", "Bad | A.B <- C.D"},
        FlattenCase{"CrLfInChain", "Bad", "A.B\r\nC.D", "Bad | A.B <- C.D"},
        FlattenCase{"LeadingCr", "Bad", "\rC.D", "Bad |  <- C.D"},
        FlattenCase{"LineFeedInDescription", "two\nlines", "X", "two lines | X"},
        FlattenCase{"CrInDescription", "two\rlines", "X", "two lines | X"},
        FlattenCase{"TabsAndControls", std::string("a\tb\x01" "c\x7F"), "X", "a b c  | X"},
        FlattenCase{"Utf8Kept", "Caf\xC3\xA9", "\xE2\x82\xAC", "Caf\xC3\xA9 | \xE2\x82\xAC"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ErrorReporterFormat, LongFieldsAreCutAtACharacterBoundary) {
    std::string longText;
    for (int i = 0; i < 3000; ++i) longText += "\xC3\xA9";  // 6000 bytes of "é"
    const std::string line = ErrorReporter::FormatLogLine(FixedTime(), 1, longText, "L", kApp);
    const auto start = line.find("Error 1 | ") + 10;
    const auto end = line.find(" | L");
    const std::string field = line.substr(start, end - start);
    EXPECT_EQ(field, std::string(longText, 0, 4000) + "...");
}

TEST(ErrorReporterFormat, MessageForAPresenter) {
    EXPECT_EQ(ErrorReporter::FormatMessage(53, "File not found", "File Operations.Open File\rCaldren.Fetch",
                                           kApp, true),
              "An error has occurred in the Caldren Formula Calculator.\n\n"
              "Error Number: 53\n"
              "Description: File not found\n"
              "Location: File Operations.Open File\nCaldren.Fetch\n\n"
              "Do you want to save your data before the program shuts down?");
}

TEST(ErrorReporterFormat, StderrPresenterWritesAndNeverAsks) {
    std::string written;
    StderrPresenter p([&](const std::string& text) { written += text; });
    EXPECT_FALSE(p.ShowAndAsk(7, "Out of memory", "A.B", kApp));
    EXPECT_EQ(written,
              "An error has occurred in the Caldren Formula Calculator.\n\n"
              "Error Number: 7\nDescription: Out of memory\nLocation: A.B\n");
}

TEST(ErrorReporterConcurrency, ConcurrentWritersNeverMixLines) {
    TempDir dir;
    const std::string log = dir / "CLD_err.log";
    constexpr int kChildren = 4;
    constexpr int kLines = 200;
    std::vector<pid_t> pids;
    for (int c = 0; c < kChildren; ++c) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ErrorReporter r;
            const std::string location = "Child" + std::to_string(c) + "." + std::string(300, 'x');
            for (int i = 0; i < kLines; ++i)
                r.ReportOrLog(1000 + i, "Child error", location, true, log, kApp);
            ::_exit(0);
        }
        pids.push_back(pid);
    }
    for (const pid_t pid : pids) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string text = ReadFile(log);
    std::size_t lines = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(pos, end - pos);
        EXPECT_NE(line.find("| Child error | Child"), std::string::npos) << line;
        EXPECT_EQ(line.substr(line.size() - 300), std::string(300, 'x'));
        ++lines;
        pos = end + 2;
    }
    EXPECT_EQ(lines, static_cast<std::size_t>(kChildren * kLines));
}

}  // namespace
