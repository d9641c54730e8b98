#include "CommandLine.h"

#include "ErrorPaths.h"
#include "ToolCommands.h"

#include <ReportCompare.h>
#include <activation/Com.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace caldren::CommandLine {

using activation::ComError;

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// First occurrence of `what` in `text` at or after `from`, without regard to case.
std::size_t FindNoCase(const std::string& text, const std::string& what, std::size_t from = 0) {
    if (what.empty()) return from <= text.size() ? from : std::string::npos;
    if (from > text.size()) return std::string::npos;
    auto it =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), what.begin(),
                    what.end(), [](char a, char b) { return Lower(a) == Lower(b); });
    return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
}

bool MatchesAt(const std::string& line, std::size_t pos, const char* word) {
    const std::size_t n = std::strlen(word);
    if (pos > line.size() || line.size() - pos < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (Lower(line[pos + i]) != Lower(word[i])) return false;
    return true;
}

bool EndsWord(const std::string& line, std::size_t end) {
    return end == line.size() || line[end] == ' ';
}

// The switch where a word begins and ends (a blank or the line's end follows it).
std::size_t FindWholeWord(const std::string& line, const std::string& word) {
    for (std::size_t p = FindNoCase(line, word); p != std::string::npos;
         p = FindNoCase(line, word, p + 1)) {
        if ((p == 0 || line[p - 1] == ' ') && EndsWord(line, p + word.size())) return p;
    }
    return std::string::npos;
}

// The one rule of every name: it ends with an occurrence of its extension that ends a word.
// The first such occurrence at or after `from`.
std::size_t FindExtension(const std::string& text, const std::string& extension,
                          std::size_t from = 0) {
    for (std::size_t pos = FindNoCase(text, extension, from); pos != std::string::npos;
         pos = FindNoCase(text, extension, pos + 1)) {
        if (EndsWord(text, pos + extension.size())) return pos;
    }
    return std::string::npos;
}

const Switch& Find(std::string_view text) {
    for (const Switch& s : kSwitches)
        if (text == s.text) return s;
    throw ComError(5, "CommandLine.Find", activation::StandardErrorText(5));
}

// Where the name after a whole-word switch lies: [first, second).
std::pair<std::size_t, std::size_t> NameSpanAfter(const std::string& line, const char* switchText,
                                                  const char* extension) {
    const std::size_t at = FindWholeWord(line, switchText);
    if (at == std::string::npos) return {std::string::npos, std::string::npos};
    const std::size_t start = at + std::strlen(switchText) + 1;
    const std::size_t ext = FindExtension(line, extension, start);
    if (ext == std::string::npos) return {std::string::npos, std::string::npos};
    return {start, ext + std::strlen(extension)};
}

// A whole word at `pos` that ends a list of compared names: a switch of the batch run
// (a tool's switch is not one; a line with a tool is the tool's).
bool EndsNameList(const std::string& line, std::size_t pos) {
    for (const Switch& s : kSwitches)
        if (s.kind != SwitchKind::Tool && MatchesAt(line, pos, s.text) &&
            EndsWord(line, pos + std::strlen(s.text)))
            return true;
    return false;
}

// Where the file names lie in the line: after "/input", "/output" and "/compare", or the
// whole line up to its ".cld" when it names a data file alone (without any switch).
std::vector<std::pair<std::size_t, std::size_t>> NameSpans(const std::string& line) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (const Switch* sw : {&Find("/input"), &Find("/output"), &Find("/workpaper")}) {
        try {
            const std::string name = GetCommandLineFilename(line, sw->extension, sw->text);
            const std::size_t at = FindSwitch(line, sw->text) + std::strlen(sw->text) + 1;
            if (!name.empty()) spans.emplace_back(at, at + name.size());
        } catch (const ComError&) {}
    }
    // The tools' data files, and next year's file after "/output".
    auto add = [&spans](std::pair<std::size_t, std::size_t> span) {
        if (span.first != std::string::npos) spans.push_back(span);
    };
    for (const Switch& s : kSwitches)
        if (s.kind == SwitchKind::Tool) add(NameSpanAfter(line, s.text, s.extension));
    add(NameSpanAfter(line, "/output", ".cld"));
    std::size_t from = 0;
    for (const std::string& name : GetCompareFileNames(line)) {
        from = line.find(name, from);
        spans.emplace_back(from, from + name.size());
        from += name.size();
    }
    // A data file named alone: no known switch stands anywhere as a word of its own.
    const bool switches =
        std::any_of(std::begin(kSwitches), std::end(kSwitches), [&](const Switch& s) {
            const std::size_t at = FindSwitch(line, s.text);
            return at != std::string::npos && EndsWord(line, at + std::strlen(s.text));
        });
    const std::size_t alone = FindExtension(line, ".cld");
    if (spans.empty() && !switches && alone != std::string::npos) spans.emplace_back(0, alone + 4);
    return spans;
}

