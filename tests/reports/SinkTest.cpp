// The View heading, the recording sink's events, and the file sink's append: created when
// missing, never truncated, the whole report or nothing, file errors by number.
#include "ReportSink.h"
#include "ReportsTest.h"

#include <sys/resource.h>
#include <csignal>
#include <fstream>

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
    std::string dir = std::filesystem::temp_directory_path().string() + "/sink-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir.data()));
    const std::string out = dir + "/out.txt";
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
    EXPECT_EQ(AppendError(dir + "/no/such/out.txt", {"x"}), "76 FileSink");
    EXPECT_EQ(AppendError(dir, {"x"}).substr(0, 2), "75");  // a folder
    EXPECT_EQ(AppendError("/dev/null", {"to nowhere"}), "none");
    if (::geteuid() != 0) {
        std::filesystem::permissions(out, std::filesystem::perms::owner_read);
        EXPECT_EQ(AppendError(out, {"x"}), "70 FileSink");
        std::filesystem::permissions(out, std::filesystem::perms::owner_all);
    }
    // A write that fails part-way (the file size limit) leaves the file as it was.
    struct rlimit old {
    }, lim{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    lim = old;
    lim.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
    EXPECT_EQ(AppendError(out, {std::string(10000, 'x')}), "61 FileSink");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadFile(out), "abc\r\ndef\r\n\r\nsecond\r\nmore\r\n");
    std::filesystem::remove_all(dir);
}

}  // namespace
