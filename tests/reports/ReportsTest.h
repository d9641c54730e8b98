// Shared by the report tests: the engine from the build in a pinned environment, the worked
// example loaded with the methods a test chooses, expected files and recorded reports.
#pragma once

#include "CaseFiles.h"
#include "Reports.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace reportstest {

using casefiles::ReadFile;
using casefiles::SameBytes;
using Reports::RecordingSink;
using vesmora::_Caldren;
using vesmora::ComPtr;

// A private HOME and XDG folders (no registry file of the machine is read), the C locale,
// the engine library from the build.
class EngineEnvironment : public ::testing::Environment {
public:
    std::string home = std::filesystem::temp_directory_path().string() + "/reports-XXXXXX";
    void SetUp() override {
        ASSERT_TRUE(mkdtemp(home.data()));
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        ::setenv("LC_ALL", "C", 1);
        activation::SetFallbackLibrary(CALDREN_ENGINE_LIBRARY);
    }
    void TearDown() override { std::filesystem::remove_all(home); }
};
inline auto* const kEnvironment =
    static_cast<EngineEnvironment*>(::testing::AddGlobalTestEnvironment(new EngineEnvironment));

// A file in the test's private folder.
inline std::string Scratch(const std::string& name) { return kEnvironment->home + "/" + name; }

inline std::string Expected(const std::string& name) {
    return ReadFile(CALDREN_REPORTS_DATA "/" + name);
}

// The worked example (data/worked_example.cld of the engine tests: both methods, three
// months estimated from sales and purchases) loaded and calculated with the methods
// chosen: "average", "peak", "both", "neither", "peak actual" (the month-end inventories
// 100,000, 105,000 and 115,000 entered), "june" (data/june_days.cld: year end 06/30/2002,
// 45 inventory days); "new": an analysis never saved. The edit that Load opens stays open.
inline ComPtr<_Caldren> Analysis(const std::string& methods, bool calculate = true) {
    auto c = activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren);
    if (methods == "new") return c;
    c->Load(methods == "june" ? CALDREN_REPORTS_DATA "/june_days.cld"
                              : CALDREN_ENGINE_DATA "/worked_example.cld");
    c->put_DoAveCycle(methods == "average" || methods == "both" || methods == "june");
    c->put_DoPeakCycle(methods.rfind("peak", 0) == 0 || methods == "both" || methods == "june");
    c->put_DoPeakUseSalesAndPurch(methods != "peak actual");
    if (methods == "peak actual") {
        const char* inventories[] = {"100000", "105000", "115000"};
        for (long m = 1; m <= 3; ++m)
            c->get_colMonths()->get_Item(m)->put_Inventory(inventories[m - 1]);
    }
    if (calculate) c->Calculate();
    return c;
}

// A report as the report run builds it (months renumbered first), for "/data/acme.cld";
// "Summary corrected" and the like with the corrected wording.
inline void BuildNamed(const std::string& report, _Caldren& c, Reports::ReportSink& sink) {
    using enum Reports::ReportKind;
    const std::string name = report.substr(0, report.find(' '));
    const auto kind = name == "Summary" ? Summary : name == "Detailed" ? Detailed : Inputs;
    Reports::BuildReport(
        kind, c, sink, "/data/acme.cld",
        report.ends_with(" corrected") ? Reports::Wording::Corrected : Reports::Wording::AsEver);
}

// One report built into a recording sink for the data file "/data/acme.cld".
inline RecordingSink::Report Build(const std::string& report, _Caldren& c) {
    RecordingSink sink;
    BuildNamed(report, c, sink);
    EXPECT_EQ(sink.Reports().size(), 1u);
    EXPECT_TRUE(sink.Reports().back().ended);
    return sink.Reports().back();
}

}  // namespace reportstest
