// The program's command-line parser (CommandLine: its rules and the command it makes).
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
//                       The command is the usage exactly when the arguments ask for it.
//   mode 1, batch:      the first two pieces become a data file name and a report file name
//                       (with ".cld" and ".txt" added, switches and extensions in any case,
//                       the switch pairs in any order). When the names hold no extension
//                       that ends a word and no switch word of their own, the command must
//                       be a batch run with the names exactly, blanks, inner ".cld" and all.
//   mode 2, compare:    two to six pieces become the names after "/compare", followed by
//                       "/output" and "/silent": the command must be a comparison of the
//                       names, exactly and in order, into the output file.

#include "FuzzSupport.h"

#include <CommandLine.h>
#include <activation/Com.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using activation::ComError;
namespace Line = caldren::CommandLine;

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool SameNoCase(const std::string& text, std::size_t at, const std::string& word) {
    return at <= text.size() && Lowered(text.substr(at, word.size())) == Lowered(word);
}

bool ContainsNoCase(const std::string& text, const std::string& word) {
    return Lowered(text).find(Lowered(word)) != std::string::npos;
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

// The arguments as the program gets them, after its name.
struct Args {
    explicit Args(const std::vector<std::string>& args) : store(args) {
        store.insert(store.begin(), "CaldrenCalc");
        for (auto& a : store) argv.push_back(a.data());
        argv.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(store.size()); }
    std::string Joined() { return Line::JoinCommandLine(Count(), argv.data()); }
    Line::Command Parse() { return Line::Parse(Count(), argv.data()); }

    std::vector<std::string> store;
    std::vector<char*> argv;
};

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
// and no switch of the program (in any case; a tool's switch makes the line the tool's), so
// that the first ".cld"/".txt" that ends a word is the one added. An extension inside a word
// ("clients.cld-2025") is allowed.
bool PlainName(const std::string& name) {
    for (const auto& sw : Line::kSwitches)
        if (ContainsNoCase(name, sw.text)) return false;
    for (std::size_t at = 0; at < name.size(); ++at)
        if ((ExtensionAt(name, at, ".cld") || ExtensionAt(name, at, ".txt")) &&
            at + 4 < name.size())
            return false;
    return true;
}

// A name the compared list can carry back exactly: no extension at all (a compared name
// ends at its first ".cld" that ends a word) and no switch word.
bool PlainCompareName(const std::string& name) {
    return PlainName(name) && !ContainsNoCase(name, ".cld") && !ContainsNoCase(name, ".txt");
}

// True when `word` is made of "/" and letters, is no switch of the program, and stands as
// a whole word in the line.
bool UnknownSwitchWordOf(const std::string& line, const std::string& word) {
    bool letters = word.size() >= 2 && word[0] == '/';
    for (std::size_t i = 1; i < word.size() && letters; ++i)
        letters = std::isalpha(static_cast<unsigned char>(word[i])) != 0;
    for (const auto& sw : Line::kSwitches)
        if (Lowered(word) == Lowered(sw.text)) return false;
    const std::string padded = " " + line + " ";
    return letters && padded.find(" " + word + " ") != std::string::npos;
}

// The name after `sw`: the text after the switch and one separator up to the line's first
// extension that ends a word; refused (error 5) when that extension begins before the name
// would; empty without the switch or without such an extension.
void CheckFilename(const std::string& line, const std::string& extension, const std::string& sw) {
    std::size_t first = 0;
    while (first < line.size() && !ExtensionAt(line, first, extension)) ++first;
    const std::size_t at = ReferenceSwitch(line, sw), start = at + sw.size() + 1;
    const std::string expected = at == std::string::npos || first == line.size() ? ""
                                 : first < start
                                     ? "error 5"
                                     : line.substr(start, first + extension.size() - start);
    std::string got;
    try {
        got = Line::GetCommandLineFilename(line, extension, sw);
    } catch (const ComError& e) {
        got = "error " + std::to_string(e.Number());
    }
    if (got != expected)
        fuzzsupport::Finding("the name after " + sw + " is [" + got + "], not [" + expected +
                             "], in [" + line + "]");
}

void Raw(const std::vector<std::string>& args) {
    Args a(args);
    const std::string line = a.Joined();
    for (const char* sw : {"/silent", "/input", "/output", "/compare"}) {
        if (Line::FindSwitch(line, sw) != ReferenceSwitch(line, sw))
            fuzzsupport::Finding(std::string("FindSwitch ") + sw +
                                 " is not the first place a word begins with it");
    }
    if (Line::IsSilent(line) != (ReferenceSwitch(line, "/silent") != std::string::npos))
        fuzzsupport::Finding("IsSilent disagrees with the switch search");
    CheckFilename(line, ".cld", "/input");
    CheckFilename(line, ".txt", "/output");
    if (const std::string unknown = Line::UnknownSwitch(line);
        !unknown.empty() && !UnknownSwitchWordOf(line, unknown))
        fuzzsupport::Finding("UnknownSwitch gives [" + unknown +
                             "], which is no unknown switch word of the line");

    const bool compare = Line::HasCompareSwitch(line);
    const std::vector<std::string> names = Line::GetCompareFileNames(line);
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

    bool help = false;
    for (const std::string& arg : args)
        help = help || arg == "--help" || arg == "-h" || arg == "/?";
    if ((a.Parse().kind == Line::Kind::Help) != help)
        fuzzsupport::Finding("the usage asked for and the command disagree");
}

void Batch(unsigned flags, const std::vector<std::string>& pieces) {
    if (pieces.size() < 2 || !PlainName(pieces[0]) || !PlainName(pieces[1])) return;
    const std::string input = pieces[0] + Cased(".cld", flags >> 3);
    const std::string output = pieces[1] + Cased(".txt", flags >> 5);
    const std::vector<std::string> groups[] = {{Cased("/input", flags), input},
                                               {Cased("/output", flags >> 1), output},
                                               {Cased("/silent", flags >> 2)}};
    // One of the six orders of the three groups.
    int order[] = {0, 1, 2};
    for (unsigned k = (flags >> 6) % 6; k > 0; --k) std::next_permutation(order, order + 3);
    std::vector<std::string> args;
    for (int g : order) args.insert(args.end(), groups[g].begin(), groups[g].end());
    Args a(args);
    const Line::Command c = a.Parse();
    if (c.kind != Line::Kind::BatchRun || c.dataFile != input || c.outputFile != output)
        fuzzsupport::Finding("no batch run of [" + input + "] into [" + output + "] in [" +
                             a.Joined() + "]: [" + c.dataFile + "] [" + c.outputFile + "] " +
                             c.message);
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
    Args a(args);
    const Line::Command c = a.Parse();
    if (c.kind != Line::Kind::Compare || c.compareFiles != names || c.outputFile != "cmp.txt") {
        std::string text = "no comparison into cmp.txt in [" + a.Joined() + "]: " + c.message;
        for (const auto& g : c.compareFiles) text += " [" + g + "]";
        fuzzsupport::Finding(text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned mode = data[0] % 3;
    const unsigned flags = data[1];
    const std::vector<std::string> pieces = Pieces(data + 2, size - 2);
    if (mode == 0)
        Raw(pieces);
    else if (mode == 1)
        Batch(flags, pieces);
    else
        Compare(flags, pieces);
    return 0;
}