Command UsageError(std::string message, const std::string& usage) {
    Command command;
    command.kind = Kind::UsageError;
    command.message = "CaldrenCalc: " + std::move(message) + "\n" + usage;
    return command;
}

// "/check <data file>" or "/rollforward <data file> /output <new data file>".
Command ParseTool(const std::string& line) {
    const bool check = FindWholeWord(line, "/check") != std::string::npos;
    const bool rollforward = FindWholeWord(line, "/rollforward") != std::string::npos;
    Command command;
    if (check && !rollforward) {
        command.dataFile = NameAfter(line, "/check", Find("/check").extension);
        if (command.dataFile.empty())
            return UsageError("/check needs a data file (a name ending in .cld).",
                              ToolCommands::Usage());
        command.kind = Kind::Check;
        return command;
    }
    command.dataFile = NameAfter(line, "/rollforward", Find("/rollforward").extension);
    command.outputFile = NameAfter(line, "/output", ".cld");
    if (!check && !command.dataFile.empty() && !command.outputFile.empty()) {
        command.kind = Kind::NextYear;
        return command;
    }
    return UsageError(check ? "/check and /rollforward cannot be given together."
                            : "/rollforward needs a data file and /output with a new data file "
                              "(names ending in .cld).",
                      ToolCommands::Usage());
}

const Switch* KnownSwitch(const std::string& argument) {
    for (const Switch& s : kSwitches)
        if (argument.size() == std::strlen(s.text) && MatchesAt(argument, 0, s.text)) return &s;
    return nullptr;
}

bool EndsInSummaryExtension(const std::string& name) {
    return std::any_of(std::begin(kSummaryExtensions), std::end(kSummaryExtensions),
                       [&](const char* ext) {
                           const std::size_t n = std::strlen(ext);
                           return name.size() > n && MatchesAt(name, name.size() - n, ext);
                       });
}

// "/summary <folder or data file> ... /output <file>.csv|.xlsx [/recursive]", read from the
// arguments as given: each name is one argument, so a folder "/clients" is no switch.
Command ParseSummary(int argc, char** argv) {
    Command command;
    command.kind = Kind::Summary;
    bool named = false;  // "/summary" seen: a word that is no switch is a name
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const Switch* sw = KnownSwitch(argument);
        const std::string text = sw ? sw->text : "";
        if (!sw && named) {
            command.summaryNames.push_back(argument);
        } else if (text == "/summary") {
            named = true;
            while (i + 1 < argc && !KnownSwitch(argv[i + 1]))
                command.summaryNames.push_back(argv[++i]);
        } else if (text == "/output") {
            std::string name;
            while (i + 1 < argc && !EndsInSummaryExtension(name))
                name += (name.empty() ? "" : " ") + std::string(argv[++i]);
            if (!EndsInSummaryExtension(name))
                return UsageError("/output needs the summary file's name, ending in .csv or .xlsx.",
                                  Usage());
            command.outputFile = name;
        } else if (text == "/recursive") {
            command.recursive = true;
        } else if (text != "/silent") {
            return UsageError(argument + (sw ? " cannot be given with /summary."
                                             : " is not a folder or data file of /summary (it "
                                               "comes before the switch)."),
                              Usage());
        }
    }
    if (command.summaryNames.empty() || command.outputFile.empty())
        return UsageError(
            "/summary needs folders or data files and /output <summary file>.csv or .xlsx.",
            Usage());
    return command;
}

}  // namespace

std::string JoinCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

bool WantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h" || a == "/?") return true;
    }
    return false;
}

std::size_t FindSwitch(const std::string& commandLine, const std::string& switchText) {
    for (std::size_t pos = FindNoCase(commandLine, switchText); pos != std::string::npos;
         pos = FindNoCase(commandLine, switchText, pos + 1)) {
        if (pos == 0 || commandLine[pos - 1] == ' ') return pos;
    }
    return std::string::npos;
}

