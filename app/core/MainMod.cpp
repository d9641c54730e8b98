#include "MainMod.h"

#include "BatchFailure.h"
#include "BatchFiles.h"
#include "BatchReportsHost.h"
#include "BatchUi.h"
#include "CommandLine.h"
#include "Console.h"
#include "ErrorPaths.h"
#include "FileOperations.h"
#include "GuiEntry.h"
#include "ReporterBridge.h"
#include "RouteOutput.h"
#include "RunState.h"
#include "Settings.h"
#include "StopSignals.h"
#include "SummaryCommand.h"
#include "ToolCommands.h"

#include <CompareRun.h>
#include <activation/Activation.h>
#include <analysis/Analyzer.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

#include <dlfcn.h>
#include <sys/stat.h>

#ifndef CALDREN_VERSION_MAJOR
#error "CALDREN_VERSION_MAJOR, _MINOR and _REVISION come from the project version"
#endif

namespace caldren::MainMod {

using activation::ComError;

namespace {

// The program folder, help file, version texts and error log.
void SetProgramInfo(ProgramInfo& program) {
    program.programFolder = activation::ProgramFolder();
    program.helpFile = program.programFolder + "/" + kHelpFileName;
    program.versionTag =
        "CLD" + std::to_string(CALDREN_VERSION_MAJOR) + "." + std::to_string(CALDREN_VERSION_MINOR);
    program.fullVersion = program.versionTag + "." + std::to_string(CALDREN_VERSION_REVISION);
    program.errorLogPath = Settings::ErrorLogPath(program.programFolder);
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
        Console::Err(
            "CaldrenCalc: there is no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are "
            "unset), so the program's windows cannot start.\nA batch run needs no display:\n" +
            CommandLine::Usage());
        return kExitFailure;
    }
    const std::string library = state.program.programFolder + "/" + kGuiLibraryName;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        Console::Err("CaldrenCalc: the window library " + library +
                     " cannot be loaded, so the program cannot start its windows" +
                     (why ? std::string(" (") + why + ")" : std::string()) +
                     ".\nA batch run needs no windows:\n" + CommandLine::Usage());
        return kExitFailure;
    }
    auto entry = reinterpret_cast<GuiMainFunction>(::dlsym(handle, kGuiEntrySymbol));
    if (!entry) {
        Console::Err("CaldrenCalc: " + library + " has no entry point " + kGuiEntrySymbol + ".\n");
        return kExitFailure;
    }
    // The library stays loaded until the process ends.
    return entry(&state, argc, argv);
}

// Makes engine objects of the class found at the first call: the registry is read and the
// library's class factory asked for once. A class that cannot be found is looked for again
// at the next call, and fails the same way.
std::function<vesmora::ComPtr<vesmora::_Caldren>()> EngineMaker() {
    auto found = std::make_shared<std::optional<activation::ClassObject>>();
    return [found] {
        if (!*found) found->emplace(vesmora::kProgID_Caldren);
        return (*found)->Create<vesmora::_Caldren>();
    };
}

// The windows: the engine, then the window library. The names the line gave become the
// current and output file names; a data file named alone opens at start.
int StartInteractive(RunState& state, const CommandLine::Command& command, int argc, char** argv) {
    state.options.batch = false;
    state.document.currentFileName = command.dataFile;
    state.options.outputFileName = command.outputFile;
    state.options.startFile = command.startFile;
    try {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    } catch (const ComError& e) {
        ReportBatchFailure(
            state.program,
            {e.Number(), e.Description(), ErrorPaths::ReporterLocation("MainMod.Main", e), {}, {}});
        return kExitFailure;
    }
    std::signal(SIGPIPE, SIG_DFL);
    std::signal(SIGXFSZ, SIG_DFL);
    state.document.SetSaved(true);
    return StartWindows(state, argc, argv);
}

