// Shared by the engine tests: objects, a scratch folder, error texts, inputs by name and
// a snapshot of everything the record shows, for the case tables.
#pragma once

#include "../TestSupport.h"
#include "Caldren.h"
#include "EngineErrors.h"
#include "Factories.h"
#include "Months.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>

namespace enginetest {

using namespace vesmora;

inline ComPtr<Caldren> NewRecord() { return ComPtr<Caldren>(static_cast<Caldren*>(NewCaldren())); }

inline std::string Data(const std::string& name) {
    return std::string(CALDREN_ENGINE_DATA "/") + name;
}

// A private folder for one test (under TMPDIR, which CTest pins), removed afterwards.
using ScratchDir = testsupport::TempDir;

// "number source / description" of the error f raises, "none" when it raises none.
inline std::string ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const ComError& e) {
        return std::to_string(e.Number()) + " " + e.Source() + " / " + e.Description();
    }
    return "none";
}

// A property set by name: an input through its public setter (flags as "True" / "False"),
// a result through its internal setter.
inline void Put(Caldren& c, const std::string& name, const std::string& value) {
#define PUT_TEXT(n) \
    if (name == #n) return c.put_##n(value);
#define PUT_FLAG(n) \
    if (name == #n) return c.put_##n(value == "True");
    VESMORA_AMOUNT_INPUTS(PUT_TEXT)
    VESMORA_DATE_INPUTS(PUT_TEXT)
    VESMORA_FLAG_INPUTS(PUT_FLAG)
    VESMORA_AMOUNT_RESULTS(PUT_TEXT)
    VESMORA_RATIO5_RESULTS(PUT_TEXT)
    VESMORA_RATIO8_RESULTS(PUT_TEXT)
    PUT_TEXT(APBegAndEndAve)
    PUT_TEXT(NeededWCPeak)
    PUT_TEXT(GrossProfitPercent)
    PUT_TEXT(sName)
    PUT_TEXT(Line2)
    PUT_TEXT(Version)
#undef PUT_TEXT
#undef PUT_FLAG
    ADD_FAILURE() << "no input " << name;
}

// The shortest text that reads back as the same double (or single).
template <class T>
std::string Shortest(T x) {
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(x));
        if (static_cast<T>(std::strtod(text, nullptr)) == x) break;
    }
    return text;
}

// Everything the record shows: each getter's text under its name, each stored result
// under its name and "#" (amounts as plain text, ratios as their shortest text), the
// flags, and every month's amounts and cycles under "month<n>.".
inline std::map<std::string, std::string> Snapshot(const Caldren& c) {
    std::map<std::string, std::string> s;
    const Record& r = c.record();
#define GET(n) s[#n] = c.get_##n();
#define FLAG(n) s[#n] = c.get_##n() ? "True" : "False";
#define AMOUNT(n) s[#n "#"] = vk::PlainAmount(r.n);
#define RATIO(n) s[#n "#"] = Shortest(r.n);
    VESMORA_AMOUNT_INPUTS(GET)
    VESMORA_AMOUNT_INPUTS(AMOUNT)
    VESMORA_DATE_INPUTS(GET)
    VESMORA_FLAG_INPUTS(FLAG)
    VESMORA_AMOUNT_RESULTS(GET)
    VESMORA_AMOUNT_RESULTS(AMOUNT)
    VESMORA_RATIO5_RESULTS(GET)
    VESMORA_RATIO5_RESULTS(RATIO)
    VESMORA_RATIO8_RESULTS(GET)
    VESMORA_RATIO8_RESULTS(RATIO)
    GET(APBegAndEndAve)
    GET(NeededWCPeak)
    GET(GrossProfitPercent)
    GET(sName)
    GET(Line2)
    GET(Version)
    FLAG(IsNew)
    FLAG(IsDirty)
    FLAG(IsDeleted)
#undef GET
#undef FLAG
#undef AMOUNT
#undef RATIO
    s["NeededWCPeak#"] = r.NeededWCPeak ? vk::PlainAmount(*r.NeededWCPeak) : "";
    s["GrossProfitPercent#"] = Shortest(r.GrossProfitPercent);
    s["IsEditing"] = c.isEditing() ? "True" : "False";
    s["Count"] = std::to_string(c.get_colMonths() ? c.get_colMonths()->get_Count() : -1);
    for (long i = 1; i <= (c.get_colMonths() ? c.get_colMonths()->get_Count() : 0); ++i) {
        const auto m = c.get_colMonths()->get_Item(i);
        const std::string p = "month" + std::to_string(i) + ".";
        s[p + "MonthDate"] = m->get_MonthDate();
        s[p + "Inventory"] = m->get_Inventory();
        s[p + "Receivables"] = m->get_Receivables();
        s[p + "InventoryCycle"] = Shortest(m->get_InventoryCycle());
        s[p + "ReceivableCycle"] = Shortest(m->get_ReceivableCycle());
        s[p + "OperatingCycle"] = Shortest(m->get_OperatingCycle());
        s[p + "IsComputing"] = m->get_IsComputing() ? "True" : "False";
    }
    return s;
}

// Checks "name=text; name=text; ..." against a snapshot.
inline void ExpectShows(const std::map<std::string, std::string>& shown, const std::string& where,
                        const std::string& checks) {
    std::string check;
    for (std::istringstream in(checks); std::getline(in >> std::ws, check, ';');) {
        const std::string name = check.substr(0, check.find('='));
        const auto it = shown.find(name);
        ASSERT_TRUE(it != shown.end()) << where << ": nothing named " << name;
        EXPECT_EQ(name + "=" + it->second, check) << where;
    }
}

}  // namespace enginetest
