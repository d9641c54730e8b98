// The program's command-line parser (MainMod and the "/compare" names).
//
// The first byte picks the mode, the second holds flags; the rest, split at NUL bytes, are
// the program's arguments (a NUL never reaches a real argv, so it is the natural cut).
//
//   mode 0, raw:        the arguments are joined as the program joins them and every
//                       parser runs on the line. A parser may refuse the line with ComError
//                       5 but never crashes or throws anything else, and what it gives back
//                       must hold together: a switch is found only where a word begins and
//                       is the first such place; a file name is the text after its switch
//                       and one separator up to the line's first extension that ends a
//                       word (a blank or the line's end follows it); "/silent" is found
//                       exactly when IsSilent says so; an unknown switch named is a
//                       whole word of "/" and letters that no switch is; the compared
//                       names are pieces of the line, in order, each ending in ".cld".
//   mode 1, batch:      the first two pieces become a data file name and a report file name
//                       (with ".cld" and ".txt" added, switches and extensions in any case,
//                       the switch pairs in any order). When the names hold no extension
//                       that ends a word and no switch word of their own, the parser must
//                       give them back exactly, blanks, inner ".cld" and all, see
//                       "/silent", and find no unknown switch inside them.
//   mode 2, compare:    two to six pieces become the names after "/compare", followed by
//                       "/output" and "/silent"; they must come back exactly and in order.

#include "FuzzSupport.h"

#include <CompareRun.h>
#include <MainMod.h>
#include <activation/Com.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using activation::ComError;
namespace MainMod = caldren::MainMod;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool SameNoCase(const std::string& text, std::size_t at, const std::string& word) {
    if (at > text.size() || text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != Lower(word[i])) return false;
    return true;
}

bool ContainsNoCase(const std::string& text, const std::string& word) {
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at)
        if (SameNoCase(text, at, word)) return true;
    return false;
}

// The first place where `word` begins a word of the line, found the slow and obvious way.
std::size_t ReferenceSwitch(const std::string& line, const std::string& word) {
    for (std::size_t at = 0; at + word.size() <= line.size(); ++at)
        if ((at == 0 || line[at - 1] == ' ') && SameNoCase(line, at, word)) return at;
    return std::string::npos;
}

std::vector<std::string> Pieces(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            if (pieces.size() == 64) break;
            pieces.emplace_back();
        } else {
            pieces.back() += static_cast<char>(data[i]);
        }
    }
    return pieces;
}

// The arguments joined by the program's own code.
std::string Join(std::vector<std::string> args) {
    args.insert(args.begin(), "CaldrenCalc");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return MainMod::JoinCommandLine(static_cast<int>(args.size()), argv.data());
}

// A switch or an extension in the case picked by the flag bits.
std::string Cased(std::string word, unsigned bits) {
    for (std::size_t i = 0; i < word.size(); ++i)
        if (bits & (1u << (i % 8)))
            word[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[i])));
    return word;
}

// An extension at `at` that ends a word: a blank or the line's end follows it.
bool ExtensionAt(const std::string& line, std::size_t at, const std::string& extension) {
    const std::size_t end = at + extension.size();
    return SameNoCase(line, at, extension) && (end == line.size() || line[end] == ' ');
}

// A name the batch switches can carry back exactly: no extension that ends a word within it
// and no switch word of its own (in any case), so that the first ".cld"/".txt" that ends a
// word is the one added. An extension inside a word ("clients.cld-2025") is allowed.
bool PlainName(const std::string& name) {
    for (const char* word : {"/input", "/output", "/silent", "/compare"})
        if (ContainsNoCase(name, word)) return false;
    for (std::size_t at = 0; at < name.size(); ++at)
        if ((ExtensionAt(name, at, ".cld") || ExtensionAt(name, at, ".txt")) &&
            at + 4 < name.size())
            return false;
    return true;
}

// A name the compared list can carry back exactly: no extension at all (a compared name
// ends at its first ".cld") and no switch word.
bool PlainCompareName(const std::string& name) {
    return PlainName(name) && !ContainsNoCase(name, ".cld") && !ContainsNoCase(name, ".txt");
}