// The notes of a run (what it found wrong and set right on its way) go to the error log.
BatchFiles::Notes LogNotes(ProgramInfo& program, const char* location) {
    return [&program, location](long number, const std::string& text, const std::string& file) {
        try {
            Reporter::LogBatchFailure(program, number,
                                      LogDescription(BatchFailure{number, text, location, file}),
                                      location);
        } catch (const std::exception&) {
            // A note that cannot be logged is no reason to stop the run.
        }
    };
}

}  // namespace

int RunBatch(RunState& state, const std::string& dataFile, const std::string& outputFile) {
    state.options.batch = true;
    state.document.currentFileName = dataFile;
    state.options.outputFileName = outputFile;
    BatchUi batchUi;
    state.SetUi(&batchUi);
    int code = kExitFailure;
    try {
        state.document.newEngine = EngineMaker();
        state.document.engine = state.document.NewEngine();
        code = RunSilent(state);
    } catch (const ComError& e) {
        ReportBatchFailure(
            state.program,
            {e.Number(), e.Description(), ErrorPaths::ReporterLocation("MainMod.Main", e), {}, {}});
    } catch (const BatchFailure& f) {
        ReportBatchFailure(state.program, f);
    }
    state.document.engine.Reset();
    state.document.newEngine = nullptr;
    state.SetUi(nullptr);
    return code;
}

void ReportBatchFailure(ProgramInfo& program, const BatchFailure& failure) {
    // "CaldrenCalc: error 11: Division by zero", the file and the entry concerned, who has
    // the file open in the windows when that stopped the run, then the location and the
    // source chain, newest first, one per line.
    std::string text = "CaldrenCalc: error " + std::to_string(failure.number) + ": " +
                       ErrorText(failure.number, failure.description, failure.location) + "\n";
    if (!failure.file.empty()) text += "  File:     " + failure.file + "\n";
    if (!failure.entry.empty()) text += "  Entry:    " + failure.entry + "\n";
    const std::string holder = HeldBy(failure.location);
    if (!holder.empty()) text += "  Held by:  " + holder + "\n";
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
    Console::Err(text);
    try {
        Reporter::LogBatchFailure(program, failure.number, LogDescription(failure),
                                  failure.location);
    } catch (const std::exception& e) {
        Console::Err("CaldrenCalc: the error log " + program.errorLogPath +
                     " could not be written: " + e.what() + "\n");
    }
}

