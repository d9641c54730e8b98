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
#include <vesmora/Vesmora.h>

#include <cstdint>
#include <string>

#include <unistd.h>

namespace {

using activation::ComError;
using vesmora::_Caldren;

activation::ComPtr<_Caldren> NewRecord() {
    return activation::ComPtr<_Caldren>(vesmora::NewCaldren());
}

void ReadResults(_Caldren& c) {
    std::string sink;
    for (auto get :
         {&_Caldren::get_ExcessWCAve, &_Caldren::get_ExcessWCPeak, &_Caldren::get_NeededWCAve,
          &_Caldren::get_NeededWCPeak, &_Caldren::get_AvailableWC, &_Caldren::get_CostOfOperations,
          &_Caldren::get_OperatingCyclePeak, &_Caldren::get_APTurnRatioPeak,
          &_Caldren::get_ARTurnDaysAve, &_Caldren::get_InvTurnDaysAve,
          &_Caldren::get_GrossProfitPercent, &_Caldren::get_ExcessQuickAssetsPeak,
          &_Caldren::get_NetOperatingCycle, &_Caldren::get_AdjOperatingCycleAve,
          &_Caldren::get_APTurnDaysAve}) {
        try {
            sink += (c.*get)();
        } catch (const ComError&) {}
    }
}

std::string SaveTo(_Caldren& c, const std::string& path, const char* step) {
    ::unlink(path.c_str());
    try {
        c.Save(path);
    } catch (const ComError& e) {
        fuzzsupport::Finding(std::string(step) + ": Save failed with " +
                             std::to_string(e.Number()) + ", source " + e.Source());
    }
    return fuzzsupport::ReadBytes(path);
}

void FetchFrom(_Caldren& c, const std::string& path, const char* step) {
    try {
        c.Fetch(path);
    } catch (const ComError& e) {
        fuzzsupport::Finding(std::string(step) + ": a file written by Save does not fetch: " +
                             std::to_string(e.Number()) + ", source " + e.Source() +
                             "\n--- file ---\n" + fuzzsupport::ReadBytes(path));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = fuzzsupport::ScratchFile("input.cld");
    fuzzsupport::WriteBytes(input, data, size);

    auto first = NewRecord();
    try {
        first->Fetch(input);
    } catch (const ComError&) {
        return 0;
    }

    const std::string saved1 = fuzzsupport::ScratchFile("saved1.cld");
    const std::string saved2 = fuzzsupport::ScratchFile("saved2.cld");
    const std::string saved3 = fuzzsupport::ScratchFile("saved3.cld");
    SaveTo(*first, saved1, "first save");
    try {
        first->Calculate();
    } catch (const ComError&) {}
    ReadResults(*first);

    auto second = NewRecord();
    FetchFrom(*second, saved1, "second fetch");
    const std::string bytes2 = SaveTo(*second, saved2, "second save");
    auto third = NewRecord();
    FetchFrom(*third, saved2, "third fetch");
    const std::string bytes3 = SaveTo(*third, saved3, "third save");
    if (bytes2 != bytes3)
        fuzzsupport::Finding("save, fetch, save is not stable:\n--- second ---\n" + bytes2 +
                             "\n--- third ---\n" + bytes3);
    return 0;
}
