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
#include <streambuf>
#include <string>

#ifndef CALDREN_DEMO_SOURCE
#error "CALDREN_DEMO_SOURCE names the shipped sample data file"
#endif

namespace fs = std::filesystem;

namespace {

using fuzzsupport::Finding;
using fuzzsupport::ReadBytes;
namespace MainMod = caldren::MainMod;

const std::string kEarlier = "Earlier reports of this client\r\n";

// Swallows what the batch path prints on stderr (one line per refused input would drown
// the fuzzer's own output). CALDREN_FUZZ_VERBOSE=1 keeps it.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c == traits_type::eof() ? 0 : c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

const std::string kFolder = fuzzsupport::ScratchFile("batch");
const std::string kInput = kFolder + "/client 2026.cld", kOutput = kFolder + "/client reports.txt";
const std::string kDemo = fuzzsupport::ScratchFile("DEMO.CLD");

std::string Report() { return fs::exists(kOutput) ? ReadBytes(kOutput) : std::string(); }

// After a step: no file beside the data file but its report, its lock and the report's
// append record; the exit code 0 or 1; the report file holds what it held before, then (on
// success, or when the step appended) reports whose lines all end in CR LF.
void Check(const char* step, int code, const std::string& before, bool existed) {
    for (const auto& e : fs::directory_iterator(kFolder))
        if (const std::string name = e.path().filename().string();
            name != "client 2026.cld" && name != "client reports.txt" &&
            name != ".client 2026.cld.lock" && name != ".client reports.txt.append")
            Finding(std::string(step) + ": a file is left beside the data file: " + name);
    if (code != MainMod::kExitOk && code != MainMod::kExitFailure)
        Finding(std::string(step) + ": exit code " + std::to_string(code));
    const std::string after = Report();
    if (after.compare(0, before.size(), before) != 0 || after.size() < before.size())
        Finding(std::string(step) + ": changed what the report file held");
    if (code == MainMod::kExitOk && after.size() == before.size())
        Finding(std::string(step) + ": succeeded without appending to the report file");
    if (!existed && after.empty() && fs::exists(kOutput))
        Finding(std::string(step) + ": left an empty report file");
    for (std::size_t i = before.size(); i < after.size(); ++i)
        if (after[i] == '\n' && (i == 0 || after[i - 1] != '\r'))
            Finding(std::string(step) + ": a bare line feed at byte " + std::to_string(i));
    if (after.size() > before.size() &&
        (after.size() < before.size() + 2 || after.compare(after.size() - 2, 2, "\r\n") != 0))
        Finding(std::string(step) + ": the appended reports do not end in CR LF");
}

caldren::RunState NewState() {
    caldren::RunState state;
    state.program.programFolder = fs::path(kFolder).parent_path().string();
    state.program.versionTag = "CLD2026.12";
    state.program.fullVersion = "CLD2026.12.1";
    state.program.errorLogPath = fuzzsupport::ScratchFile("CLD_err.log");
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A private home: no registry file of another build, no settings, no display.
    const std::string home = fuzzsupport::ScratchFile("home");
    fs::create_directories(home);
    fs::create_directories(kFolder);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "APPDATA"})
        ::unsetenv(name);
    const std::string demo = ReadBytes(CALDREN_DEMO_SOURCE);
    if (demo.empty()) Finding("cannot read the sample file " CALDREN_DEMO_SOURCE);
    fuzzsupport::WriteBytes(kDemo, demo);
    if (const char* verbose = std::getenv("CALDREN_FUZZ_VERBOSE"); !verbose || *verbose != '1') {
        static NullBuffer null;
        std::cerr.rdbuf(&null);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool earlier = size % 3 != 0;
    fs::remove(kOutput);
    fs::remove(fuzzsupport::ScratchFile("CLD_err.log"));
    fuzzsupport::WriteBytes(kInput, bytes);
    if (earlier) fuzzsupport::WriteBytes(kOutput, kEarlier);

    caldren::RunState state = NewState();
    const int code = MainMod::RunBatch(state, kInput, kOutput);
    Check("batch run", code, earlier ? kEarlier : "", earlier);
    if (code != MainMod::kExitOk) {
        if (ReadBytes(kInput) != bytes) Finding("batch run failed and the data file changed");
        if (fs::exists(kOutput) != earlier || Report() != (earlier ? kEarlier : ""))
            Finding("batch run failed and the report file changed, appeared or vanished");
    } else {
        try {
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren)->Fetch(kInput);
        } catch (const activation::ComError& e) {
            Finding("the data file saved by a batch run does not open again: error " +
                    std::to_string(e.Number()) + ", " + e.Source() + "\n--- file ---\n" +
                    ReadBytes(kInput));
        }
    }

    if (size % 4 == 0) {
        // The comparison reads the file as the batch run left it.
        const std::string saved = ReadBytes(kInput), demo = ReadBytes(kDemo), before = Report();
        const bool existed = fs::exists(kOutput);
        caldren::RunState again = NewState();
        Check("comparison", MainMod::RunCompare(again.program, kOutput, {kInput, kDemo}), before,
              existed);
        if (ReadBytes(kInput) != saved || ReadBytes(kDemo) != demo)
            Finding("the comparison changed a data file");
    }
    return 0;
}
