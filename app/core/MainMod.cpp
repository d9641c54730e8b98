#include "MainMod.h"

#include "BatchFailure.h"
#include "BatchFiles.h"
#include "BatchReportsHost.h"
#include "BatchUi.h"
#include "ErrorPaths.h"
#include "FileOperations.h"
#include "GuiEntry.h"
#include "ReporterBridge.h"
#include "RouteOutput.h"
#include "RunState.h"
#include "Settings.h"
#include "ToolCommands.h"

#include <CompareRun.h>
#include <activation/Activation.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

#include <dlfcn.h>
#include <sys/stat.h>

#ifndef CALDREN_VERSION_MAJOR
#error "CALDREN_VERSION_MAJOR, _MINOR and _REVISION come from the project version"
#endif

namespace caldren::MainMod {

using activation::ComError;

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// First occurrence of `what` in `text` at or after `from`, without regard to case.
std::size_t FindNoCase(const std::string& text, const std::string& what, std::size_t from = 0) {
    if (what.empty()) return from <= text.size() ? from : std::string::npos;
    auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())),
                          text.end(), what.begin(), what.end(),
                          [](char a, char b) { return Lower(a) == Lower(b); });
    return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
}

// First occurrence of the extension that ends a word: a blank or the line's end follows.
std::size_t FindExtension(const std::string& text, const std::string& extension) {
    for (std::size_t pos = FindNoCase(text, extension); pos != std::string::npos;
         pos = FindNoCase(text, extension, pos + 1)) {
        const std::size_t end = pos + extension.size();
        if (end == text.size() || text[end] == ' ') return pos;
    }
    return std::string::npos;
}

void SetVersionTexts(RunState& state) {
    state.program.versionTag =
        "CLD" + std::to_string(CALDREN_VERSION_MAJOR) + "." + std::to_string(CALDREN_VERSION_MINOR);
    state.program.fullVersion =
        state.program.versionTag + "." + std::to_string(CALDREN_VERSION_REVISION);
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

int StartWindows(RunState& state, int argc, char** argv) {
    // Without any display the window toolkit would abort the process; say what to do.
    if (!HasDisplay()) {
        std::cerr << "CaldrenCalc: there is no display (DISPLAY, WAYLAND_DISPLAY and "
                     "QT_QPA_PLATFORM are unset), so the program's windows cannot start.\n"
                  << "A batch run needs no display:\n"
                  << Usage();
        return kExitFailure;
    }
    const std::string library = state.program.programFolder + "/" + kGuiLibraryName;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        std::cerr << "CaldrenCalc: the window library " << library
                  << " cannot be loaded, so the program cannot start its windows"
                  << (why ? std::string(" (") + why + ")" : std::string()) << ".\n"
                  << "A batch run needs no windows:\n"
                  << Usage();
        return kExitFailure;
    }
    auto entry = reinterpret_cast<GuiMainFunction>(::dlsym(handle, kGuiEntrySymbol));
    if (!entry) {
        std::cerr << "CaldrenCalc: " << library << " has no entry point " << kGuiEntrySymbol
                  << ".\n";
        return kExitFailure;
    }
    // The library stays loaded until the process ends.
    return entry(&state, argc, argv);
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

std::size_t FindSwitch(const std::string& commandLine, const std::string& switchText) {
    for (std::size_t pos = FindNoCase(commandLine, switchText); pos != std::string::npos;
         pos = FindNoCase(commandLine, switchText, pos + 1)) {
        if (pos == 0 || commandLine[pos - 1] == ' ') return pos;
    }
    return std::string::npos;
}

namespace {

// Where the file names lie in the line: after "/input", "/output" and "/compare", or the
// whole line up to its ".cld" when it names a data file alone (without any switch).
std::vector<std::pair<std::size_t, std::size_t>> NameSpans(const std::string& line) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (const auto& [extension, switchText] :
         {std::pair{".cld", "/input"}, std::pair{".txt", "/output"}}) {
        try {
            const std::string name = GetCommandLineFilename(line, extension, switchText);
            const std::size_t at = FindSwitch(line, switchText) + std::strlen(switchText) + 1;
            if (!name.empty()) spans.emplace_back(at, at + name.size());
        } catch (const ComError&) {}
    }
    std::size_t from = 0;
    for (const std::string& name : Reports::GetCompareFileNames(line)) {
        from = line.find(name, from);
        spans.emplace_back(from, from + name.size());
        from += name.size();
    }
    // A data file named alone: no known switch stands anywhere as a word of its own.
    const bool switches =
        std::any_of(std::begin(kSwitches), std::end(kSwitches), [&](const char* name) {
            const std::size_t at = FindSwitch(line, name), end = at + std::strlen(name);
            return at != std::string::npos && (end == line.size() || line[end] == ' ');
        });
    const std::size_t alone = FindExtension(line, ".cld");
    if (spans.empty() && !switches && alone != std::string::npos) spans.emplace_back(0, alone + 4);
    return spans;
}

struct SwitchWord {
    std::size_t at;
    std::string typed;
    std::string lower;
};

// The words of the line made of "/" and letters only ("/silent", "/silnt"), outside the
// file names: a folder "/Shared Folder" holds such a word, but inside a name.
std::vector<SwitchWord> SwitchWords(const std::string& line) {
    const auto spans = NameSpans(line);
    std::vector<SwitchWord> words;
    for (std::size_t pos = 0; pos <= line.size();) {
        std::size_t end = line.find(' ', pos);
        if (end == std::string::npos) end = line.size();
        const std::string word = line.substr(pos, end - pos);
        const bool inName = std::any_of(spans.begin(), spans.end(), [&](const auto& s) {
            return pos >= s.first && end <= s.second;
        });
        if (!inName && word.size() >= 2 && word[0] == '/' &&
            std::all_of(word.begin() + 1, word.end(),
                        [](unsigned char c) { return std::isalpha(c); })) {
            std::string lower = word;
            std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
            words.push_back({pos, word, lower});
        }
        pos = end + 1;
    }
    return words;
}

}  // namespace

