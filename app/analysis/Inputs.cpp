#include "Inputs.h"

#include <Reports.h>
#include <common/Amount.h>

namespace caldren::analysis {

using C = vesmora::_Caldren;
using vesmora::IndexKey;

const std::vector<TextInput>& TextInputs() {
    static const std::vector<TextInput> kInputs = {
        {"sName", "Name of Corporation", &C::get_sName, &C::put_sName, NextYear::Keep},
        {"Line2", "Optional Second Line", &C::get_Line2, &C::put_Line2, NextYear::Keep},
        {"EOYCurrent", "End of current tax year", &C::get_EOYCurrent, &C::put_EOYCurrent,
         NextYear::OneYearLater},
        {"CurAssets", "Current Assets", &C::get_CurAssets, &C::put_CurAssets, NextYear::Zero},
        {"Securities", "Investment in Securities", &C::get_Securities, &C::put_Securities,
         NextYear::Zero},
        {"NotesFromShareholders", "Notes Receivable from Shareholders",
         &C::get_NotesFromShareholders, &C::put_NotesFromShareholders, NextYear::Zero},
        {"CurLiab", "Current Liabilities", &C::get_CurLiab, &C::put_CurLiab, NextYear::Zero},
        {"OtherWorkCapAdj", "Other Adjustments to Working Capital", &C::get_OtherWorkCapAdj,
         &C::put_OtherWorkCapAdj, NextYear::Zero},
        {"InvBeg", "Beginning Inventory", &C::get_InvBeg, &C::put_InvBeg, NextYear::FromEnding,
         &C::get_InvEnd},
        {"InvEnd", "Ending Inventory", &C::get_InvEnd, &C::put_InvEnd, NextYear::Zero},
        {"InvPurchases", "Inventory Purchases", &C::get_InvPurchases, &C::put_InvPurchases,
         NextYear::Zero},
        {"NetSales", "Net Sales", &C::get_NetSales, &C::put_NetSales, NextYear::Zero},
        {"COGS", "Cost of Goods Sold", &C::get_COGS, &C::put_COGS, NextYear::Zero},
        {"EOYNxtYr", "End of next tax year", &C::get_EOYNxtYr, &C::put_EOYNxtYr,
         NextYear::OneYearLater},
        {"COGSNxtYr", "Cost of Goods Sold, next year", &C::get_COGSNxtYr, &C::put_COGSNxtYr,
         NextYear::Zero},
        {"OperatingExpNxtYr", "Operating Expense, next year", &C::get_OperatingExpNxtYr,
         &C::put_OperatingExpNxtYr, NextYear::Zero},
        {"IncTaxNxtYr", "Income Tax Expense, next year", &C::get_IncTaxNxtYr, &C::put_IncTaxNxtYr,
         NextYear::Zero},
        {"DeprecNxtYr", "Depreciation, next year", &C::get_DeprecNxtYr, &C::put_DeprecNxtYr,
         NextYear::Zero},
        {"OtherCostAdjNxtYr", "Other Adjustments to Cost of Operations, next year",
         &C::get_OtherCostAdjNxtYr, &C::put_OtherCostAdjNxtYr, NextYear::Zero},
        {"Reasonableneeds", "Other Reasonable Needs", &C::get_Reasonableneeds,
         &C::put_Reasonableneeds, NextYear::Keep},
        {"Contingencies", "Contingencies", &C::get_Contingencies, &C::put_Contingencies,
         NextYear::Keep},
        {"EOYMonths", "End of year of the months", &C::get_EOYMonths, &C::put_EOYMonths,
         NextYear::OneYearLater},
        {"ARBeg", "Beginning Accounts Receivable", &C::get_ARBeg, &C::put_ARBeg,
         NextYear::FromEnding, &C::get_AREnd},
        {"AREnd", "Ending Accounts Receivable", &C::get_AREnd, &C::put_AREnd, NextYear::Zero},
        {"APBegRel2Inv", "Beginning Accounts Payable Related to Inventory", &C::get_APBegRel2Inv,
         &C::put_APBegRel2Inv, NextYear::FromEnding, &C::get_APEndRel2Inv},
        {"APEndRel2Inv", "Ending Accounts Payable Related to Inventory", &C::get_APEndRel2Inv,
         &C::put_APEndRel2Inv, NextYear::Zero},
    };
    return kInputs;
}

const std::vector<FlagInput>& FlagInputs() {
    static const std::vector<FlagInput> kFlags = {
        {"DoAveCycle", &C::get_DoAveCycle, &C::put_DoAveCycle},
        {"DoPeakCycle", &C::get_DoPeakCycle, &C::put_DoPeakCycle},
        {"DoPeakUseSalesAndPurch", &C::get_DoPeakUseSalesAndPurch, &C::put_DoPeakUseSalesAndPurch},
        {"UseCurrentAmounts", &C::get_UseCurrentAmounts, &C::put_UseCurrentAmounts},
        {"UseActualInventory", &C::get_UseActualInventory, &C::put_UseActualInventory},
    };
    return kFlags;
}

const TextInput* FindTextInput(const std::string& property) {
    for (const TextInput& input : TextInputs())
        if (property == input.property) return &input;
    return nullptr;
}

void CopyInputs(const C& from, C& to) {
    for (const FlagInput& flag : FlagInputs()) (to.*flag.put)((from.*flag.get)());
    for (const TextInput& input : TextInputs()) (to.*input.put)((from.*input.get)());

    auto source = from.get_colMonths();
    auto target = to.get_colMonths();
    if (!target) return;
    const long count = source ? source->get_Count() : 0;
    while (target->get_Count() > count) target->Remove(IndexKey{target->get_Count()});
    for (long i = 1; i <= count; ++i) {
        auto m = source->get_Item(IndexKey{i});
        if (i > target->get_Count()) {
            target->Add(m->get_MonthDate(), m->get_Inventory(), m->get_Receivables(),
                        m->get_Sales(), m->get_Purchases(), 0, 0, 0);
            continue;
        }
        auto t = target->get_Item(IndexKey{i});
        t->put_IsEditing(true);
        t->put_MonthDate(m->get_MonthDate());
        t->put_Inventory(m->get_Inventory());
        t->put_Receivables(m->get_Receivables());
        t->put_Sales(m->get_Sales());
        t->put_Purchases(m->get_Purchases());
    }
}

long long WholeUnits(const std::string& engineText) { return Reports::ParseWholeUnits(engineText); }

std::string AmountText(long long units) { return common::WholeUnitsText(units); }

}  // namespace caldren::analysis
