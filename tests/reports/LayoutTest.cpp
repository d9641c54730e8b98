// The three reports on the engine: the worked examples against hand-laid files, with their
// chunks (line counts and line ends), captions and headings, and the lines of data/layouts.txt.
#include "ReportsTest.h"

namespace {

using namespace reportstest;

TEST(Layouts, Table) {
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_REPORTS_DATA "/layouts.txt")) {
        const bool contains = row[0] == "contains";
        const std::string report = contains ? row[1] : row[0];
        auto c = Analysis(contains ? row[2] : row[1]);
        if (!contains && report.rfind("Inputs", 0) != 0)
            c->get_colMonths()->get_Item(1L)->put_MonthDate("7/15/1999");
        const RecordingSink::Report r = Build(report, *c);
        if (contains) {
            EXPECT_NE(r.Body().find(row[3]), std::string::npos) << row.where;
            continue;
        }
        EXPECT_TRUE(SameBytes(Expected(row[2]), r.Body() + "\r\n")) << row.where;
        std::string chunks;
        for (const auto& chunk : r.chunks) {
            const auto ends = std::count(chunk.text.begin(), chunk.text.end(), '\n');
            chunks += (chunks.empty() ? "" : " ") + std::to_string(chunk.lines) + "/" +
                      std::to_string(ends);
            EXPECT_TRUE(chunk.lines != Reports::kNewPage || chunk.text.empty()) << row.where;
            EXPECT_EQ(chunk.headings.h1 + chunk.headings.h2 + chunk.headings.h3,
                      r.start.headings.h1 + r.start.headings.h2 + r.start.headings.h3);
        }
        EXPECT_EQ(chunks, row[3]) << row.where;
        EXPECT_EQ(r.start.caption, row[4]) << row.where;
        EXPECT_EQ(r.start.headings.h1 + "|" + r.start.headings.h2 + "|" + r.start.headings.h3,
                  "Acme Castings, Inc.|Accumulated Earnings Analysis|" + row[5]);
        // The months are renumbered from the year end, except by the Inputs report.
        if (report.rfind("Inputs", 0) != 0) {
            EXPECT_EQ(c->get_colMonths()->get_Item(1L)->get_MonthDate(), "01/15/2002") << row.where;
        }
    }
}

}  // namespace

// A batch run with headings: the run's heading, then each report after the heading block
// the viewer shows (the Detailed Analysis and the Summary as data/*_both.txt lay them out).
TEST(Layouts, BatchRunWithHeadings) {
    auto c = Analysis("both");
    std::string text =
        Reports::RunHeadingText("/data/acme.cld", c->get_EOYCurrent(), "12/07/2026 16:20:05");
    Reports::MemorySink sink(text, true);
    BuildNamed("Detailed", *c, sink);
    BuildNamed("Summary", *c, sink);
    EXPECT_TRUE(SameBytes(Expected("batch_headings.txt"), text));
}
