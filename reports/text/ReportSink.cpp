#include "ReportSink.h"

#include <activation/Com.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace Reports {

std::string ViewHeadingText(const ReportHeadings& h) {
    return "  " + h.h1 + "\r\n" + "  " + h.h2 + "\r\n" + "  " + h.h3 + "\r\n";
}

std::string RunHeadingText(const std::string& dataFile, const std::string& yearEnd,
                           const std::string& when) {
    return std::string(60, '=') + "\r\n" + "  Data File:   " + dataFile + "\r\n" +
           "  Year Ending: " + yearEnd + "\r\n" + "  Run:         " + when + "\r\n\r\n";
}

// ---- FileSink ------------------------------------------------------------------------

namespace {

[[noreturn]] void ThrowFileError(int err, const std::string& path) {
    long number = activation::FileErrorNumber(err);
    std::string text = activation::StandardErrorText(number);
    throw activation::ComError(number, "FileSink",
                               text + " (" + path + ": " + std::strerror(err) + ")");
}

}  // namespace

void AppendWholeText(const std::string& path, std::string_view text) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) ThrowFileError(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        ThrowFileError(err, path);
    }
    // A regular file can be cut back to its length before the report; a pipe or terminal
    // (/dev/stdout) cannot, but is written all the same.
    const bool regular = S_ISREG(st.st_mode);
    const off_t original = st.st_size;
    const char* p = text.data();
    size_t left = text.size();
    int err = 0;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        if (n == 0) {
            err = EIO;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (err != 0) {
        // Take back whatever part of the report reached the file.
        while (regular && ::ftruncate(fd, original) != 0 && errno == EINTR) {}
        ::close(fd);
        ThrowFileError(err, path);
    }
    if (::close(fd) != 0 && errno != EINTR) {
        err = errno;
        while (regular && ::truncate(path.c_str(), original) != 0 && errno == EINTR) {}
        ThrowFileError(err, path);
    }
}

FileSink::FileSink(std::string outputPath) : m_path(std::move(outputPath)) {}

void FileSink::BeginReport(const ReportStart&) { m_buffer.clear(); }

void FileSink::PrintOrDisplay(std::string_view chunk, int, const ReportHeadings&) {
    m_buffer.append(chunk);
}

void FileSink::EndReport() {
    m_buffer += "\r\n";
    std::string text;
    text.swap(m_buffer);
    AppendWholeText(m_path, text);
}

void FileSink::AbortReport() noexcept { m_buffer.clear(); }

// ---- MemorySink -----------------------------------------------------------------------

void MemorySink::BeginReport(const ReportStart& start) {
    m_buffer.clear();
    m_headings = start.headings;
}

void MemorySink::PrintOrDisplay(std::string_view chunk, int, const ReportHeadings&) {
    m_buffer.append(chunk);
}

void MemorySink::EndReport() {
    if (m_withHeadings) m_text += ViewHeadingText(m_headings);
    m_text += m_buffer;
    m_text += "\r\n";
    m_buffer.clear();
}

void MemorySink::AbortReport() noexcept { m_buffer.clear(); }

// ---- RecordingSink -------------------------------------------------------------------

namespace {
const char* KindName(ReportKind k) {
    switch (k) {
        case ReportKind::Inputs:
            return "Inputs";
        case ReportKind::Summary:
            return "Summary";
        case ReportKind::Detailed:
            return "Detailed";
        case ReportKind::Compare:
            return "Compare";
    }
    return "?";
}
}  // namespace

std::string RecordingSink::Report::Body() const {
    std::string s;
    for (const Chunk& c : chunks) s += c.text;
    return s;
}

void RecordingSink::BeginReport(const ReportStart& start) {
    m_reports.push_back(Report{start, {}, false, false});
    m_events.push_back(std::string("begin:") + KindName(start.kind));
}

void RecordingSink::PrintOrDisplay(std::string_view chunk, int lines, const ReportHeadings& h) {
    if (m_reports.empty()) m_reports.push_back(Report{});
    m_reports.back().chunks.push_back(Chunk{std::string(chunk), lines, h});
    m_events.push_back("chunk:" + std::to_string(lines));
}

void RecordingSink::EndReport() {
    if (!m_reports.empty()) m_reports.back().ended = true;
    m_events.push_back("end");
}

void RecordingSink::EndPrintJob() {
    ++m_printJobs;
    m_events.push_back("endjob");
}

void RecordingSink::AbortReport() noexcept {
    try {
        if (!m_reports.empty() && !m_reports.back().ended) m_reports.back().aborted = true;
        m_events.push_back("abort");
    } catch (...) {}
}

}  // namespace Reports
