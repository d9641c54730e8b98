// The report text model: where a report builder's chunks go.
//
// A report builder (BuildSummReport, BuildDetailReport, BuildIPReport) only lays out text.
// It never knows the destination: it hands every piece of its report to a ReportSink, and
// the sink decides what happens to it. One sink stands for one destination of one report
// run (RunReports): the viewer windows (View), the printer (Print) or the batch output file
// (File). The same sink receives every report of the run, in the order they are built.
//
// Call sequence, for each report of the run:
//
//   BeginReport(start)                       once, before anything else of the report
//   PrintOrDisplay(chunk, lines, headings)   once per chunk, in order
//   EndReport()                              once, after the last chunk
//     or AbortReport()                       instead of EndReport when the builder failed
//
// and, in Print mode only, after all reports of one copy:
//
//   EndPrintJob()                            the end of the print job (line count -100)
//
// Chunks. A chunk is a piece of report text, lines separated by CR LF ("\r\n"). A chunk
// need not end with CR LF: the next chunk then continues the same line. Chunks are never
// split or changed by the builders' callers; the concatenation of all chunks of a report is
// the report body. A chunk may be empty (page steps of the Detailed Analysis report).
// Text is UTF-8; GetPrintLine's em dash is U+2014 (three bytes, one character).
//
// Line counts. Every chunk comes with the number of printed lines it is taken to occupy
// (1 to 40), on which the printed page layout depends (a chunk is never split across
// pages). Negative values are page commands, meaningful to the Print sink only:
//   kNewPage    (-300)  finish the current page (page number) and start a new one with the
//                       heading block; the chunk that comes with it is empty;
//   kEndReport  (-200)  finish the last page of the report; never passed to
//                       PrintOrDisplay: a sink receives it as EndReport();
//   kEndJob     (-100)  end the print job; received as EndPrintJob().
// A View or File sink ignores the line counts.
//
// Headings. Every chunk carries the report's three heading texts (name of the corporation,
// the second line, the report's own title; a title may itself hold CR LF, e.g. the
// Summary's "Summary\r\n\r\n  Year Ending 12/31/2002"). The Print sink prints them at the
// top of every page; the View sink writes them once at the top of the viewer text, as
// ViewHeadingText() lays them out; in File mode no heading lines are written.
//
// What each destination does (module Reports, PrintOrDisplay and the builder's end):
//
//   View   BeginReport: open a new (hidden) viewer window, set its caption, set its text to
//          ViewHeadingText(start.headings).  PrintOrDisplay: append the chunk to the
//          viewer text.  EndReport: show the viewer (modeless).
//   Print  BeginReport: switch the printer to the report font, keeping the old font in the
//          sink (SetNewFont).  PrintOrDisplay: PrnManager2(lines, headings), then print the
//          chunk unchanged with no line end added.  EndReport: PrnManager2(-200) (page
//          number, page end, line counter to 0), then SetOldFont.  EndPrintJob:
//          PrnManager2(-100), end the document; later output starts a new print job.
//   File   BeginReport: empty the buffer.  PrintOrDisplay: append the chunk to the buffer.
//          EndReport: append buffer + CR LF to the batch output file in one piece (FileSink).
//          AbortReport: drop the buffer; nothing of the report reaches the file.
//
// Errors. A sink reports a failure by throwing activation::ComError (number, source,
// description); the builder's runner (RunSummReport etc.) catches it and takes the
// report's error path, then calls AbortReport() (which must not throw).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Reports {

// ReportMode: 1 View (viewer window), 2 Print (printer), 3 File (batch output file).
enum ReportMode : int { kView = 1, kPrint = 2, kFile = 3 };

// Page commands carried as line counts.
constexpr int kNewPage = -300;
constexpr int kEndReport = -200;
constexpr int kEndJob = -100;

// The three reports, and the comparison of several years (ReportCompare.h).
enum class ReportKind { Inputs, Summary, Detailed, Compare };

// The three heading texts of a report, fixed by the builder at its start.
struct ReportHeadings {
    std::string h1;  // the engine's sName
    std::string h2;  // the engine's Line2
    std::string h3;  // the report's own title ("Summary\r\n\r\n  Year Ending mm/dd/yyyy",
                     // "Available Working Capital", "Inputs - Caldren Formula Calculator")
};

// What a report tells its sink at its start.
struct ReportStart {
    ReportKind kind = ReportKind::Summary;
    // Caption of the viewer window: "Summary Report - " + current file name,
    // "Detailed Analysis Report - " + current file name, "Inputs Report".
    std::string caption;
    ReportHeadings headings;
};