std::string UnknownSwitch(const std::string& commandLine) {
    for (const SwitchWord& w : SwitchWords(commandLine)) {
        if (std::none_of(std::begin(kSwitches), std::end(kSwitches),
                         [&](const char* name) { return w.lower == name; }))
            return w.typed;
    }
    return {};
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

bool WantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h" || a == "/?") return true;
    }
    return false;
}

std::string Usage() {
    return "Usage:\n"
           "  CaldrenCalc /input <data file>.cld /output <report file>.txt /silent\n"
           "      Batch run: appends the Detailed Analysis and the Summary reports of the\n"
           "      data file to the report file (created when missing), saves the data file\n"
           "      with this program's version, and opens no window. Switches may come in\n"
           "      any order and case; names may hold blanks. Exit status 0 when both reports\n"
           "      were written, 1 when the run failed (the error is on stderr and in\n"
           "      CLD_err.log), 2 when /input or /output is missing or a switch is unknown.\n"
           "  CaldrenCalc /compare <data file>.cld <data file>.cld ... /output <report file>.txt\n"
           "              /silent\n"
           "      Batch comparison of two to six data files, one column per file ordered by\n"
           "      year end, appended to the report file. The data files are not changed.\n"
           "      Exit status 0 when every file was compared, 1 when a file failed (its\n"
           "      column says why; the others are still written) or nothing was written,\n"
           "      2 when the names or /output are missing.\n" +
           ToolCommands::Usage() +
           "  CaldrenCalc [<data file>.cld]\n"
           "      Starts the program's windows, opening the data file when one is named.\n"
           "  CaldrenCalc --help\n"
           "      Shows this text.\n";
}

void ReportBatchFailure(RunState& state, const BatchFailure& failure) {
    // "CaldrenCalc: error 11: Division by zero", the file and the entry concerned, then the
    // location and the source chain, newest first, one per line.
    std::string text = "CaldrenCalc: error " + std::to_string(failure.number) + ": " +
                       ErrorText(failure.number, failure.description, failure.location) + "\n";
    if (!failure.file.empty()) text += "  File:     " + failure.file + "\n";
    if (!failure.entry.empty()) text += "  Entry:    " + failure.entry + "\n";
    bool first = true;
    std::size_t begin = 0;
    while (begin <= failure.location.size()) {
        std::size_t cr = failure.location.find('\r', begin);
        if (cr == std::string::npos) cr = failure.location.size();
        const std::string part = failure.location.substr(begin, cr - begin);
        if (!part.empty()) {
            text += (first ? "  Location: " : "    from:   ") + part + "\n";
            first = false;
        }
        begin = cr + 1;
    }
    std::cerr << text << std::flush;
    try {
        Reporter::LogBatchFailure(state, failure.number, LogDescription(failure), failure.location);
    } catch (const std::exception& e) {
        std::cerr << "CaldrenCalc: the error log " << state.program.errorLogPath
                  << " could not be written: " << e.what() << "\n";
    }
}

