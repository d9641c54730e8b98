// The record of one analysis: the 58 typed fields of a Caldren object in declared order
// (the order of the edit snapshot), and the lists of fields by text form from which the
// property accessors are generated.
#pragma once

#include "ValueKinds.h"

#include <optional>
#include <string>

namespace vesmora {

inline constexpr std::size_t kVersionWidth = 20;
inline constexpr std::size_t kNameWidth = 50;
inline constexpr std::size_t kLine2Width = 50;
inline constexpr std::size_t kMaxTextInput = 50;

struct Record {
    std::string Version = std::string(kVersionWidth, ' ');
    std::string sName = std::string(kNameWidth, ' ');
    std::string Line2 = std::string(kLine2Width, ' ');
    bool DoAveCycle = false;
    bool DoPeakCycle = false;
    vk::DaySerial EOYCurrent = vk::SerialFromCivil(2002, 12, 31);
    vk::Amount CurAssets = 0;
    vk::Amount Securities = 0;
    vk::Amount NotesFromShareholders = 0;
    vk::Amount CurLiab = 0;
    vk::Amount OtherWorkCapAdj = 0;
    vk::Amount InvBeg = 0;
    vk::Amount InvEnd = 0;
    vk::Amount InvPurchases = 0;
    vk::Amount COGS = 0;
    vk::Amount NetSales = 0;
    vk::Amount Reasonableneeds = 0;
    vk::Amount Contingencies = 0;
    vk::Amount COGSNxtYr = 0;
    vk::DaySerial EOYNxtYr = vk::SerialFromCivil(2003, 12, 31);
    vk::Amount OperatingExpNxtYr = 0;
    vk::Amount IncTaxNxtYr = 0;
    vk::Amount DeprecNxtYr = 0;
    vk::Amount OtherCostAdjNxtYr = 0;
    vk::DaySerial EOYMonths = 0;  // day zero, 12/30/1899
    bool UseActualInventory = false;
    vk::Amount ARBeg = 0;
    vk::Amount AREnd = 0;
    vk::Amount APBegRel2Inv = 0;
    vk::Amount APEndRel2Inv = 0;
    vk::Amount AvailableWC = 0;
    vk::Amount CostOfOperations = 0;
    double OperatingCyclePeak = 0;
    vk::Amount AveAP4InvPeak = 0;
    double APTurnRatioPeak = 0;
    double NetOperatingCycle = 0;
    std::optional<vk::Amount> NeededWCPeak;  // a text holding an amount; empty until computed
    vk::Amount ExcessQuickAssetsPeak = 0;
    vk::Amount InvBegAndEndAve = 0;
    vk::Amount InvAve = 0;
    double InvTurnDaysAve = 0;
    vk::Amount ARBegAndEndAve = 0;
    vk::Amount ARAve = 0;
    double ARTurnDaysAve = 0;
    double OperatingCycleDaysAve = 0;
    vk::Amount APBegAndEndAve = 0;
    vk::Amount APAve = 0;
    double APTurnDaysAve = 0;
    double OperatingCycleAdjDaysAve = 0;
    double AdjOperatingCycleAve = 0;
    vk::Amount NeededWCAve = 0;
    vk::Amount ExcessPreContingencyWCPeak = 0;
    vk::Amount ExcessPreContingencyWCAve = 0;
    vk::Amount ExcessWCPeak = 0;
    vk::Amount ExcessWCAve = 0;
    bool DoPeakUseSalesAndPurch = true;
    float GrossProfitPercent = 0;
    bool UseCurrentAmounts = false;

    bool operator==(const Record&) const = default;
};

// clang-format off
// Amount inputs: setter checks a number, getter "##,###,##0".
#define VESMORA_AMOUNT_INPUTS(X)                                                            \
    X(CurAssets) X(Securities) X(NotesFromShareholders) X(CurLiab) X(OtherWorkCapAdj)       \
    X(InvBeg) X(InvEnd) X(InvPurchases) X(COGS) X(NetSales) X(Reasonableneeds)              \
    X(Contingencies) X(COGSNxtYr) X(OperatingExpNxtYr) X(IncTaxNxtYr) X(DeprecNxtYr)        \
    X(OtherCostAdjNxtYr) X(ARBeg) X(AREnd) X(APBegRel2Inv) X(APEndRel2Inv)

// Date inputs: setter checks a date, getter "mm/dd/yyyy".
#define VESMORA_DATE_INPUTS(X) X(EOYCurrent) X(EOYNxtYr) X(EOYMonths)

// Flag inputs.
#define VESMORA_FLAG_INPUTS(X)                                                              \
    X(DoAveCycle) X(DoPeakCycle) X(UseActualInventory) X(DoPeakUseSalesAndPurch)            \
    X(UseCurrentAmounts)

// Amount results read as "##,###,##0".
#define VESMORA_AMOUNT_RESULTS(X)                                                           \
    X(AvailableWC) X(CostOfOperations) X(AveAP4InvPeak) X(ExcessQuickAssetsPeak)            \
    X(InvBegAndEndAve) X(InvAve) X(ARBegAndEndAve) X(ARAve) X(APAve) X(NeededWCAve)         \
    X(ExcessPreContingencyWCPeak) X(ExcessPreContingencyWCAve) X(ExcessWCPeak)              \
    X(ExcessWCAve)

// Ratio results read as "##0.00000".
#define VESMORA_RATIO5_RESULTS(X)                                                           \
    X(AdjOperatingCycleAve) X(APTurnDaysAve) X(ARTurnDaysAve) X(NetOperatingCycle)          \
    X(APTurnRatioPeak) X(OperatingCyclePeak)

// Ratio results read rounded to 8 decimals (ties to even) as plain decimal text.
#define VESMORA_RATIO8_RESULTS(X)                                                           \
    X(OperatingCycleAdjDaysAve) X(OperatingCycleDaysAve) X(InvTurnDaysAve)
// clang-format on

// Besides these: Version, sName, Line2 (fixed text), APBegAndEndAve (amount read as
// "##0.00000"), NeededWCPeak (text holding an amount) and GrossProfitPercent (percent).

}  // namespace vesmora
