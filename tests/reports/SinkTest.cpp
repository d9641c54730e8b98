// FileSink's append (created when missing, never truncated, whole report or nothing),
// RecordingSink, and the View heading.
#include "FakeEngine.h"
#include "ReportSink.h"
#include "Reports.h"
#include "TestSupport.h"

#include <activation/Com.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <csignal>

using namespace Reports;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

void SendReport(ReportSink& sink, const std::vector<std::string>& chunks) {
    ReportStart start;
    sink.BeginReport(start);
    for (const auto& c : chunks) sink.PrintOrDisplay(c, 1, start.headings);
    sink.EndReport();
}

TEST(ViewHeading, TwoBlanksHeadingCrLfThreeTimes) {
    ReportHeadings h{"Acme", "Line two", "Summary\r\n\r\n  Year Ending 12/31/2002"};
    EXPECT_EQ("  Acme\r\n  Line two\r\n  Summary\r\n\r\n  Year Ending 12/31/2002\r\n",
              ViewHeadingText(h));
    EXPECT_EQ("  \r\n  \r\n  \r\n", ViewHeadingText(ReportHeadings{}));
}

TEST(FileSinkAppend, CreatesAMissingFile) {
    TempDir dir;
    const auto out = dir.Path() / "out.txt";
    FileSink sink(out.string());
    SendReport(sink, {"abc\r\n", "def"});
    EXPECT_EQ("abc\r\ndef\r\n", ReadFile(out));
}

TEST(FileSinkAppend, NeverTruncates) {
    TempDir dir;
    const auto out = dir.Path() / "out.txt";
    { std::ofstream(out, std::ios::binary) << "earlier run\r\n"; }
    FileSink sink(out.string());
    SendReport(sink, {"first"});
    SendReport(sink, {"second", "\r\nmore"});
    EXPECT_EQ("earlier run\r\nfirst\r\nsecond\r\nmore\r\n", ReadFile(out));
}

TEST(FileSinkAppend, EmptyReportIsOneLineEnd) {
    TempDir dir;
    const auto out = dir.Path() / "out.txt";
    FileSink sink(out.string());
    SendReport(sink, {});
    EXPECT_EQ("\r\n", ReadFile(out));
}

TEST(FileSinkAppend, NothingReachesTheFileBeforeTheEnd) {
    TempDir dir;
    const auto out = dir.Path() / "out.txt";
    FileSink sink(out.string());
    ReportStart start;
    sink.BeginReport(start);
    sink.PrintOrDisplay("chunk", 1, start.headings);
    EXPECT_FALSE(std::filesystem::exists(out));
    sink.AbortReport();
    EXPECT_FALSE(std::filesystem::exists(out));
    // A later report starts from an empty buffer.
    SendReport(sink, {"next"});
    EXPECT_EQ("next\r\n", ReadFile(out));
}

TEST(FileSinkAppend, MissingFolderIsPathNotFound) {
    TempDir dir;
    FileSink sink((dir.Path() / "no" / "such" / "out.txt").string());
    try {
        SendReport(sink, {"x"});
        FAIL() << "no error";
    } catch (const activation::ComError& e) {
        EXPECT_EQ(76, e.Number());
        EXPECT_EQ("FileSink", e.Source());
        EXPECT_NE(std::string::npos, e.Description().find("Path not found"));
    }
}

TEST(FileSinkAppend, FolderAsOutputIsRefused) {
    TempDir dir;
    FileSink sink(dir.Path().string());
    EXPECT_THROW(SendReport(sink, {"x"}), activation::ComError);
}

TEST(FileSinkAppend, DeviceIsWrittenToo) {
    FileSink sink("/dev/null");
    EXPECT_NO_THROW(SendReport(sink, {"to nowhere"}));
}

TEST(FileSinkAppend, ReadOnlyFileIsRefusedAndUnchanged) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
    TempDir dir;
    const auto out = dir.Path() / "out.txt";
    { std::ofstream(out, std::ios::binary) << "keep\r\n"; }
    std::filesystem::permissions(out, std::filesystem::perms::owner_read);
    FileSink sink(out.string());
    try {
        SendReport(sink, {"x"});
        FAIL() << "no error";
    } catch (const activation::ComError& e) {
        EXPECT_EQ(70, e.Number());
    }
    EXPECT_EQ("keep\r\n", ReadFile(out));
}

// A write that fails part-way (file size limit) leaves the file as it was.
TEST(FileSinkAppend, FailedWriteLeavesNoPartialReport) {
    TempDir dir;
    const auto out = dir.Path() / "out.txt";
    { std::ofstream(out, std::ios::binary) << "earlier\r\n"; }
    struct rlimit old {};
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &old));
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old;
    lim.rlim_cur = 4096;
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &lim));
    bool threw = false;
    try {
        AppendWholeText(out.string(), std::string(10000, 'x'));
    } catch (const activation::ComError& e) {
        threw = true;
        EXPECT_EQ(61, e.Number());
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ("earlier\r\n", ReadFile(out));
}

TEST(RecordingSinkTest, KeepsChunksAndEvents) {
    RecordingSink sink;
    ReportStart start;
    start.kind = ReportKind::Detailed;
    sink.BeginReport(start);
    sink.PrintOrDisplay("a", 3, start.headings);
    sink.PrintOrDisplay("", kNewPage, start.headings);
    sink.EndReport();
    sink.EndPrintJob();
    sink.AbortReport();
    ASSERT_EQ(1u, sink.Reports().size());
    EXPECT_EQ(2u, sink.Reports()[0].chunks.size());
    EXPECT_EQ("a", sink.Reports()[0].Body());
    EXPECT_TRUE(sink.Reports()[0].ended);
    EXPECT_FALSE(sink.Reports()[0].aborted);
    EXPECT_EQ(1, sink.PrintJobsEnded());
    EXPECT_EQ((std::vector<std::string>{"begin:Detailed", "chunk:3", "chunk:-300", "end", "endjob",
                                        "abort"}),
              sink.Events());
}

}  // namespace
