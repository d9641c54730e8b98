// Writes the workpaper of a data file and prints the program's own figures beside it:
//   test_workpaper_case <data file> <workbook.xlsx>
// Output: "Property=text" for each figure the workbook shows, "month<n>.Property=text" for
// each month, then "summary:" and the Summary report's text. Errors: number and source, 1.
#include <ReportSink.h>
#include <Reports.h>
#include <workpaper/Workpaper.h>

#include <activation/Activation.h>

#include <cstdio>
#include <iostream>

// clang-format off
#define FIGURES(X)                                                                          \
    X(CurAssets) X(Securities) X(NotesFromShareholders) X(CurLiab) X(OtherWorkCapAdj)       \
    X(InvBeg) X(InvEnd) X(InvPurchases) X(NetSales) X(COGS) X(COGSNxtYr)                   \
    X(OperatingExpNxtYr) X(IncTaxNxtYr) X(DeprecNxtYr) X(OtherCostAdjNxtYr)                \
    X(Reasonableneeds) X(Contingencies) X(ARBeg) X(AREnd) X(APBegRel2Inv) X(APEndRel2Inv)  \
    X(AvailableWC) X(CostOfOperations) X(GrossProfitPercent) X(OperatingCyclePeak)         \
    X(AveAP4InvPeak) X(APTurnRatioPeak) X(NetOperatingCycle) X(NeededWCPeak)               \
    X(ExcessPreContingencyWCPeak) X(ExcessWCPeak) X(InvBegAndEndAve) X(InvAve)             \
    X(InvTurnDaysAve) X(ARBegAndEndAve) X(ARAve) X(ARTurnDaysAve) X(OperatingCycleDaysAve) \
    X(APBegAndEndAve) X(APAve) X(APTurnDaysAve) X(OperatingCycleAdjDaysAve)                \
    X(AdjOperatingCycleAve) X(NeededWCAve) X(ExcessPreContingencyWCAve) X(ExcessWCAve)
// clang-format on

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    try {
        auto calc = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        calc->Load(argv[1]);
        calc->Calculate();
        workpaper::WriteWorkpaper(*calc, argv[2]);
#define PRINT(name) std::cout << #name "=" << calc->get_##name() << "\n";
        FIGURES(PRINT)
        long n = 0;
        const auto it = calc->get_colMonths()->get_NewEnum();
        while (const auto m = it->Next()) {
            const std::string p = "month" + std::to_string(++n) + ".";
            std::cout << p << "Inventory=" << m->get_Inventory() << "\n"
                      << p << "Receivables=" << m->get_Receivables() << "\n"
                      << p << "Sales=" << m->get_Sales() << "\n"
                      << p << "Purchases=" << m->get_Purchases() << "\n"
                      << p
                      << "InventoryCycle=" << Reports::FormatRatioValue(m->get_InventoryCycle())
                      << "\n"
                      << p
                      << "ReceivableCycle=" << Reports::FormatRatioValue(m->get_ReceivableCycle())
                      << "\n"
                      << p
                      << "OperatingCycle=" << Reports::FormatRatioValue(m->get_OperatingCycle())
                      << "\n";
        }
        std::string summary;
        Reports::MemorySink sink(summary);
        Reports::BuildSummReport(*calc, sink);
        std::cout << "summary:\n" << summary;
        return 0;
    } catch (const activation::ComError& e) {
        std::cout << "error " << e.Number() << " " << e.Source() << "\n";
        return 1;
    }
}