// True when `word` is made of "/" and letters, is no switch of the program, and stands as
// a whole word in the line.
bool UnknownSwitchWordOf(const std::string& line, const std::string& word) {
    bool letters = word.size() >= 2 && word[0] == '/';
    for (std::size_t i = 1; i < word.size() && letters; ++i)
        letters = std::isalpha(static_cast<unsigned char>(word[i])) != 0;
    for (const char* name : MainMod::kSwitches)
        if (word.size() == std::string(name).size() && SameNoCase(word, 0, name)) return false;
    const std::string padded = " " + line + " ";
    return letters && padded.find(" " + word + " ") != std::string::npos;
}

void CheckFilename(const std::string& line, const std::string& extension, const std::string& sw) {
    std::string name;
    try {
        name = MainMod::GetCommandLineFilename(line, extension, sw);
    } catch (const ComError& e) {
        if (e.Number() != 5)
            fuzzsupport::Finding("GetCommandLineFilename: error " + std::to_string(e.Number()));
        // Refused only when the line's first extension that ends a word begins before the
        // name would.
        const std::size_t at = ReferenceSwitch(line, sw);
        if (at == std::string::npos)
            fuzzsupport::Finding("GetCommandLineFilename refused a line without " + sw);
        bool before = false;
        for (std::size_t p = 0; p < at + sw.size() + 1 && !before; ++p)
            before = ExtensionAt(line, p, extension);
        if (!before)
            fuzzsupport::Finding("GetCommandLineFilename refused a name after " + sw +
                                 " that holds its extension");
        return;
    }
    const std::size_t at = ReferenceSwitch(line, sw);
    if (at == std::string::npos) {
        if (!name.empty())
            fuzzsupport::Finding("a name without its switch " + sw + ": [" + name + "]");
        return;
    }
    const std::size_t start = at + sw.size() + 1;
    if (name.empty()) {
        // No extension that ends a word anywhere in the line.
        for (std::size_t p = 0; p < line.size(); ++p)
            if (ExtensionAt(line, p, extension))
                fuzzsupport::Finding("no name after " + sw + " although the line holds " +
                                     extension);
        return;
    }
    if (line.compare(start, name.size(), name) != 0)
        fuzzsupport::Finding("the name after " + sw + " is not the text of the line: [" + name +
                             "]");
    const std::size_t end = start + name.size();
    if (name.size() < extension.size() || !ExtensionAt(line, end - extension.size(), extension))
        fuzzsupport::Finding("the name after " + sw + " does not end in " + extension +
                             " at a word's end: [" + name + "]");
    // It ends at the first extension of the whole line that ends a word.
    for (std::size_t p = 0; p + extension.size() < end; ++p)
        if (ExtensionAt(line, p, extension))
            fuzzsupport::Finding("the name after " + sw + " runs past the first " + extension +
                                 ": [" + name + "]");
}

void Raw(const std::vector<std::string>& args) {
    const std::string line = Join(args);
    for (const char* sw : {"/silent", "/input", "/output", "/compare"}) {
        if (MainMod::FindSwitch(line, sw) != ReferenceSwitch(line, sw))
            fuzzsupport::Finding(std::string("FindSwitch ") + sw +
                                 " is not the first place a word begins with it");
    }
    if (MainMod::IsSilent(line) != (ReferenceSwitch(line, "/silent") != std::string::npos))
        fuzzsupport::Finding("IsSilent disagrees with the switch search");
    CheckFilename(line, ".cld", "/input");
    CheckFilename(line, ".txt", "/output");
    if (const std::string unknown = MainMod::UnknownSwitch(line);
        !unknown.empty() && !UnknownSwitchWordOf(line, unknown))
        fuzzsupport::Finding("UnknownSwitch gives [" + unknown +
                             "], which is no unknown switch word of the line");

    const bool compare = Reports::HasCompareSwitch(line);
    const std::vector<std::string> names = Reports::GetCompareFileNames(line);
    if (!compare && !names.empty()) fuzzsupport::Finding("compared names without /compare");
    std::size_t from = 0;
    for (const std::string& n : names) {
        if (n.size() < 4 || !SameNoCase(n, n.size() - 4, ".cld"))
            fuzzsupport::Finding("a compared name that does not end in .cld: [" + n + "]");
        const std::size_t at = line.find(n, from);
        if (at == std::string::npos)
            fuzzsupport::Finding("a compared name that is not in the line, in order: [" + n + "]");
        from = at + n.size();
    }
    if (names.size() > line.size() / 4)
        fuzzsupport::Finding("more compared names than the line can hold");

    std::vector<std::string> argStore(args);
    argStore.insert(argStore.begin(), "CaldrenCalc");
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    bool help = false;
    for (const std::string& a : args) help = help || a == "--help" || a == "-h" || a == "/?";
    if (MainMod::WantsHelp(static_cast<int>(argStore.size()), argv.data()) != help)
        fuzzsupport::Finding("WantsHelp disagrees with the arguments");
}

