// The comparison of years on the engine: the reports of data/compare.txt against hand-laid
// files built from the worked examples (failed files and their notes, blocks of three
// columns, long names, the changes from year to year), failure texts, the changes of two
// figures, the order of the columns; the run of a batch.
#include "CompareRun.h"
#include "FigureChange.h"
#include "ReportCompare.h"
#include "ReportsTest.h"

#include <fstream>
#include <sstream>

namespace {

using namespace Reports;
using namespace reportstest;

ComPtr<_Caldren> NewCalc() { return activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren); }

const std::map<std::string, std::string> kSources = {
    {"2002", CALDREN_BATCH_DATA "/acme2002.cld"},
    {"2003", CALDREN_BATCH_DATA "/acme2003.CLD"},
    {"both", CALDREN_REPORTS_DATA "/acme-fy2003-both.CLD"},
    {"both2004", CALDREN_REPORTS_DATA "/acme-fy2004-both.cld"},
    {"zero", CALDREN_REPORTS_DATA "/zero_sales.cld"},
    {"missing", "/no/such/file.cld"}};

// A file of a comparison: source[,name[,year end]] (see data/compare.txt).
CompareFile File(const std::string& spec) {
    std::vector<std::string> part;
    std::istringstream in(spec);
    for (std::string p; std::getline(in, p, ',');) part.push_back(p);
    CompareFile f;
    if (part[0].rfind("failed:", 0) == 0) {
        f.failure = part[0].substr(7);
    } else {
        f = LoadCompareFile(NewCalc(), kSources.at(part[0]));
    }
    if (part.size() > 1) f.fileName = part[1];
    if (part.size() > 2) f.calc->put_EOYCurrent(part[2]);  // the edit that Load opened
    return f;
}

TEST(Compare, Tables) {
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_REPORTS_DATA "/compare.txt")) {
        std::string got;
        std::vector<CompareFile> files;
        std::istringstream in(row[0] == "report" || row[0] == "order" ? row[1] : "");
        for (std::string spec; std::getline(in >> std::ws, spec, ';');)
            files.push_back(File(spec.substr(0, spec.find_last_not_of(' ') + 1)));
        if (row[0] == "report") {
            RecordingSink sink;
            BuildCompareReport(files, sink);
            EXPECT_TRUE(SameBytes(Expected(row[2]), sink.Reports().at(0).Body() + "\r\n"))
                << row.where;
            for (const auto& c : sink.Reports().back().chunks)
                got += (got.empty() ? "" : " ") + std::to_string(c.lines);
        } else if (row[0] == "change") {
            const FigureChangeText change = FigureChange(row[1], row[2]);
            got = change.amount + "/" + change.percent;
        } else if (row[0] == "reason") {
            got = CompareFailureText(activation::ComError(std::stol(row[1]), row[2], row[3]));
        } else {
            for (const CompareFile* f : CompareOrder(files))
                got += (got.empty() ? "" : " ") + std::to_string(f - files.data());
        }
        EXPECT_EQ(got, row.fields.back()) << row.where;
    }
}

TEST(Compare, HeadingsFailuresAndRefusals) {
    RecordingSink sink;
    BuildCompareReport({File("2003"), File("2002")}, sink);
    const ReportStart& s = sink.Reports().at(0).start;
    EXPECT_EQ(
        s.caption + "|" + s.headings.h1 + "|" + s.headings.h2 + "|" + s.headings.h3,
        "Comparison Report|Acme Castings, Inc.|Accumulated Earnings Analysis|Comparison Of Years");
    const CompareFile zero = File("zero");
    EXPECT_EQ(zero.failure + " " + std::to_string(zero.errorNumber),
              "Could not be calculated: Net Sales is zero 11");
    EXPECT_EQ(LoadCompareFile(NewCalc(), CALDREN_REPORTS_DATA "/../../data/analysis/"
                                                              "worked_both_no_cogs.cld")
                  .failure,
              "Could not be calculated: Cost of Goods Sold is zero with the peak method");
    EXPECT_EQ(File("missing").failure + " " + std::to_string(File("missing").errorNumber),
              "Could not be loaded: the file does not exist 53");
    std::ofstream(Scratch("junk.cld"), std::ios::binary) << "\x01\x02 not a data file";
    EXPECT_EQ(
        LoadCompareFile(NewCalc(), Scratch("junk.cld")).failure.rfind("Could not be loaded: ", 0),
        0u);
    for (std::size_t n : {0, 1, 7}) {
        try {
            BuildCompareReport(std::vector<CompareFile>(n, zero), sink);
            ADD_FAILURE() << n << " files accepted";
        } catch (const activation::ComError& e) {
            EXPECT_EQ(std::to_string(e.Number()) + " " + e.Description(),
                      "5 Choose from two to six data files to compare.");
        }
    }
    EXPECT_EQ(sink.Reports().size(), 1u);
}

// The batch's comparison: appended to the output file after what it held, the data files
// left as they were, a failed file reported with its number.
TEST(Compare, RunCompareToFileAppends) {
    const std::string out = Scratch("cmp.txt"), k2002 = kSources.at("2002"),
                      k2003 = kSources.at("2003");
    const std::string before2002 = ReadFile(k2002);
    std::ofstream(out, std::ios::binary) << "earlier report\r\n";
    EXPECT_TRUE(RunCompareToFile({k2003, k2002}, out, &NewCalc).Ok());
    EXPECT_TRUE(SameBytes("earlier report\r\n" + Expected("compare_two.txt"), ReadFile(out)));
    EXPECT_EQ(ReadFile(k2002), before2002);
    CompareRunResult r = RunCompareToFile({k2002, "/missing.cld"}, out, &NewCalc);
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_EQ(r.failures[0].Text() + " " + std::to_string(r.failures[0].number),
              "/missing.cld: Could not be loaded: the file does not exist 53");
    int made = 0;  // an engine that cannot be created: that file's column says so
    r = RunCompareToFile({k2002, k2003}, out, [&]() -> ComPtr<_Caldren> {
        if (++made == 2) throw activation::ComError(429, "Activation.CreateObject", "");
        return NewCalc();
    });
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_EQ(r.failures[0].Text().rfind(k2003 + ": Could not be loaded: ", 0), 0u)
        << r.failures[0].Text();
    EXPECT_EQ(r.failures[0].number, 429);
    const std::string now = ReadFile(out);
    EXPECT_THROW(RunCompareToFile({k2002}, out, &NewCalc), activation::ComError);
    EXPECT_EQ(ReadFile(out), now);
}

}  // namespace
