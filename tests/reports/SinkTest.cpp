// The View heading, the recording sink's events, and the file sink's append: created when
// missing, never truncated, the whole report or nothing, file errors by number.
#include "../TestSupport.h"
#include "ReportSink.h"
#include "ReportsTest.h"

#include <sys/resource.h>
#include <csignal>

namespace {

using namespace Reports;
using reportstest::ReadFile;

void SendReport(ReportSink& sink, const std::vector<std::string>& chunks) {
    ReportStart start;
    sink.BeginReport(start);
    for (const auto& c : chunks) sink.PrintOrDisplay(c, 1, start.headings);
    sink.EndReport();
}

// "number source" of the error a report to `path` raises, "none" when it raises none.
std::string AppendError(const std::string& path, const std::vector<std::string>& chunks) {
    try {
        FileSink sink(path);
        SendReport(sink, chunks);
    } catch (const activation::ComError& e) {
        return std::to_string(e.Number()) + " " + e.Source();
    }
    return "none";
}

TEST(Sinks, ViewHeadingAndRecordedEvents) {
    EXPECT_EQ(ViewHeadingText({"Acme", "Line two", "Summary\r\n\r\n  Year Ending 12/31/2002"}),
              "  Acme\r\n  Line two\r\n  Summary\r\n\r\n  Year Ending 12/31/2002\r\n");
    RecordingSink sink;
    sink.BeginReport(ReportStart{ReportKind::Detailed, "caption", {}});
    sink.PrintOrDisplay("a", 3, {});
    sink.PrintOrDisplay("", kNewPage, {});
    sink.EndReport();
    sink.EndPrintJob();
    sink.AbortReport();
    EXPECT_EQ(sink.Events(), (std::vector<std::string>{"begin:Detailed", "chunk:3", "chunk:-300",
                                                       "end", "endjob", "abort"}));
    EXPECT_EQ(sink.Reports().at(0).Body() + std::to_string(sink.PrintJobsEnded()), "a1");
    EXPECT_TRUE(sink.Reports()[0].ended &&
                !sink.Reports()[0].aborted);  // an abort after the end changes nothing
}

TEST(Sinks, FileSinkAppendsWholeReports) {
    const testsupport::TempDir dir;
    const std::string out = dir / "out.txt";
    FileSink sink(out);
    ReportStart start;
    sink.BeginReport(start);
    sink.PrintOrDisplay("chunk", 1, start.headings);
    EXPECT_FALSE(std::filesystem::exists(out));  // nothing before the end
    sink.AbortReport();
    SendReport(sink, {"abc\r\n", "def"});  // created, starting from an empty buffer
    SendReport(sink, {});
    EXPECT_EQ(AppendError(out, {"second", "\r\nmore"}), "none");
    EXPECT_EQ(ReadFile(out), "abc\r\ndef\r\n\r\nsecond\r\nmore\r\n");
    EXPECT_EQ(AppendError(dir / "no/such/out.txt", {"x"}), "76 FileSink");
    EXPECT_EQ(AppendError(dir.path(), {"x"}).substr(0, 2), "75");  // a folder
    EXPECT_EQ(AppendError("/dev/null", {"to nowhere"}), "none");
    // As an unprivileged user, so that file modes bind: a read-only file is refused; a write
    // that fails part-way (the file size limit) leaves the file as it was.
    ::chmod(out.c_str(), 0444);
    EXPECT_EQ(testsupport::RunUnprivileged([&] { return AppendError(out, {"x"}); }),
              "R70 FileSink");
    ::chmod(out.c_str(), 0666);
    EXPECT_EQ(testsupport::RunUnprivileged([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                  return AppendError(out, {std::string(10000, 'x')});
              }),
              "R61 FileSink");
    EXPECT_EQ(ReadFile(out), "abc\r\ndef\r\n\r\nsecond\r\nmore\r\n");
}

}  // namespace
