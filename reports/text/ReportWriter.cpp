#include "ReportWriter.h"

namespace Reports {

int LineEnds(std::string_view text) {
    int n = 0;
    for (auto p = text.find(kCrLf); p != std::string_view::npos; p = text.find(kCrLf, p + 2)) ++n;
    return n;
}

ReportWriter::ReportWriter(ReportSink& sink, const ReportStart& start)
    : m_sink(sink), m_headings(start.headings) {
    m_sink.BeginReport(start);
}

void ReportWriter::Send(std::string_view chunk, int difference) {
    m_sink.PrintOrDisplay(chunk, LineEnds(chunk) + difference, m_headings);
}

void ReportWriter::PageStep(int lines) {
    m_sink.PrintOrDisplay("", lines, m_headings);
    m_sink.PrintOrDisplay("", kNewPage, m_headings);
}

void ReportWriter::End() { m_sink.EndReport(); }

}  // namespace Reports
