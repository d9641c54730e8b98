// c_calcs: the steps of a calculation run. Each step reads the record through its public
// getters (amounts therefore arrive as whole units), computes, and stores its results
// through the record's internal setters as text. Every step traps errors and raises them
// again with its location ("c_calcs.DaysFactor") in front of the source.
#pragma once

#include "ValueKinds.h"

#include <string>

namespace vesmora {
class Caldren;
}

namespace c_calcs {

// CostOfOperations = COGSNxtYr + OperatingExpNxtYr + IncTaxNxtYr - DeprecNxtYr + OtherCostAdjNxtYr;
// the five inputs are written back through their public setters as whole units.
void CalcCostofOps(vesmora::Caldren& rec);

// AvailableWC = CurAssets + Securities + NotesFromShareholders - CurLiab + OtherWorkCapAdj.
void CalcAvailableWorkCap(vesmora::Caldren& rec);

// Turnover in days of the average of beginning and ending over basis (0 when basis <= 0).
// sum and average receive the plain texts of the sum and of the average (four decimals).
double DaysFactor(const std::string& beginning, const std::string& ending, const std::string& basis,
                  std::string& sum, std::string& average);

// The average operating-cycle method: turnover days, adjusted cycle, NeededWCAve.
void NeededWCAve(vesmora::Caldren& rec);

// excess = available - needed - reasonable needs - contingencies; excessBeforeNeeds receives
// the plain text of available - needed.
vesmora::vk::Amount CalcCaldren(const std::string& available, const std::string& needed,
                                std::string& excessBeforeNeeds, const std::string& reasonableNeeds,
                                const std::string& contingencies);

// GrossProfitPercent, estimated month-end inventories, the months' cycles and the peak.
void CalcOpCyclePeak(vesmora::Caldren& rec);

// The peak operating-cycle method: payables turnover, net cycle, NeededWCPeak.
void CalcNeededWCPeak(vesmora::Caldren& rec);

}  // namespace c_calcs