int RunSilent(RunState& state) {
    // A batch run produces the Summary and the Detailed Analysis reports only.
    state.preferences.rptSummary = 1;
    state.preferences.rptDetail = 1;
    state.preferences.rptInput = 0;

    const std::string& dataFile = state.document.currentFileName;
    std::optional<BatchFiles::ReportFile> report;
    try {
        try {
            report.emplace(state.options.outputFileName);
            struct stat st {};
            if (::stat(dataFile.c_str(), &st) != 0 && errno == ENOENT) {
                FileOperations::OpenFile(state, dataFile);  // "<name> does not exist."
                throw BatchFailure{
                    53, activation::StandardErrorText(53), "MainMod.RunSilent", dataFile, {}};
            }
            const BatchFiles::DataFile data(dataFile);
            report->RefuseSameAs(data.Id(), dataFile);
            if (!FileOperations::OpenFile(state, dataFile))
                throw BatchFailure{
                    53, activation::StandardErrorText(53), "MainMod.RunSilent", dataFile, {}};
            BatchReportsHost host;
            if (!Reports::RouteOutput(state, host, *report)) {
                if (host.Failure()) throw *host.Failure();
                throw BatchFailure{
                    17,
                    "The reports were not written to " + state.options.outputFileName + ".",
                    "MainMod.RunSilent",
                    state.options.outputFileName,
                    {}};
            }
            return kExitOk;
        } catch (const ComError& e) {
            throw BatchFailure{e.Number(),
                               e.Description(),
                               ErrorPaths::ReporterLocation("MainMod.RunSilent", e),
                               {},
                               {}};
        } catch (const std::exception& e) {
            ErrorPaths::LogThenShutDown(state, ErrorPaths::AsComError(e), "MainMod.RunSilent");
            throw BatchFailure{5, e.what(), "MainMod.RunSilent", {}, {}};
        }
    } catch (BatchFailure& failure) {
        if (report) report->TakeBack();
        if (failure.file.empty()) {
            const bool aboutReport =
                failure.location.find("BatchFiles.ReportFile") != std::string::npos;
            failure.file = aboutReport ? state.options.outputFileName : dataFile;
        }
        if (failure.entry.empty()) failure.entry = RefusedEntry(failure.location);
        ReportBatchFailure(state, failure);
        return kExitFailure;
    }
}

int RunCompare(RunState& state, const std::vector<std::string>& names) {
    try {
        BatchFiles::ReportFile report(state.options.outputFileName);
        for (const std::string& name : names) {
            struct stat st {};
            if (::stat(name.c_str(), &st) == 0) report.RefuseSameAs({st.st_dev, st.st_ino}, name);
        }
        const Reports::CompareRunResult result = Reports::BuildCompareRun(names, [] {
            return activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        });
        for (const auto& failure : result.failures)
            ReportBatchFailure(
                state,
                {failure.number, failure.Text(), "MainMod.RunCompare", failure.fileName, {}});
        report.Append(result.text);
        return result.Ok() ? kExitOk : kExitFailure;
    } catch (const ComError& e) {
        // The output file could not be written: it is as it was.
        ReportBatchFailure(state, {e.Number(),
                                   e.Description(),
                                   ErrorPaths::ReporterLocation("MainMod.RunCompare", e),
                                   state.options.outputFileName,
                                   {}});
    } catch (const std::exception& e) {
        ReportBatchFailure(state,
                           {5, e.what(), "MainMod.RunCompare", state.options.outputFileName, {}});
    }
    return kExitFailure;
}

