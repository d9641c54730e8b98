#include "Signs.h"

namespace caldren::analysis {

namespace {

constexpr const char* kBalance = "a balance cannot be below zero";
constexpr const char* kYearTotal = "a total of the year cannot be below zero";
constexpr const char* kNextYearCost = "a cost of next year cannot be below zero";
constexpr const char* kSetAside = "an amount set aside cannot be below zero";
constexpr const char* kMonthBalance = "a month-end balance cannot be below zero";
constexpr const char* kMonthTotal = "a total of the month cannot be below zero";

}  // namespace

const std::vector<NonNegativeInput>& NonNegativeInputs() {
    static const std::vector<NonNegativeInput> kInputs = {
        {"CurAssets", false, kBalance, false},
        {"Securities", false, kBalance, false},
        {"NotesFromShareholders", false, kBalance, false},
        {"CurLiab", false, kBalance, true},
        {"InvBeg", false, kBalance, false},
        {"InvEnd", false, kBalance, false},
        {"InvPurchases", false, kYearTotal, false},
        {"NetSales", false, kYearTotal, false},
        {"COGS", false, kYearTotal, false},
        {"COGSNxtYr", false, kNextYearCost, false},
        {"OperatingExpNxtYr", false, kNextYearCost, false},
        {"IncTaxNxtYr", false, kNextYearCost, false},
        {"DeprecNxtYr", false, kNextYearCost, true},
        {"Reasonableneeds", false, kSetAside, true},
        {"Contingencies", false, kSetAside, true},
        {"ARBeg", false, kBalance, false},
        {"AREnd", false, kBalance, false},
        {"APBegRel2Inv", false, kBalance, false},
        {"APEndRel2Inv", false, kBalance, false},
        {"Receivables", true, kMonthBalance, false},
        {"Inventory", true, kMonthBalance, false},
        {"Sales", true, kMonthTotal, false},
        {"Purchases", true, kMonthTotal, false},
    };
    return kInputs;
}

const NonNegativeInput* FindNonNegative(std::string_view property) {
    for (const NonNegativeInput& input : NonNegativeInputs())
        if (property == input.property) return &input;
    return nullptr;
}

bool CannotBeNegative(std::string_view property) { return FindNonNegative(property) != nullptr; }

bool IsSubtracted(std::string_view property) {
    const NonNegativeInput* input = FindNonNegative(property);
    return input && input->subtracted;
}

}  // namespace caldren::analysis