int RunSilent(RunState& state) {
    // A batch run produces the Summary and the Detailed Analysis reports only.
    state.preferences.rptSummary = 1;
    state.preferences.rptDetail = 1;
    state.preferences.rptInput = 0;
    // The Options menu's report options count as the switches do; nothing else is read.
    Settings::ReadReportOptionsForBatch(state.preferences, state.program.programFolder);

    const std::string& dataFile = state.document.currentFileName;
    std::optional<BatchFiles::ReportFile> report;
    try {
        try {
            report.emplace(state.options.outputFileName,
                           LogNotes(state.program, "MainMod.RunSilent"));
            struct stat st {};
            if (::stat(dataFile.c_str(), &st) != 0 && errno == ENOENT) {
                FileOperations::OpenFile(state, dataFile);  // "<name> does not exist."
                throw BatchFailure{
                    53, activation::StandardErrorText(53), "MainMod.RunSilent", dataFile, {}};
            }
            const BatchFiles::DataFile data(dataFile, LogNotes(state.program, "MainMod.RunSilent"));
            StopSignals::ThrowIfNoted();
            report->RefuseSameAs(data.Id(), dataFile);
            if (!FileOperations::OpenFile(state, dataFile))
                throw BatchFailure{
                    53, activation::StandardErrorText(53), "MainMod.RunSilent", dataFile, {}};
            StopSignals::ThrowIfNoted();
            BatchReportsHost host(Reports::WithHeadings(state.options, state.preferences));
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
            ErrorPaths::LogThenShutDown(state.program, state.options, ErrorPaths::AsComError(e),
                                        "MainMod.RunSilent");
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
        ReportBatchFailure(state.program, failure);
        return kExitFailure;
    }
}

int RunCompare(ProgramInfo& program, const std::string& outputFile,
               const std::vector<std::string>& names) {
    try {
        BatchFiles::ReportFile report(outputFile, LogNotes(program, "MainMod.RunCompare"));
        for (const std::string& name : names) {
            struct stat st {};
            if (::stat(name.c_str(), &st) == 0) report.RefuseSameAs({st.st_dev, st.st_ino}, name);
        }
        const Reports::CompareRunResult result = Reports::BuildCompareRun(names, EngineMaker());
        StopSignals::ThrowIfNoted();
        for (const auto& failure : result.failures) {
            // The location with the engine's chain, so that a refused entry is named.
            const std::string location = failure.source.empty()
                                             ? "MainMod.RunCompare"
                                             : "MainMod.RunCompare\r" + failure.source;
            ReportBatchFailure(program, {failure.number, failure.Text(), location, failure.fileName,
                                         RefusedEntry(location)});
        }
        report.Append(result.text);
        report.Commit();
        return result.Ok() ? kExitOk : kExitFailure;
    } catch (const ComError& e) {
        // The output file could not be written: it is as it was.
        ReportBatchFailure(program, {e.Number(),
                                     e.Description(),
                                     ErrorPaths::ReporterLocation("MainMod.RunCompare", e),
                                     outputFile,
                                     {}});
    } catch (const std::exception& e) {
        ReportBatchFailure(program, {5, e.what(), "MainMod.RunCompare", outputFile, {}});
    }
    return kExitFailure;
}

int Main(RunState& state, int argc, char** argv) {
    const CommandLine::Command command = CommandLine::Parse(argc, argv);
    if (command.kind == CommandLine::Kind::Help) {
        Console::Out(CommandLine::Usage());
        return kExitOk;
    }
    SetProgramInfo(state.program);
    // A write to a closed pipe or past the file-size limit fails with EPIPE or EFBIG and
    // takes the error path like any other failed write, instead of ending the process.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);

    switch (command.kind) {
        case CommandLine::Kind::UsageError:
            Console::Err(command.message);
            return kExitUsage;
        case CommandLine::Kind::NameError:
            // No window is up yet and no data is held: the error is shown and the run ends.
            ReportBatchFailure(state.program, command.failure);
            return kExitFailure;
        case CommandLine::Kind::Check: {
            Console::Stream out(stdout), err(stderr);
            return ToolCommands::RunCheck(command.dataFile, out, err, analysis::NewEngine);
        }
        case CommandLine::Kind::NextYear: {
            const StopSignals::Watch stop;
            Console::Stream out(stdout), err(stderr);
            return StopSignals::ExitCode(ToolCommands::RunRollforward(
                command.dataFile, command.outputFile, state.program.versionTag, out, err,
                analysis::NewEngine));
        }
        case CommandLine::Kind::Compare: {
            const StopSignals::Watch stop;
            return StopSignals::ExitCode(
                RunCompare(state.program, command.outputFile, command.compareFiles));
        }
        case CommandLine::Kind::BatchRun: {
            const StopSignals::Watch stop;
            state.options.reportHeadings = command.headings;
            state.options.correctedWording = command.corrected;
            state.options.workpaperFileName = command.workpaperFile;
            return StopSignals::ExitCode(RunBatch(state, command.dataFile, command.outputFile));
        }
        case CommandLine::Kind::Summary:
            return SummaryCommand::RunSummary(state.program, command.summaryNames,
                                              command.recursive, command.outputFile);
        case CommandLine::Kind::Help:
        case CommandLine::Kind::Interactive:
            break;
    }
    return StartInteractive(state, command, argc, argv);
}

}  // namespace caldren::MainMod
