// The error reporter: which operation asks, which shows, where the batch log line goes,
// and the log line's exact text.

#include <errorreporter/ErrorReporter.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

using errorreporter::ErrorPresenter;
using errorreporter::ErrorReporter;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

const std::string kApp = "Caldren Formula Calculator";
const std::string kLine = "12/06/2026 20:15:03 | Caldren Formula Calculator | Error ";

// 12/06/2026 20:15:03 UTC.
std::chrono::system_clock::time_point FixedTime() {
    return std::chrono::system_clock::from_time_t(1796588103);
}

class FakePresenter : public ErrorPresenter {
public:
    bool answer = false;
    std::vector<std::string> calls;
    bool ShowAndAsk(long n, const std::string& d, const std::string& l,
                    const std::string& a) override {
        Show(n, d, l, a);
        calls.back().insert(0, "ask ");
        return answer;
    }
    void Show(long n, const std::string& d, const std::string& l, const std::string& a) override {
        calls.push_back(std::to_string(n) + " " + d + " " + l + " " + a);
    }
};

class ErrorReporterTest : public ::testing::Test {
protected:
    TempDir dir, config;
    std::shared_ptr<FakePresenter> presenter = std::make_shared<FakePresenter>();
    ErrorReporter reporter{presenter};

    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        reporter.SetClock(FixedTime);
    }
};

TEST_F(ErrorReporterTest, OnlyTheBatchFlagTurnsAQuestionIntoALogLine) {
    const std::string log = dir / "CLD_err.log";
    presenter->answer = true;
    EXPECT_TRUE(reporter.ReportAndAsk(13, "Type mismatch", "MainMod.IsSilent\rx", kApp));
    reporter.ReportError(11, "Division by zero", "ControlExtend.TextChg", kApp);
    EXPECT_TRUE(
        reporter.ReportOrLog(53, "File not found", "File Operations.Open File", false, log, kApp));
    EXPECT_EQ(presenter->calls, (std::vector<std::string>{
                                    "ask 13 Type mismatch MainMod.IsSilent\rx " + kApp,
                                    "11 Division by zero ControlExtend.TextChg " + kApp,
                                    "ask 53 File not found File Operations.Open File " + kApp}));
    EXPECT_FALSE(std::filesystem::exists(log));
    // Batch: nothing asked, "no" answered, one line appended after what was there.
    testsupport::WriteFile(log, "earlier line\r\n");
    EXPECT_FALSE(reporter.ReportOrLog(53, "File not found",
                                      "MainMod.RunSilent\rCaldren.Fetch\rProfileStore.ReadEntry",
                                      true, log, kApp));
    reporter.ReportOrLog(6, "Overflow", "SummaryReport.RunSummReport", true, log, kApp);
    EXPECT_EQ(presenter->calls.size(), 3u);
    EXPECT_EQ(ReadFile(log), "earlier line\r\n" + kLine +
                                 "53 | File not found | MainMod.RunSilent <- Caldren.Fetch <- "
                                 "ProfileStore.ReadEntry\r\n" +
                                 kLine + "6 | Overflow | SummaryReport.RunSummReport\r\n");
    EXPECT_EQ(reporter.LastLogFile(), log);
}

// A row of data/errorreporter.cases, without its kind; shown by its name.
struct Row {
    std::vector<std::string> fields;
    const std::string& operator[](std::size_t i) const { return fields.at(i); }
};
std::ostream& operator<<(std::ostream& os, const Row& row) { return os << row[0]; }

// The rows of one kind ("place" or "line").
std::vector<Row> Rows(const std::string& kind) {
    std::vector<Row> rows;
    for (auto& row : testsupport::Rows(CALDREN_TEST_DATA "/errorreporter.cases"))
        if (row[0] == kind) rows.push_back({{row.begin() + 1, row.end()}});
    return rows;
}
const auto kName = [](const auto& p) { return p.param[0]; };

// Where the line goes, for the log path a row lays out in the program folder; run as an
// unprivileged user, so that a read-only folder binds.
class LogPlace : public ErrorReporterTest, public ::testing::WithParamInterface<Row> {};

