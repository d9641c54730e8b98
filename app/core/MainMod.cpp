#include "MainMod.h"

#include "BatchFailure.h"
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
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <system_error>

#include <dlfcn.h>

#ifndef CALDREN_VERSION_MAJOR
#error "CALDREN_VERSION_MAJOR, _MINOR and _REVISION come from the project version"
#endif

namespace fs = std::filesystem;

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

std::string ReadWholeFile(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// Keeps a data file's bytes so that a failed run leaves it as it was.
class InputGuard {
public:
    explicit InputGuard(const std::string& path) : m_path(path) {
        if (!FileOperations::FileExists(path)) return;
        // A link is followed, as the data file's own save follows it.
        std::error_code ec;
        if (fs::is_symlink(path, ec)) {
            const fs::path target = fs::canonical(path, ec);
            if (ec) return;
            m_path = target.string();
        }
        m_bytes = ReadWholeFile(m_path, m_ok);
    }
    void Restore() const {
        if (!m_ok) return;
        bool ok = false;
        const std::string now = ReadWholeFile(m_path, ok);
        if (ok && now == m_bytes) return;
        std::error_code ec;
        const fs::perms perms = fs::status(m_path, ec).permissions();
        const std::string temp = m_path + ".restore~";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(m_bytes.data(), static_cast<std::streamsize>(m_bytes.size()));
            if (!out.flush()) {
                fs::remove(temp, ec);
                return;
            }
        }
        if (!ec) fs::permissions(temp, perms, ec);
        fs::rename(temp, m_path, ec);
        if (ec) fs::remove(temp, ec);
    }

private:
    std::string m_path;
    std::string m_bytes;
    bool m_ok = false;
};

// Remembers whether the report file existed and how long it was, so that a failed run
// takes back what it appended (and removes a file it created).
class OutputGuard {
public:
    explicit OutputGuard(const std::string& path) : m_path(path) {
        std::error_code ec;
        m_existed = fs::exists(path, ec);
        if (m_existed && fs::is_regular_file(path, ec)) m_size = fs::file_size(path, ec);
        if (ec) m_size.reset();
    }
    void Restore() const {
        std::error_code ec;
        if (!m_existed) {
            if (fs::is_regular_file(m_path, ec)) fs::remove(m_path, ec);
            return;
        }
        if (m_size && fs::is_regular_file(m_path, ec) && fs::file_size(m_path, ec) > *m_size) {
            fs::resize_file(m_path, *m_size, ec);
        }
    }

private:
    std::string m_path;
    bool m_existed = false;
    std::optional<std::uintmax_t> m_size;
};

