// Values at the edge of their fields, in every report: a value as wide as its field keeps
// its figure, one character more and the field is "#" from end to end. Each case is a file
// of the engine's texts (data/fields/<case>.in: "Property=text", "methods=both" or
// "both-inventory", one "month=inventory|receivables|sales|purchases|inventory cycle|
// receivable cycle|operating cycle" line per month) and the text a batch run appends for it
// (<case>.txt): the Detailed Analysis, Summary and Inputs reports, then the comparison of
// the analysis with itself.
#include "FakeEngine.h"
#include "ReportCompare.h"
#include "Reports.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Reports;

namespace {

void Load(const std::string& in, fake::Caldren& c) {
    std::istringstream lines(in);
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "methods") {
            c.ave = c.peak = true;
            c.salesAndPurch = value == "both";
        } else if (key == "month") {
            std::vector<std::string> f;
            std::istringstream cells(value);
            for (std::string cell; std::getline(cells, cell, '|');) f.push_back(cell);
            c.months.AddMonth(f.at(0), f.at(1), f.at(2), f.at(3), std::stod(f.at(4)), std::stod(f.at(5)),
                              std::stod(f.at(6)));
        } else {
            c.v[key] = value;
        }
    }
}

class FieldWidths : public ::testing::TestWithParam<std::string> {};

TEST_P(FieldWidths, AValueWiderThanItsFieldIsAFieldOfHashes) {
    fake::Caldren c;
    Load(testsupport::Expected("fields/" + GetParam() + ".in"), c);
    RecordingSink sink;
    BuildDetailReport(c, sink, "/data/acme.cld");
    BuildSummReport(c, sink, "/data/acme.cld");
    BuildIPReport(c, sink, "/data/acme.cld");
    std::vector<CompareFile> files(2);
    files[0].fileName = "/data/acme.cld";
    files[0].calc = vesmora::ComPtr<vesmora::_Caldren>::Share(&c);
    files[1] = files[0];
    files[1].fileName = "/data/acme copy.cld";
    BuildCompareReport(files, sink);
    std::string text;
    for (const auto& report : sink.Reports()) text += report.Body() + "\r\n";
    EXPECT_TRUE(testsupport::SameBytes(testsupport::Expected("fields/" + GetParam() + ".txt"), text));
}

INSTANTIATE_TEST_SUITE_P(Reports, FieldWidths,
                         ::testing::Values("fit12", "over12", "inputs_fit", "inputs_over", "inventory_fit",
                                           "inventory_over"));

}  // namespace
