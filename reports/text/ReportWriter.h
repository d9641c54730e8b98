// How the report layouts write (internal to the report builders): ReportWriter sends a
// report's chunks to its sink, each with the line count taken from its text, and the
// pieces every layout builds its lines from.
#pragma once

#include "Reports.h"

#include <string>
#include <string_view>

namespace Reports {

inline constexpr const char* kCrLf = "\r\n";

// The text followed by CR LF.
inline std::string Line(std::string_view text) { return std::string(text) + kCrLf; }

// A value field of 12 characters, right-aligned.
inline std::string ValueField(const std::string& formatted) { return RightAlign(formatted, 12); }

// The CR LF line ends a text holds: the printed lines a chunk takes on its page.
int LineEnds(std::string_view text);

// The month label pieces of a month row: "Jan" and "2003" from "01/15/2003".
inline std::string MonthName(const std::string& monthDate) {
    std::string mm = monthDate.substr(0, 2);
    MonthAbbrev(mm);
    return mm;
}
inline std::string YearOf(const std::string& monthDate) {
    return monthDate.size() >= 4 ? monthDate.substr(monthDate.size() - 4) : monthDate;
}

// Calls fn(month) for every month of the collection, in collection order.
template <class Fn>
void ForEachMonth(const vesmora::_Caldren& calc, Fn&& fn) {
    const auto months = calc.get_colMonths();
    if (!months) return;
    const auto e = months->get_NewEnum();
    if (!e) return;
    for (auto m = e->Next(); m; m = e->Next()) fn(static_cast<const vesmora::_Monthly&>(*m));
}

// One report on its way to the sink: begun when constructed, then its chunks in order,
// then End. Every chunk carries the report's headings.
class ReportWriter {
public:
    ReportWriter(ReportSink& sink, const ReportStart& start);

    // A chunk; its line count is the number of CR LF line ends it holds.
    void Send(std::string_view chunk) { Send(chunk, 0); }
    // A chunk whose line count, as the report's printed pages have always taken it, differs
    // from its line ends by `difference` lines. Page breaks depend on it.
    void Send(std::string_view chunk, int difference);
    // A page step: `lines` lines asked for with nothing to print, then a new page with the
    // headings (in Print mode; View and File write nothing).
    void PageStep(int lines);
    void End();

private:
    ReportSink& m_sink;
    ReportHeadings m_headings;
};

// The Summary in its two steps, for the report run, which renumbers the months between
// them (BuildReport): its start (caption and headings) and its body.
ReportStart SummaryStart(const vesmora::_Caldren& calc, const std::string& currentFile);
void WriteSummaryBody(const vesmora::_Caldren& calc, ReportWriter& report, Wording wording);

}  // namespace Reports