void SetVersionTexts(RunState& state) {
    state.versionTag = "CLD" + std::to_string(CALDREN_VERSION_MAJOR) + "." +
                       std::to_string(CALDREN_VERSION_MINOR);
    state.fullVersion = state.versionTag + "." + std::to_string(CALDREN_VERSION_REVISION);
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
    const std::string library = state.programFolder + "/" + kGuiLibraryName;
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

bool IsSilent(const std::string& commandLine) {
    return FindSwitch(commandLine, "/silent") != std::string::npos;
}

std::string GetCommandLineFilename(const std::string& commandLine, const std::string& extension,
                                   const std::string& switchText) {
    const std::size_t at = FindSwitch(commandLine, switchText);
    if (at == std::string::npos) return std::string();
    const std::size_t start = at + switchText.size() + 1;
    const std::size_t ext = FindNoCase(commandLine, extension);
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
           "      CLD_err.log), 2 when /input or /output is missing.\n"
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

void ReportBatchFailure(RunState& state, long number, const std::string& description,
                        const std::string& location) {
    // "CaldrenCalc: error 13 (Type mismatch): Caldren Formula Calculator", then the
    // location and the source chain, newest first, one per line.
    std::string text = "CaldrenCalc: error " + std::to_string(number);
    const std::string standard = activation::StandardErrorText(number);
    if (!standard.empty() && standard != description) text += " (" + standard + ")";
    text += ": " + description + "\n";
    bool first = true;
    std::size_t begin = 0;
    while (begin <= location.size()) {
        std::size_t cr = location.find('\r', begin);
        if (cr == std::string::npos) cr = location.size();
        const std::string part = location.substr(begin, cr - begin);
        if (!part.empty()) {
            text += (first ? "  Location: " : "    from:   ") + part + "\n";
            first = false;
        }
        begin = cr + 1;
    }
    std::cerr << text << std::flush;
    try {
        Reporter::LogBatchFailure(state, number, description, location);
    } catch (const std::exception& e) {
        std::cerr << "CaldrenCalc: the error log " << state.errorLogPath
                  << " could not be written: " << e.what() << "\n";
    }
}

int RunSilent(RunState& state) {
    // A batch run produces the Summary and the Detailed Analysis reports only.
    state.rptSummary = 1;
    state.rptDetail = 1;
    state.rptInput = 0;

    std::error_code ec;
    if (fs::is_directory(state.currentFileName, ec)) {
        std::cerr << state.currentFileName << " is a folder, not a data file.\n";
        return kExitFailure;
    }
    if (fs::is_directory(state.outputFileName, ec)) {
        std::cerr << state.outputFileName << " is a folder, not a report file.\n";
        return kExitFailure;
    }

    const InputGuard input(state.currentFileName);
    const OutputGuard output(state.outputFileName);
    try {
        try {
            if (!FileOperations::OpenFile(state, state.currentFileName)) {
                // "<name> does not exist." has been shown; nothing was written.
                return kExitFailure;
            }
            BatchReportsHost host(state.outputFileName);
            if (!Reports::RouteOutput(state, Reports::kFile, host)) {
                if (host.Failure()) throw *host.Failure();
                throw BatchFailure{17, "The reports were not written to " + state.outputFileName + ".",
                                   "MainMod.RunSilent"};
            }
            return kExitOk;
        } catch (const std::exception& e) {
            ErrorPaths::LogThenShutDown(state, ErrorPaths::AsComError(e), "MainMod.RunSilent");
            throw BatchFailure{5, e.what(), "MainMod.RunSilent"};
        }
    } catch (const BatchFailure& failure) {
        input.Restore();
        output.Restore();
        ReportBatchFailure(state, failure.number, failure.description, failure.location);
        return kExitFailure;
    }
}

int RunCompare(RunState& state, const std::vector<std::string>& names) {
    std::error_code ec;
    if (fs::is_directory(state.outputFileName, ec)) {
        std::cerr << state.outputFileName << " is a folder, not a report file.\n";
        return kExitFailure;
    }
    try {
        const Reports::CompareRunResult result =
            Reports::RunCompareToFile(names, state.outputFileName, [] {
                return activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
            });
        for (const auto& failure : result.failures)
            ReportBatchFailure(state, failure.number, failure.Text(), "MainMod.RunCompare");
        return result.Ok() ? kExitOk : kExitFailure;
    } catch (const ComError& e) {
        // The output file could not be written: it is as it was.
        ReportBatchFailure(state, e.Number(), e.Description(),
                           ErrorPaths::ReporterLocation("MainMod.RunCompare", e));
    } catch (const std::exception& e) {
        ReportBatchFailure(state, 5, e.what(), "MainMod.RunCompare");
    }
    return kExitFailure;
}

int Main(RunState& state, int argc, char** argv) {
    if (WantsHelp(argc, argv)) {
        std::cout << Usage();
        return kExitOk;
    }

    // Program folder, help file and version texts.
    state.programFolder = activation::ProgramFolder();
    state.helpFile = state.programFolder + "/" + kHelpFileName;
    SetVersionTexts(state);
    state.errorLogPath = Settings::ErrorLogPath(state.programFolder);

    // The command line.
    const std::string commandLine = JoinCommandLine(argc, argv);
    if (ToolCommands::IsToolCommand(commandLine))  // "/rollforward", "/check": headless tools
        return ToolCommands::Run(commandLine, state.versionTag, std::cout, std::cerr);
    state.batch = false;
    std::string location = "MainMod.IsSilent";
    try {
        if (!commandLine.empty()) {
            state.batch = IsSilent(commandLine);
            location = "MainMod.GetCommandLineFilename";
            state.currentFileName = GetCommandLineFilename(commandLine, ".cld", "/input");
            state.outputFileName = GetCommandLineFilename(commandLine, ".txt", "/output");
        }
    } catch (const ComError& e) {
        // No window is up yet and no data is held: the error is shown and the run ends.
        ReportBatchFailure(state, e.Number(), e.Description(),
                           ErrorPaths::ReporterLocation(location, e));
        return kExitFailure;
    }

    if (Reports::HasCompareSwitch(commandLine)) {
        // The comparison of several years is a batch run of its own.
        const std::vector<std::string> names = Reports::GetCompareFileNames(commandLine);
        if (!state.batch || state.outputFileName.empty() || names.size() < 2 || names.size() > 6) {
            std::cerr << "CaldrenCalc: /compare needs two to six data files (each ending in "
                         ".cld), /output <report file>.txt and /silent.\n"
                      << Usage();
            return kExitUsage;
        }
        BatchUi batchUi;
        state.ui = &batchUi;
        const int code = RunCompare(state, names);
        state.ui = nullptr;
        return code;
    }

    if (state.batch) {
        if (state.currentFileName.empty() || state.outputFileName.empty()) {
            std::cerr << "CaldrenCalc: "
                      << (state.currentFileName.empty() ? "/input <data file>.cld"
                                                        : "/output <report file>.txt")
                      << " is missing.\n"
                      << Usage();
            return kExitUsage;
        }
        BatchUi batchUi;
        state.ui = &batchUi;
        int code = kExitFailure;
        try {
            state.engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
            code = RunSilent(state);
        } catch (const ComError& e) {
            ReportBatchFailure(state, e.Number(), e.Description(),
                               ErrorPaths::ReporterLocation("MainMod.Main", e));
        } catch (const BatchFailure& f) {
            ReportBatchFailure(state, f.number, f.description, f.location);
        }
        state.engine.Reset();
        state.ui = nullptr;
        return code;
    }

    // Interactive start. A data file named alone opens at start, the chooser skipped.
    // (Options of the window toolkit, such as "-style fusion", are no file name.)
    if (!commandLine.empty() && commandLine[0] != '-' &&
        FindSwitch(commandLine, "/input") == std::string::npos &&
        FindSwitch(commandLine, "/output") == std::string::npos) {
        state.startFile = commandLine;
    }
    try {
        state.engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    } catch (const ComError& e) {
        ReportBatchFailure(state, e.Number(), e.Description(),
                           ErrorPaths::ReporterLocation("MainMod.Main", e));
        return kExitFailure;
    }
    state.SetSaved(true);
    return StartWindows(state, argc, argv);
}

}  // namespace caldren::MainMod
