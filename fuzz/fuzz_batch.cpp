// A whole batch run on an arbitrary data file, in-process and without any window.
//
// Every input becomes the data file of a batch run ("/input <file>.cld /output <file>.txt
// /silent"), run by Main's own batch branch (MainMod::RunBatch: BatchUi, the engine's class
// found through the activation layer, then RunSilent: lock and open, Detailed Analysis and
// Summary built and appended to the report file, save with the program's version). The
// report file is missing before the run for one input in three and holds earlier text
// otherwise. One input in four also runs the batch comparison (MainMod::RunCompare) of the
// file with the shipped sample file.
//
// What must hold, whatever the bytes:
//   - no crash, sanitizer report or exception out of the batch path; the exit code is 0 or 1;
//   - a failed run leaves the data file byte-identical and the report file as it was (still
//     missing, or the same bytes);
//   - a run that succeeds has appended to the report file (the earlier text kept in front),
//     every report line ends in CR LF, and the data file it saved opens again in a fresh
//     engine object;
//   - the comparison never changes either data file and only appends to the report file;
//   - no temporary file is left beside the data file or the report file (the data file's
//     lock file stays: it is never removed).

#include "FuzzSupport.h"

#include <MainMod.h>
#include <RunState.h>
#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#ifndef CALDREN_DEMO_SOURCE
#error "CALDREN_DEMO_SOURCE names the shipped sample data file"
#endif

namespace fs = std::filesystem;

namespace {

using activation::ComError;
namespace MainMod = caldren::MainMod;

const char kEarlier[] = "Earlier reports of this client\r\n";

// Swallows what the batch path prints on stderr (one line per refused input would drown
// the fuzzer's own output). CALDREN_FUZZ_VERBOSE=1 keeps it.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c == traits_type::eof() ? 0 : c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

struct Place {
    std::string folder;
    std::string input;
    std::string output;
    std::string log;
    std::string demo;
};

const Place& Places() {
    static const Place place = [] {
        Place p;
        p.folder = fuzzsupport::ScratchFile("batch");
        fs::create_directories(p.folder);
        p.input = p.folder + "/client 2026.cld";
        p.output = p.folder + "/client reports.txt";
        p.log = fuzzsupport::ScratchFile("CLD_err.log");
        p.demo = fuzzsupport::ScratchFile("DEMO.CLD");
        const std::string demo = fuzzsupport::ReadBytes(CALDREN_DEMO_SOURCE);
        if (demo.empty()) fuzzsupport::Finding("cannot read the sample file " CALDREN_DEMO_SOURCE);
        fuzzsupport::WriteBytes(p.demo, reinterpret_cast<const unsigned char*>(demo.data()),
                                demo.size());
        return p;
    }();
    return place;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    return names;
}

void CheckNoStrayFiles(const Place& p, const char* step) {
    for (const std::string& name : FolderEntries(p.folder)) {
        if (name != "client 2026.cld" && name != "client reports.txt" &&
            name != ".client 2026.cld.lock")
            fuzzsupport::Finding(std::string(step) +
                                 ": a file is left beside the data file: " + name);
    }
}

void CheckCrLf(const std::string& text, std::size_t from, const char* step) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            fuzzsupport::Finding(std::string(step) +
                                 ": a report line ends in a bare line feed at byte " +
                                 std::to_string(i));
    }
    if (text.size() < from + 2 || text.compare(text.size() - 2, 2, "\r\n") != 0)
        fuzzsupport::Finding(std::string(step) + ": the appended reports do not end in CR LF");
}

caldren::RunState NewState(const Place& p) {
    caldren::RunState state;
    state.program.programFolder = fs::path(p.folder).parent_path().string();
    state.program.versionTag = "CLD2026.12";
    state.program.fullVersion = "CLD2026.12.1";
    state.program.errorLogPath = p.log;
    return state;
}

// The batch branch of MainMod::Main.
int RunBatch(const Place& p) {
    caldren::RunState state = NewState(p);
    return MainMod::RunBatch(state, p.input, p.output);
}