// The View mode heading: two blanks, heading, CR LF, three times.
std::string ViewHeadingText(const ReportHeadings& headings);

// What a batch run with report headings ("/headings") writes before its reports, so that a
// report file holding many runs reads back run by run: a line of 60 "=" that parts the run
// from the one before, the data file's name, the current year end and the run's date and
// time ("12/07/2026 16:20:05"), then an empty line. Each report then begins with the heading
// block the viewer shows (ViewHeadingText).
std::string RunHeadingText(const std::string& dataFile, const std::string& yearEnd,
                           const std::string& when);

class ReportSink {
public:
    virtual ~ReportSink() = default;

    virtual void BeginReport(const ReportStart& start) = 0;
    // One chunk with its line count (1..40, or kNewPage with an empty chunk) and the
    // report's headings.
    virtual void PrintOrDisplay(std::string_view chunk, int lines,
                                const ReportHeadings& headings) = 0;
    virtual void EndReport() = 0;
    // The builder failed: what was already shown or printed stays; what was only
    // collected (File mode) is dropped. Also called when the failure came before
    // BeginReport (no report open): the sink then does nothing. Must not throw.
    virtual void AbortReport() noexcept {}
    // Print mode: end of one copy's print job. Other sinks ignore it.
    virtual void EndPrintJob() {}
};

// File mode: collects the whole report and at its end appends it, followed by CR LF, to
// the batch output file. The file is created when missing and never truncated. The
// append is all or nothing: the file is opened with O_APPEND and written in one write
// loop; if any write fails, the file is truncated back to the length it had before, so a
// failure leaves no partial report (a pipe or terminal such as /dev/stdout is written the
// same way but cannot be taken back). Nothing is written before the report's end, so a
// report that fails while being built leaves the file untouched. Errors are thrown as
// ComError with the source "FileSink" and the number of the platform's file error
// (57 device I/O error, 61 disk full, 70 permission denied, 75 path/file access error,
// 76 path not found).
class FileSink : public ReportSink {
public:
    explicit FileSink(std::string outputPath);

    void BeginReport(const ReportStart& start) override;
    void PrintOrDisplay(std::string_view chunk, int lines, const ReportHeadings& headings) override;
    void EndReport() override;
    void AbortReport() noexcept override;

    const std::string& OutputPath() const { return m_path; }

private:
    std::string m_path;
    std::string m_buffer;
};

// File mode into memory: each completed report, followed by CR LF, is added to a text the
// caller owns; a report that fails (AbortReport) adds nothing. A batch run builds all its
// reports this way before it writes anything, then appends the text in one piece. With
// `headings` each report is preceded by the heading block the viewer shows.
class MemorySink : public ReportSink {
public:
    explicit MemorySink(std::string& text, bool headings = false)
        : m_text(text), m_withHeadings(headings) {}

    void BeginReport(const ReportStart& start) override;
    void PrintOrDisplay(std::string_view chunk, int lines, const ReportHeadings& headings) override;
    void EndReport() override;
    void AbortReport() noexcept override;

private:
    std::string& m_text;
    std::string m_buffer;
    bool m_withHeadings = false;
    ReportHeadings m_headings;
};

// Appends text to a file as FileSink does (created when missing, never truncated, all or
// nothing). Throws ComError as described above.
void AppendWholeText(const std::string& path, std::string_view text);

// For tests and tools: records everything a builder sends, keeping chunk boundaries.
class RecordingSink : public ReportSink {
public:
    struct Chunk {
        std::string text;
        int lines = 0;
        ReportHeadings headings;
    };
    struct Report {
        ReportStart start;
        std::vector<Chunk> chunks;
        bool ended = false;    // EndReport was called
        bool aborted = false;  // AbortReport was called
        // All chunks joined: the body as the File sink would collect it.
        std::string Body() const;
    };

    void BeginReport(const ReportStart& start) override;
    void PrintOrDisplay(std::string_view chunk, int lines, const ReportHeadings& headings) override;
    void EndReport() override;
    void AbortReport() noexcept override;
    void EndPrintJob() override;

    const std::vector<Report>& Reports() const { return m_reports; }
    int PrintJobsEnded() const { return m_printJobs; }
    // The event sequence as short text, e.g. "begin:Summary chunk:18 chunk:2 end".
    const std::vector<std::string>& Events() const { return m_events; }

private:
    std::vector<Report> m_reports;
    std::vector<std::string> m_events;
    int m_printJobs = 0;
};

}  // namespace Reports
