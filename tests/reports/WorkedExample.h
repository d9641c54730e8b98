// Shared by the report tests that run on the real engine: a private HOME and XDG folders
// (so no registry file of the machine is read), the engine from the build, and the inputs
// of the worked example (average method: needed 156,744, excess 63,256; peak method with
// its three months: needed 219,707, excess 293).
#pragma once

#include "TestSupport.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace testsupport {

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_dir = std::make_unique<TempDir>();
        const std::string d = m_dir->Path().string();
        ::setenv("HOME", d.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (d + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (d + "/data").c_str(), 1);
        ::setenv("LC_ALL", "C", 1);
        activation::SetFallbackLibrary(CALDREN_ENGINE_LIBRARY);
    }
    void TearDown() override { m_dir.reset(); }

private:
    std::unique_ptr<TempDir> m_dir;
};

// The worked example's amounts, entered into an analysis whose edit is open.
inline void EnterWorkedExampleAmounts(vesmora::_Caldren& c, const char* netSales = "900,000") {
    c.put_InvBeg("100,000");
    c.put_InvEnd("120,000");
    c.put_COGS("600,000");
    c.put_ARBeg("80,000");
    c.put_AREnd("100,000");
    c.put_NetSales(netSales);
    c.put_APBegRel2Inv("50,000");
    c.put_APEndRel2Inv("70,000");
    c.put_InvPurchases("620,000");
    c.put_COGSNxtYr("650,000");
    c.put_OperatingExpNxtYr("200,000");
    c.put_IncTaxNxtYr("30,000");
    c.put_DeprecNxtYr("40,000");
    c.put_CurAssets("500,000");
    c.put_CurLiab("250,000");
    c.put_Reasonableneeds("20,000");
    c.put_Contingencies("10,000");
}

}  // namespace testsupport