TEST_P(LogPlace, LineGoesToTheFirstPlaceThatIsAPlainWritableFile) {
    const std::string folder = dir / "program", row = GetParam()[0], log = folder + "/CLD_err.log";
    ::mkdir(folder.c_str(), 0777);
    ::chmod(folder.c_str(), row == "ReadOnlyFolder" ? 0555 : 0777);
    if (row == "LinkIsNotFollowed")
        (void)::symlink((folder + "/elsewhere.txt").c_str(), log.c_str());
    if (row == "PipeIsNeverWaitedFor") ::mkfifo(log.c_str(), 0666);
    if (row == "UnderAPlainFile") testsupport::WriteFile(folder + "/plain", "x");
    if (row == "PastTheFileSizeLimit") {
        testsupport::WriteFile(log, std::string(4000, 'x'));
        ::chmod(log.c_str(), 0666);
    }
    const std::string given = row == "UnderAPlainFile"   ? folder + "/plain/x.log"
                              : row == "FolderIsRefused" ? folder
                                                         : log;
    const std::string result = testsupport::RunUnprivileged([&] {
        // Standard error says why the log given was passed over.
        std::FILE* err = std::tmpfile();
        ::dup2(::fileno(err), 2);
        const rlimit limit{4096, 4096};
        if (row == "PastTheFileSizeLimit") ::setrlimit(RLIMIT_FSIZE, &limit);
        ErrorReporter r(presenter);
        r.SetClock(FixedTime);
        r.ReportOrLog(70, "Permission denied", "MainMod.RunSilent", true, given, kApp);
        std::string told(512, '\0');
        told.resize(::pread(::fileno(err), told.data(), told.size(), 0));
        const bool says = told.rfind("The error log " + given + " cannot be written: ", 0) == 0;
        return says == (GetParam()[1] == "per-user") ? r.LastLogFile() : "stderr: " + told;
    });
    const std::string expected =
        GetParam()[1] == "per-user" ? config.path() + "/Orlenwick/CLD_err.log" : log;
    EXPECT_EQ(result, "R" + expected);
    EXPECT_EQ(ReadFile(expected), kLine + "70 | Permission denied | MainMod.RunSilent\r\n");
}

INSTANTIATE_TEST_SUITE_P(Rows, LogPlace, ::testing::ValuesIn(Rows("place")), kName);

class LogLineTest : public ::testing::TestWithParam<Row> {};

TEST_P(LogLineTest, EveryErrorStaysOnOneLine) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const Row& c = GetParam();
    EXPECT_EQ(ErrorReporter::FormatLogLine(FixedTime(), 5, testsupport::Unescape(c[1]),
                                           testsupport::Unescape(c[2]), kApp),
              kLine + "5 | " + testsupport::Unescape(c[3]));
}

INSTANTIATE_TEST_SUITE_P(Cases, LogLineTest, ::testing::ValuesIn(Rows("line")), kName);

TEST(ErrorReporterConcurrency, ConcurrentWritersNeverMixLines) {
    TempDir dir;
    const std::string log = dir / "CLD_err.log";
    constexpr int kChildren = 4, kLines = 200;
    std::vector<pid_t> pids;
    for (int c = 0; c < kChildren; ++c) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ErrorReporter r;
            for (int i = 0; i < kLines; ++i)
                r.ReportOrLog(1000 + i, "Child error", "Child." + std::string(300, 'x'), true, log,
                              kApp);
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
    const std::string tail = "| Child error | Child." + std::string(300, 'x');
    std::size_t lines = 0;
    for (std::size_t pos = 0, end; pos < text.size(); pos = end + 2, ++lines) {
        end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        ASSERT_GE(end - pos, tail.size());
        EXPECT_EQ(text.substr(end - tail.size(), tail.size()), tail) << lines;
    }
    EXPECT_EQ(lines, static_cast<std::size_t>(kChildren * kLines));
}

}  // namespace
