// The profile store on arbitrary file bytes.
//
// Every input: the bytes become the file; the entries found in it (and a few fixed ones)
// are read as text and as numbers. One input in eight also writes an entry and checks,
// through a fresh store, that the written value reads back and that every other entry
// still reads as before (a write never disturbs the rest of the file).

#include <profilestore/ProfileStore.h>

#include "FuzzSupport.h"

#include <activation/Com.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Pair = std::pair<std::string, std::string>;

// Section and key names as a careless reader would see them; only used to ask the store.
std::vector<Pair> Candidates(const std::string& text) {
    std::vector<Pair> pairs = {{"Caldren Formula Calculation", "Name"},
                               {"Caldren Formula Calculation", "Monthly Count"},
                               {"S", "A"}};
    std::string section;
    std::size_t start = 0;
    while (start < text.size() && pairs.size() < 64) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (!line.empty() && line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);  // npos - 1: the rest of the line
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            pairs.emplace_back(section, line.substr(0, eq));
        }
        start = end + 1;
    }
    return pairs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = fuzzsupport::ScratchFile("profile.ini");
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzzsupport::WriteBytes(file, text);
    const std::vector<Pair> pairs = Candidates(text);

    std::vector<std::string> before;
    try {
        profilestore::ProfileStore store;
        store.SetFileName(file);
        for (const Pair& p : pairs) {
            before.push_back(store.ReadEntry(p.first, p.second, "\x01missing"));
            (void)store.ReadNumber(p.first, p.second, -1);
        }
    } catch (const activation::ComError&) {
        return 0;  // a refused file (too large) is a clear error, not a finding
    }

    if (size == 0 || data[0] % 8 != 0) return 0;

    const std::string section = "Caldren Formula Calculation";
    const std::string key = "Fuzz Key";
    const std::string value = " v=1,234/5 - x ";
    try {
        profilestore::ProfileStore writer;
        writer.SetFileName(file);
        writer.WriteEntry(section, key, value);
    } catch (const activation::ComError& e) {
        if (e.Number() == 75) return 0;  // the file would pass the size bound
        fuzzsupport::Finding("WriteEntry failed: " + std::to_string(e.Number()) + " " + e.Source());
    }
    profilestore::ProfileStore reader;
    reader.SetFileName(file);
    if (reader.ReadEntry(section, key, "") != value)
        fuzzsupport::Finding("the written value does not read back");
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const std::string now = reader.ReadEntry(pairs[i].first, pairs[i].second, "\x01missing");
        if (now != before[i] && now != value)
            fuzzsupport::Finding("entry [" + pairs[i].first + "] " + pairs[i].second +
                                 " changed from \"" + before[i] + "\" to \"" + now + "\"");
    }
    return 0;
}