int Main(RunState& state, int argc, char** argv) {
    if (WantsHelp(argc, argv)) {
        std::cout << Usage();
        return kExitOk;
    }

    // Program folder, help file and version texts.
    state.program.programFolder = activation::ProgramFolder();
    state.program.helpFile = state.program.programFolder + "/" + kHelpFileName;
    SetVersionTexts(state);
    state.program.errorLogPath = Settings::ErrorLogPath(state.program.programFolder);

    // A write to a closed pipe or past the file-size limit fails with EPIPE or EFBIG and
    // takes the error path like any other failed write, instead of ending the process.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);

    // The command line.
    const std::string commandLine = JoinCommandLine(argc, argv);
    if (const std::string unknown = UnknownSwitch(commandLine); !unknown.empty()) {
        std::cerr << "CaldrenCalc: " << unknown << " is not a switch of this program.\n" << Usage();
        return kExitUsage;
    }
    if (ToolCommands::IsToolCommand(commandLine))  // "/rollforward", "/check": headless tools
        return ToolCommands::Run(commandLine, state.program.versionTag, std::cout, std::cerr);
    state.options.batch = false;
    std::string location = "MainMod.IsSilent";
    try {
        if (!commandLine.empty()) {
            state.options.batch = IsSilent(commandLine);
            location = "MainMod.GetCommandLineFilename";
            state.document.currentFileName = GetCommandLineFilename(commandLine, ".cld", "/input");
            state.options.outputFileName = GetCommandLineFilename(commandLine, ".txt", "/output");
        }
    } catch (const ComError& e) {
        // No window is up yet and no data is held: the error is shown and the run ends.
        ReportBatchFailure(
            state,
            {e.Number(), e.Description(), ErrorPaths::ReporterLocation(location, e), {}, {}});
        return kExitFailure;
    }

    if (Reports::HasCompareSwitch(commandLine)) {
        // The comparison of several years is a batch run of its own.
        const std::vector<std::string> names = Reports::GetCompareFileNames(commandLine);
        if (!state.options.batch || state.options.outputFileName.empty() || names.size() < 2 ||
            names.size() > 6) {
            std::cerr << "CaldrenCalc: /compare needs two to six data files (each ending in "
                         ".cld), /output <report file>.txt and /silent.\n"
                      << Usage();
            return kExitUsage;
        }
        BatchUi batchUi;
        state.SetUi(&batchUi);
        const int code = RunCompare(state, names);
        state.SetUi(nullptr);
        return code;
    }

    if (state.options.batch) {
        if (state.document.currentFileName.empty() || state.options.outputFileName.empty()) {
            std::cerr << "CaldrenCalc: "
                      << (state.document.currentFileName.empty() ? "/input <data file>.cld"
                                                                 : "/output <report file>.txt")
                      << " is missing.\n"
                      << Usage();
            return kExitUsage;
        }
        BatchUi batchUi;
        state.SetUi(&batchUi);
        int code = kExitFailure;
        try {
            state.document.engine =
                activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
            code = RunSilent(state);
        } catch (const ComError& e) {
            ReportBatchFailure(state, {e.Number(),
                                       e.Description(),
                                       ErrorPaths::ReporterLocation("MainMod.Main", e),
                                       {},
                                       {}});
        } catch (const BatchFailure& f) {
            ReportBatchFailure(state, f);
        }
        state.document.engine.Reset();
        state.SetUi(nullptr);
        return code;
    }

    // Interactive start. A data file named alone opens at start, the chooser skipped.
    // (Options of the window toolkit, such as "-style fusion", are no file name.)
    if (!commandLine.empty() && commandLine[0] != '-' &&
        FindSwitch(commandLine, "/input") == std::string::npos &&
        FindSwitch(commandLine, "/output") == std::string::npos) {
        state.options.startFile = commandLine;
    }
    try {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    } catch (const ComError& e) {
        ReportBatchFailure(
            state,
            {e.Number(), e.Description(), ErrorPaths::ReporterLocation("MainMod.Main", e), {}, {}});
        return kExitFailure;
    }
    std::signal(SIGPIPE, SIG_DFL);
    std::signal(SIGXFSZ, SIG_DFL);
    state.document.SetSaved(true);
    return StartWindows(state, argc, argv);
}

}  // namespace caldren::MainMod