void Batch(unsigned flags, const std::vector<std::string>& pieces) {
    if (pieces.size() < 2 || !PlainName(pieces[0]) || !PlainName(pieces[1])) return;
    const std::string input = pieces[0] + Cased(".cld", flags >> 3);
    const std::string output = pieces[1] + Cased(".txt", flags >> 5);
    const std::vector<std::string> inPair{Cased("/input", flags), input};
    const std::vector<std::string> outPair{Cased("/output", flags >> 1), output};
    const std::vector<std::string> silent{Cased("/silent", flags >> 2)};
    std::vector<std::vector<std::string>> groups{inPair, outPair, silent};
    // One of the six orders of the three groups.
    const unsigned order = (flags >> 6) % 6;
    static const int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                      {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    std::vector<std::string> args;
    for (int g : kOrders[order]) args.insert(args.end(), groups[g].begin(), groups[g].end());
    const std::string line = Join(args);

    if (!MainMod::IsSilent(line)) fuzzsupport::Finding("/silent not seen in [" + line + "]");
    const std::string gotIn = MainMod::GetCommandLineFilename(line, ".cld", "/input");
    const std::string gotOut = MainMod::GetCommandLineFilename(line, ".txt", "/output");
    if (gotIn != input)
        fuzzsupport::Finding("input name [" + gotIn + "], typed [" + input + "] in [" + line + "]");
    if (gotOut != output)
        fuzzsupport::Finding("output name [" + gotOut + "], typed [" + output + "] in [" + line +
                             "]");
    if (Reports::HasCompareSwitch(line)) fuzzsupport::Finding("/compare seen in [" + line + "]");
    if (!MainMod::UnknownSwitch(line).empty())
        fuzzsupport::Finding("an unknown switch inside the names of [" + line + "]");
}

void Compare(unsigned flags, const std::vector<std::string>& pieces) {
    const std::size_t count = std::min<std::size_t>(pieces.size(), 6);
    if (count < 2) return;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        if (!PlainCompareName(pieces[i])) return;
        names.push_back(pieces[i] + Cased(".cld", flags >> i));
    }
    std::vector<std::string> args{Cased("/compare", flags)};
    args.insert(args.end(), names.begin(), names.end());
    for (const char* tail : {"/output", "cmp.txt", "/silent"}) args.emplace_back(tail);
    const std::string line = Join(args);
    if (!Reports::HasCompareSwitch(line))
        fuzzsupport::Finding("/compare not seen in [" + line + "]");
    const std::vector<std::string> got = Reports::GetCompareFileNames(line);
    if (got != names) {
        std::string text = "compared names in [" + line + "]:";
        for (const auto& g : got) text += " [" + g + "]";
        fuzzsupport::Finding(text);
    }
    if (MainMod::GetCommandLineFilename(line, ".txt", "/output") != "cmp.txt")
        fuzzsupport::Finding("the output name after the compared names in [" + line + "]");
    if (!MainMod::UnknownSwitch(line).empty())
        fuzzsupport::Finding("an unknown switch inside the names of [" + line + "]");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned mode = data[0] % 3;
    const unsigned flags = data[1];
    const std::vector<std::string> pieces = Pieces(data + 2, size - 2);
    switch (mode) {
        case 0:
            Raw(pieces);
            break;
        case 1:
            Batch(flags, pieces);
            break;
        default:
            Compare(flags, pieces);
            break;
    }
    return 0;
}