bool IsSilent(const std::string& commandLine) {
    return FindSwitch(commandLine, "/silent") != std::string::npos;
}

std::string GetCommandLineFilename(const std::string& commandLine, const std::string& extension,
                                   const std::string& switchText) {
    const std::size_t at = FindSwitch(commandLine, switchText);
    if (at == std::string::npos) return std::string();
    const std::size_t start = at + switchText.size() + 1;
    const std::size_t ext = FindExtension(commandLine, extension);
    if (ext == std::string::npos) return std::string();
    const std::size_t end = ext + extension.size();
    // The name holds its whole extension: an occurrence that begins before the name (as in
    // "/output.txt", where the separator would be the extension's own dot) gives no name.
    if (ext < start) {
        throw ComError(5, "MainMod.GetCommandLineFilename", activation::StandardErrorText(5));
    }
    return commandLine.substr(start, end - start);
}

std::string NameAfter(const std::string& commandLine, const std::string& switchText,
                      const std::string& extension) {
    const auto [start, end] = NameSpanAfter(commandLine, switchText.c_str(), extension.c_str());
    return start == std::string::npos ? std::string() : commandLine.substr(start, end - start);
}

bool HasCompareSwitch(const std::string& commandLine) {
    return FindWholeWord(commandLine, "/compare") != std::string::npos;
}

std::vector<std::string> GetCompareFileNames(const std::string& commandLine) {
    std::vector<std::string> names;
    const std::size_t sw = FindWholeWord(commandLine, "/compare");
    if (sw == std::string::npos) return names;
    std::size_t pos = sw + 8 + 1;  // the switch and one separator
    while (pos < commandLine.size()) {
        if (EndsNameList(commandLine, pos)) break;
        const std::size_t ext = FindExtension(commandLine, ".cld", pos);
        if (ext == std::string::npos) break;
        const std::size_t end = ext + 4;
        names.push_back(commandLine.substr(pos, end - pos));
        pos = end + 1;  // past the blank that ends the name
    }
    return names;
}

std::string UnknownSwitch(const std::string& commandLine) {
    const auto spans = NameSpans(commandLine);
    for (std::size_t pos = 0; pos <= commandLine.size();) {
        std::size_t end = commandLine.find(' ', pos);
        if (end == std::string::npos) end = commandLine.size();
        std::string word = commandLine.substr(pos, end - pos);
        const bool inName = std::any_of(spans.begin(), spans.end(), [&](const auto& s) {
            return pos >= s.first && end <= s.second;
        });
        // A word of "/" and letters only ("/silent", "/silnt") outside the file names.
        if (!inName && word.size() >= 2 && word[0] == '/' &&
            std::all_of(word.begin() + 1, word.end(),
                        [](unsigned char c) { return std::isalpha(c); })) {
            std::string lower = word;
            std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
            if (std::none_of(std::begin(kSwitches), std::end(kSwitches),
                             [&](const Switch& s) { return lower == s.text; }))
                return word;
        }
        pos = end + 1;
    }
    return {};
}

