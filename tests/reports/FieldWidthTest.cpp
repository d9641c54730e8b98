// Values at the edge of their fields in every report, on the engine: in fit.cld the available
// working capital ($999,749,999) fills its field exactly; in over.cld it is one unit over a
// billion and Net Sales is 1, so the working capital, the gross profit percent and the days
// no longer fit, and each such field is "#" from end to end. Expected: data/fields/<case>.txt,
// the Detailed Analysis, Summary and Inputs reports and the comparison of the file with
// itself, as a batch run would append them.
#include "ReportCompare.h"
#include "ReportsTest.h"

namespace {

using namespace reportstest;

class FieldWidths : public ::testing::TestWithParam<std::string> {};

TEST_P(FieldWidths, AValueWiderThanItsFieldIsAFieldOfHashes) {
    const std::string file = CALDREN_REPORTS_DATA "/fields/" + GetParam() + ".cld";
    auto c = activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren);
    c->Load(file);
    c->Calculate();
    RecordingSink sink;
    for (const char* report : {"Detailed", "Summary", "Inputs"}) BuildNamed(report, *c, sink);
    std::vector<Reports::CompareFile> files(2);
    files[0].fileName = "/data/acme.cld";
    files[0].calc = c;
    files[1] = files[0];
    files[1].fileName = "/data/acme copy.cld";
    Reports::BuildCompareReport(files, sink);
    std::string text;
    for (const auto& report : sink.Reports()) text += report.Body() + "\r\n";
    EXPECT_TRUE(SameBytes(Expected("fields/" + GetParam() + ".txt"), text));
}

INSTANTIATE_TEST_SUITE_P(Reports, FieldWidths, ::testing::Values("fit", "over"));

}  // namespace
