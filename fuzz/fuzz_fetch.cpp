// Caldren.Fetch through the real profile store on arbitrary file bytes.
//
// Every input becomes a data file and is fetched. A fetch may fail with the engine's error
// (that is the clear error a bad file must give) but must never crash. When it succeeds:
//   - Calculate runs and every result is read (errors allowed, crashes not);
//   - the record is saved, and the saved file must fetch again ("a file written by Save is
//     read back by Fetch"); saving that and fetching and saving once more must give the
//     same bytes (the file form is stable after one round).

#include "FuzzSupport.h"

#include <Factories.h>
#include <Record.h>
#include <vesmora/Vesmora.h>

#include <cstdint>
#include <string>

namespace {

using activation::ComError;
using Calc = activation::ComPtr<vesmora::_Caldren>;

// A fresh record fetched from `from` (nullptr when `fetchMayFail` and it fails), saved to
// `to`.
Calc FetchAndSave(const std::string& from, const std::string& to, bool fetchMayFail) {
    Calc c(vesmora::NewCaldren());
    std::string step = "fetch of " + from;
    try {
        c->Fetch(from);
        step = "save to " + to;
        ::unlink(to.c_str());
        c->Save(to);
    } catch (const ComError& e) {
        if (fetchMayFail && step.rfind("fetch", 0) == 0) return Calc();
        fuzzsupport::Finding(step + " failed with " + std::to_string(e.Number()) + ", source " +
                             e.Source() + "\n--- file ---\n" + fuzzsupport::ReadBytes(from));
    }
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = fuzzsupport::ScratchFile("input.cld");
    fuzzsupport::WriteBytes(input, std::string(reinterpret_cast<const char*>(data), size));
    const std::string saved[] = {fuzzsupport::ScratchFile("saved1.cld"),
                                 fuzzsupport::ScratchFile("saved2.cld"),
                                 fuzzsupport::ScratchFile("saved3.cld")};
    const Calc first = FetchAndSave(input, saved[0], true);
    if (!first) return 0;
    try {
        first->Calculate();
    } catch (const ComError&) {}
#define READ(n)                 \
    try {                       \
        (void)first->get_##n(); \
    } catch (const ComError&) {}
    VESMORA_AMOUNT_RESULTS(READ)
    VESMORA_RATIO5_RESULTS(READ)
    VESMORA_RATIO8_RESULTS(READ)
    READ(NeededWCPeak)
    READ(GrossProfitPercent)
#undef READ
    FetchAndSave(saved[0], saved[1], false);
    FetchAndSave(saved[1], saved[2], false);
    const std::string second = fuzzsupport::ReadBytes(saved[1]);
    if (const std::string third = fuzzsupport::ReadBytes(saved[2]); second != third)
        fuzzsupport::Finding("save, fetch, save is not stable:\n--- second ---\n" + second +
                             "\n--- third ---\n" + third);
    return 0;
}