Command Parse(int argc, char** argv) {
    Command command;
    if (WantsHelp(argc, argv)) {
        command.kind = Kind::Help;
        return command;
    }
    for (int i = 1; i < argc; ++i)
        if (const Switch* sw = KnownSwitch(argv[i]); sw && std::strcmp(sw->text, "/summary") == 0)
            return ParseSummary(argc, argv);
    const std::string line = JoinCommandLine(argc, argv);
    if (const std::string unknown = UnknownSwitch(line); !unknown.empty())
        return UsageError(unknown + " is not a switch of this program.", Usage());
    if (std::any_of(std::begin(kSwitches), std::end(kSwitches), [&](const Switch& s) {
            return s.kind == SwitchKind::Tool && FindWholeWord(line, s.text) != std::string::npos;
        }))
        return ParseTool(line);

    bool silent = false;
    std::string location = "MainMod.IsSilent";
    try {
        if (!line.empty()) {
            silent = IsSilent(line);
            location = "MainMod.GetCommandLineFilename";
            const Switch& input = Find("/input");
            const Switch& output = Find("/output");
            command.dataFile = GetCommandLineFilename(line, input.extension, input.text);
            command.outputFile = GetCommandLineFilename(line, output.extension, output.text);
            const Switch& workpaper = Find("/workpaper");
            command.workpaperFile =
                GetCommandLineFilename(line, workpaper.extension, workpaper.text);
        }
    } catch (const ComError& e) {
        command.kind = Kind::NameError;
        command.failure = {e.Number(), e.Description(), ErrorPaths::ReporterLocation(location, e)};
        return command;
    }

    const bool workpaper = FindSwitch(line, "/workpaper") != std::string::npos;
    if (workpaper && (!silent || HasCompareSwitch(line) || command.workpaperFile.empty()))
        return UsageError(
            "/workpaper <workbook>.xlsx belongs to a batch run (/input, /output "
            "and /silent).",
            Usage());
    if (HasCompareSwitch(line)) {
        command.compareFiles = GetCompareFileNames(line);
        const std::size_t count = command.compareFiles.size();
        if (!silent || command.outputFile.empty() || count < Reports::kCompareMinFiles ||
            count > Reports::kCompareMaxFiles)
            return UsageError(
                "/compare needs two to six data files (each ending in .cld), /output <report "
                "file>.txt and /silent.",
                Usage());
        command.kind = Kind::Compare;
        return command;
    }
    if (silent) {
        if (command.dataFile.empty() || command.outputFile.empty())
            return UsageError(std::string(command.dataFile.empty() ? "/input <data file>.cld"
                                                                   : "/output <report file>.txt") +
                                  " is missing.",
                              Usage());
        command.kind = Kind::BatchRun;
        command.headings = FindWholeWord(line, Find("/headings").text) != std::string::npos;
        command.corrected = FindWholeWord(line, Find("/corrected").text) != std::string::npos;
        return command;
    }
    // A data file named alone opens at start, the chooser skipped. (Options of the window
    // toolkit, such as "-style fusion", are no file name.)
    if (!line.empty() && line[0] != '-' && FindSwitch(line, "/input") == std::string::npos &&
        FindSwitch(line, "/output") == std::string::npos)
        command.startFile = line;
    return command;
}

std::string Usage() {
    return "Usage:\n"
           "  CaldrenCalc /input <data file>.cld /output <report file>.txt /silent\n"
           "              [/headings] [/corrected]\n"
           "      Batch run: appends the Detailed Analysis and the Summary reports of the\n"
           "      data file to the report file (created when missing), saves the data file\n"
           "      with this program's version, and opens no window. Switches may come in\n"
           "      any order and case; names may hold blanks. Exit status 0 when both reports\n"
           "      were written, 1 when the run failed (the error is on stderr and in\n"
           "      CLD_err.log), 2 when /input or /output is missing or a switch is unknown.\n"
           "      /headings: before each run's reports the run's heading (a line of \"=\", the\n"
           "      data file, the year end, the date and time of the run) and before each\n"
           "      report the client's name, second line and the report's title, as the\n"
           "      viewer shows them. /corrected: the report texts' misspellings and\n"
           "      mislabels corrected (listed in the guide). Each is also a setting of the\n"
           "      Options menu, which a batch run follows too.\n"
           "  CaldrenCalc /compare <data file>.cld <data file>.cld ... /output <report file>.txt\n"
           "              /silent\n"
           "      Batch comparison of two to six data files, one column per file ordered by\n"
           "      year end, appended to the report file. The data files are not changed.\n"
           "      Exit status 0 when every file was compared, 1 when a file failed (its\n"
           "      column says why; the others are still written) or nothing was written,\n"
           "      2 when the names or /output are missing.\n"
           "  CaldrenCalc /input <data file>.cld /output <report file>.txt /silent\n"
           "              /workpaper <workbook>.xlsx\n"
           "      The batch run above, which also writes the analysis as a workbook whose\n"
           "      formulas compute it (replaced when it exists). Exit status as above.\n"
           "  CaldrenCalc /summary <folder or data file> ... /output <summary>.csv|.xlsx\n"
           "              [/recursive]\n"
           "      One row per data file (every .cld of a folder; /recursive: of its\n"
           "      subfolders too): the client, the methods, available working capital,\n"
           "      cost of operations and each method's cycle, working capital needed and\n"
           "      excess, largest excess first. The files are only read. Quote a name that\n"
           "      holds blanks. Exit status 0 when every file was read, 1 when any failed\n"
           "      (its row says why) or the summary was not written, 2 for a usage error.\n" +
           ToolCommands::Usage() +
           "  CaldrenCalc [<data file>.cld]\n"
           "      Starts the program's windows, opening the data file when one is named.\n"
           "  CaldrenCalc --help\n"
           "      Shows this text.\n";
}

}  // namespace caldren::CommandLine
