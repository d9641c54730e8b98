#include "BatchFailure.h"

#include "RunState.h"

#include <activation/Activation.h>
#include <profilestore/ProfileStore.h>
#include <vesmora/Vesmora.h>

#include <cstdint>
#include <optional>
#include <utility>

namespace caldren {

namespace {

using vesmora::_Caldren;
using Setter = void (_Caldren::*)(const std::string&);

constexpr const char* kSection = "Caldren Formula Calculation";
constexpr const char* kAbsent = "\x01";
constexpr const char* kGenericDescription = "Application-defined or object-defined error";

// The data file's entries in the order the engine reads them; flags have no text setter.
struct Entry {
    const char* key;
    Setter put;  // nullptr: a flag ("True", "False" or a number)
};

const Entry kEntries[] = {
    {"Version", &_Caldren::put_Version},
    {"Name", &_Caldren::put_sName},
    {"Line 2", &_Caldren::put_Line2},
    {"Average Cycle", nullptr},
    {"Peak Cycle", nullptr},
    {"Peak Cycle Using Sales and Purchases", nullptr},
    {"Current Amounts", nullptr},
    {"Current end-of-year", &_Caldren::put_EOYCurrent},
    {"Current Assets", &_Caldren::put_CurAssets},
    {"Securities", &_Caldren::put_Securities},
    {"Notes from shareholders", &_Caldren::put_NotesFromShareholders},
    {"Current Liabilities", &_Caldren::put_CurLiab},
    {"Other Adjustments to Available Working Capital", &_Caldren::put_OtherWorkCapAdj},
    {"Beginning Inventory", &_Caldren::put_InvBeg},
    {"Ending Inventory", &_Caldren::put_InvEnd},
    {"Inventory Purchases", &_Caldren::put_InvPurchases},
    {"Cost of Goods Sold", &_Caldren::put_COGS},
    {"Net Sales", &_Caldren::put_NetSales},
    {"Reasonable Needs", &_Caldren::put_Reasonableneeds},
    {"Contingencies", &_Caldren::put_Contingencies},
    {"Cost of Goods Sold - Next Year", &_Caldren::put_COGSNxtYr},
    {"End of Year - Next Year", &_Caldren::put_EOYNxtYr},
    {"Operating Expense - Next Year", &_Caldren::put_OperatingExpNxtYr},
    {"Income Tax - Next Year", &_Caldren::put_IncTaxNxtYr},
    {"Depreciation - Next Year", &_Caldren::put_DeprecNxtYr},
    {"Other Adjustments to Cost of Operations - Next Year", &_Caldren::put_OtherCostAdjNxtYr},
    {"End-of-Year Months", &_Caldren::put_EOYMonths},
    {"Actual Inventory", nullptr},
    {"Beginning Accounts Receivable", &_Caldren::put_ARBeg},
    {"Ending Accounts Receivable", &_Caldren::put_AREnd},
    {"Beginning Accounts Payable Related to Inventory", &_Caldren::put_APBegRel2Inv},
    {"Ending Accounts Payable Related to Inventory", &_Caldren::put_APEndRel2Inv},
};

template <class F>
bool Refused(F&& put) {
    try {
        put();
        return false;
    } catch (...) {
        return true;
    }
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Trimmed(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// A flag's text as the engine reads it: "True", "False" (any case) or a number, nonzero
// digits meaning true. Nothing when it is neither.
std::optional<bool> Flag(const std::string& text, _Caldren& scratch) {
    const std::string t = Lower(Trimmed(text));
    if (t == "true" || t == "false") return t == "true";
    try {
        scratch.put_CurAssets(t);
    } catch (const activation::ComError& e) {
        if (e.Number() != 6) return std::nullopt;  // not a number (a number too large is one)
    }
    return t.find_first_of("123456789") != std::string::npos;
}

std::string FindRefused(const std::string& dataFile) {
    profilestore::ProfileStore store;
    store.SetFileName(dataFile);
    store.BeginBatch();
    auto calc = activation::CreateObject<_Caldren>(vesmora::kProgID_Caldren);
    calc->BeginEdit();
    bool peak = false;
    for (const Entry& e : kEntries) {
        const std::string text = store.ReadEntry(kSection, e.key, kAbsent);
        if (text == kAbsent) continue;
        if (!e.put) {
            const std::optional<bool> flag = Flag(text, *calc);
            if (!flag) return e.key;
            if (std::string(e.key) == "Peak Cycle") peak = *flag;
        } else if (Refused([&] { ((*calc).*e.put)(text); })) {
            return e.key;
        }
    }
    const std::int32_t count = store.ReadNumber(kSection, "Monthly Count", 0);
    if (count < INT16_MIN || count > INT16_MAX || (peak && count > 1000)) return "Monthly Count";
    if (!peak) return {};
    auto month = activation::CreateObject<vesmora::_Monthly>(vesmora::kProgID_Monthly);
    month->put_IsEditing(true);
    using MonthSetter = void (vesmora::_Monthly::*)(const std::string&);
    const std::pair<const char*, MonthSetter> fields[] = {
        {" Date", &vesmora::_Monthly::put_MonthDate},     {" Inventory", &vesmora::_Monthly::put_Inventory},
        {" Receivables", &vesmora::_Monthly::put_Receivables}, {" Sales", &vesmora::_Monthly::put_Sales},
        {" Purchases", &vesmora::_Monthly::put_Purchases}};
    for (int n = 1; n <= count; ++n) {
        for (const auto& field : fields) {
            const std::string key = std::to_string(n) + field.first;
            const std::string text = store.ReadEntry(kSection, key, "");
            if (Refused([&] { ((*month).*field.second)(text); })) return key;
        }
    }
    return {};
}

}  // namespace

std::string ErrorText(long number, const std::string& description, const std::string& location) {
    if (!description.empty() && description != kDescription && description != kGenericDescription)
        return description;
    if (std::string standard = activation::StandardErrorText(number); !standard.empty()) return standard;
    const std::string innermost = location.substr(location.rfind('\r') + 1);
    if (innermost.find(' ') != std::string::npos) return innermost;
    return description.empty() ? kGenericDescription : description;
}

std::string RefusedEntry(const std::string& dataFile) {
    try {
        return FindRefused(dataFile);
    } catch (...) {
        return {};
    }
}

std::string LogDescription(const BatchFailure& f) {
    std::string text = ErrorText(f.number, f.description, f.location);
    if (f.file.empty()) return text;
    text += " (file \"" + f.file + "\"";
    if (!f.entry.empty()) text += ", entry \"" + f.entry + "\"";
    return text + ")";
}

}  // namespace caldren
