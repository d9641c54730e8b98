// The engine's text conversions through the public setters and getters.
//
// The first byte picks a property (the amount and date inputs of Caldren in the record's
// order, its three texts, then the amounts and date of Monthly); the rest is the text given
// to its setter. A refusal is the engine's error, never a crash. When the setter takes the
// text, the getter's text must be taken back by the same setter and give the same text
// again (what the engine shows, it accepts; this is also what Save and Fetch rely on).

#include "FuzzSupport.h"

#include <Factories.h>
#include <Record.h>
#include <vesmora/Vesmora.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using activation::ComError;

struct Property {
    const char* name;
    std::function<void(const std::string&)> put;
    std::function<std::string()> get;
};

// One record in an edit and one month while editing, for the whole run (never destroyed:
// the leak check at the end of a run still finds them).
const std::vector<Property>& Properties() {
    static const auto& properties = *new std::vector<Property>([] {
        vesmora::_Caldren* c = vesmora::NewCaldren();
        c->BeginEdit();
        vesmora::_Monthly* m = vesmora::NewMonthly();
        m->put_IsEditing(true);
        std::vector<Property> p;
        // clang-format off
#define P(o, n) p.push_back({#n, [o](const std::string& t) { o->put_##n(t); }, [o] { return o->get_##n(); }});
#define C(n) P(c, n)
        VESMORA_AMOUNT_INPUTS(C) VESMORA_DATE_INPUTS(C) C(sName) C(Version) C(Line2)
        P(m, Purchases) P(m, Sales) P(m, Receivables) P(m, Inventory) P(m, MonthDate);
#undef C
#undef P
        // clang-format on
        return p;
    }());
    return properties;
}

void RoundTrip(const Property& p, const std::string& text) {
    try {
        p.put(text);
    } catch (const ComError&) {
        return;
    }
    std::string shown = "(the getter failed)";
    try {
        shown = p.get();
        p.put(shown);
    } catch (const ComError& e) {
        fuzzsupport::Finding(std::string(p.name) + ": the setter took \"" + text + "\", then \"" +
                             shown + "\" fails: error " + std::to_string(e.Number()));
    }
    if (const std::string again = p.get(); again != shown)
        fuzzsupport::Finding(std::string(p.name) + ": \"" + text + "\" shows as \"" + shown +
                             "\", then as \"" + again + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto& properties = Properties();
    RoundTrip(properties[data[0] % properties.size()],
              std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    return 0;
}
