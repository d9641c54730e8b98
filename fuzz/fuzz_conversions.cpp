// The engine's text conversions through the public setters and getters.
//
// The first byte picks a property (amounts, dates, texts of Caldren and of Monthly); the
// rest is the text given to its setter. A refusal is the engine's error, never a crash.
// When the setter takes the text, the getter's text must be taken back by the same setter
// and give the same text again (what the engine shows, it accepts; this is also what Save
// and Fetch rely on).

#include "FuzzSupport.h"

#include <Factories.h>
#include <vesmora/Vesmora.h>

#include <cstdint>
#include <string>

namespace {

using activation::ComError;
using vesmora::_Caldren;
using vesmora::_Monthly;

struct CaldrenProperty {
    const char* name;
    void (_Caldren::*put)(const std::string&);
    std::string (_Caldren::*get)() const;
};

#define P(n) \
    { #n, &_Caldren::put_##n, &_Caldren::get_##n }
const CaldrenProperty kCaldren[] = {
    P(APEndRel2Inv),    P(APBegRel2Inv), P(AREnd),
    P(ARBeg),           P(EOYMonths),    P(OtherCostAdjNxtYr),
    P(DeprecNxtYr),     P(IncTaxNxtYr),  P(OperatingExpNxtYr),
    P(EOYNxtYr),        P(COGSNxtYr),    P(Contingencies),
    P(Reasonableneeds), P(NetSales),     P(COGS),
    P(InvPurchases),    P(InvEnd),       P(InvBeg),
    P(OtherWorkCapAdj), P(CurLiab),      P(NotesFromShareholders),
    P(Securities),      P(CurAssets),    P(EOYCurrent),
    P(sName),           P(Version),      P(Line2),
};
#undef P

struct MonthlyProperty {
    const char* name;
    void (_Monthly::*put)(const std::string&);
    std::string (_Monthly::*get)() const;
};

#define P(n) \
    { #n, &_Monthly::put_##n, &_Monthly::get_##n }
const MonthlyProperty kMonthly[] = {P(Purchases), P(Sales), P(Receivables), P(Inventory),
                                    P(MonthDate)};
#undef P

template <class Object, class Property>
void RoundTrip(Object& object, const Property& p, const std::string& text) {
    try {
        (object.*p.put)(text);
    } catch (const ComError&) {
        return;
    }
    std::string shown;
    try {
        shown = (object.*p.get)();
    } catch (const ComError& e) {
        fuzzsupport::Finding(std::string(p.name) + ": the getter fails after the setter took \"" +
                             text + "\": " + std::to_string(e.Number()));
    }
    try {
        (object.*p.put)(shown);
    } catch (const ComError& e) {
        fuzzsupport::Finding(std::string(p.name) + ": the setter refuses the getter's own text \"" +
                             shown + "\" (from \"" + text + "\"): error " +
                             std::to_string(e.Number()));
    }
    const std::string again = (object.*p.get)();
    if (again != shown)
        fuzzsupport::Finding(std::string(p.name) + ": \"" + text + "\" shows as \"" + shown +
                             "\", then as \"" + again + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    constexpr std::size_t kCaldrenCount = sizeof kCaldren / sizeof kCaldren[0];
    constexpr std::size_t kMonthlyCount = sizeof kMonthly / sizeof kMonthly[0];
    const std::size_t pick = data[0] % (kCaldrenCount + kMonthlyCount);
    if (pick < kCaldrenCount) {
        static _Caldren* calc = [] {
            _Caldren* c = vesmora::NewCaldren();
            c->BeginEdit();
            return c;
        }();
        RoundTrip(*calc, kCaldren[pick], text);
    } else {
        static _Monthly* month = [] {
            _Monthly* m = vesmora::NewMonthly();
            m->put_IsEditing(true);
            return m;
        }();
        RoundTrip(*month, kMonthly[pick - kCaldrenCount], text);
    }
    return 0;
}