// The "/compare" branch of MainMod::Main.
int RunCompare(const Place& p) {
    caldren::RunState state = NewState(p);
    return MainMod::RunCompare(state.program, p.output, {p.input, p.demo});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A private home: no registry file of another build, no settings, no display.
    const std::string home = fuzzsupport::ScratchFile("home");
    fs::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "APPDATA"})
        ::unsetenv(name);
    const char* verbose = std::getenv("CALDREN_FUZZ_VERBOSE");
    if (!verbose || std::string(verbose) != "1") {
        static NullBuffer null;
        std::cerr.rdbuf(&null);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Place& p = Places();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fs::remove(p.output);
    fs::remove(p.log);
    fuzzsupport::WriteBytes(p.input, data, size);
    const bool earlier = size % 3 != 0;
    if (earlier)
        fuzzsupport::WriteBytes(p.output, reinterpret_cast<const unsigned char*>(kEarlier),
                                sizeof kEarlier - 1);
    const std::string before = earlier ? std::string(kEarlier) : std::string();

    const int code = RunBatch(p);
    CheckNoStrayFiles(p, "batch run");
    if (code != MainMod::kExitOk && code != MainMod::kExitFailure)
        fuzzsupport::Finding("batch run: exit code " + std::to_string(code));

    std::string report = Exists(p.output) ? fuzzsupport::ReadBytes(p.output) : std::string();
    if (code == MainMod::kExitFailure) {
        if (fuzzsupport::ReadBytes(p.input) != bytes)
            fuzzsupport::Finding("batch run failed and the data file changed");
        if (Exists(p.output) != earlier)
            fuzzsupport::Finding("batch run failed and the report file appeared or vanished");
        if (report != before) fuzzsupport::Finding("batch run failed and the report file changed");
    } else {
        if (report.size() <= before.size() || report.compare(0, before.size(), before) != 0)
            fuzzsupport::Finding("batch run succeeded without appending to the report file");
        CheckCrLf(report, before.size(), "batch run");
        auto again = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        try {
            again->Fetch(p.input);
        } catch (const ComError& e) {
            fuzzsupport::Finding("the data file saved by a batch run does not open again: error " +
                                 std::to_string(e.Number()) + ", " + e.Source() +
                                 "\n--- file ---\n" + fuzzsupport::ReadBytes(p.input));
        }
    }

    if (size % 4 == 0) {
        // The comparison reads the file as the batch run left it.
        const std::string saved = fuzzsupport::ReadBytes(p.input);
        const std::string demo = fuzzsupport::ReadBytes(p.demo);
        const std::string reportBefore = report;
        const bool reportExisted = Exists(p.output);
        const int compared = RunCompare(p);
        CheckNoStrayFiles(p, "comparison");
        if (compared != MainMod::kExitOk && compared != MainMod::kExitFailure)
            fuzzsupport::Finding("comparison: exit code " + std::to_string(compared));
        if (fuzzsupport::ReadBytes(p.input) != saved)
            fuzzsupport::Finding("the comparison changed the data file");
        if (fuzzsupport::ReadBytes(p.demo) != demo)
            fuzzsupport::Finding("the comparison changed the sample file");
        const std::string after =
            Exists(p.output) ? fuzzsupport::ReadBytes(p.output) : std::string();
        if (after.compare(0, reportBefore.size(), reportBefore) != 0 ||
            after.size() < reportBefore.size())
            fuzzsupport::Finding("the comparison changed what the report file held");
        if (compared == MainMod::kExitOk && after.size() == reportBefore.size())
            fuzzsupport::Finding("the comparison succeeded without appending to the report file");
        if (!reportExisted && after.empty() && Exists(p.output))
            fuzzsupport::Finding("the comparison left an empty report file");
        if (after.size() > reportBefore.size()) CheckCrLf(after, reportBefore.size(), "comparison");
    }
    return 0;
}
