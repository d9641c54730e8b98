#include "ToolCommands.h"

#include "PosixFile.h"
#include "StopSignals.h"

#include <ReportCompare.h>
#include <activation/Com.h>
#include <analysis/Checks.h>
#include <common/AtomicFile.h>
#include <common/FileKind.h>

#include <filesystem>
#include <new>
#include <ostream>
#include <system_error>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace caldren::ToolCommands {

using activation::ComError;
using vesmora::_Caldren;
using vesmora::ComPtr;

namespace {

std::string Why(const ComError& e) { return Reports::CompareFailureText(e); }

// The data file loaded into an engine object of its own; nullptr, with the reason on `err`,
// when it cannot be read.
ComPtr<_Caldren> LoadDataFile(const std::string& name, std::ostream& err,
                              const analysis::EngineFactory& newEngine) {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) {
        err << "CaldrenCalc: " << name << " does not exist.\n";
        return {};
    }
    if (S_ISDIR(st.st_mode)) {
        err << "CaldrenCalc: " << name << " is a folder, not a data file.\n";
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        err << "CaldrenCalc: " << name << " is " << common::FileKind(st.st_mode)
            << ", not a data file.\n";
        return {};
    }
    try {
        ComPtr<_Caldren> calc = newEngine();
        if (!calc)
            throw ComError(429, "ToolCommands.LoadDataFile", activation::StandardErrorText(429));
        calc->Load(name);
        return calc;
    } catch (const ComError& e) {
        err << "CaldrenCalc: " << name << " cannot be read: " << Why(e) << "\n";
    } catch (const std::bad_alloc&) {
        err << "CaldrenCalc: " << name << " cannot be read: Out of memory (error 7)\n";
    }
    return {};
}

}  // namespace

int RunCheck(const std::string& dataFile, std::ostream& out, std::ostream& err,
             const analysis::EngineFactory& newEngine) {
    ComPtr<_Caldren> calc = LoadDataFile(dataFile, err, newEngine);
    if (!calc) return kExitUnreadable;
    // The loaded object is this run's own and is never saved, so it may be calculated: the
    // estimated month-end inventories that two checks look at come from the calculation.
    bool calculated = false;
    try {
        calc->Calculate();
        calculated = true;
    } catch (const ComError&) {
        // A failing calculation is itself among the findings (a zero base).
    }
    std::vector<analysis::Finding> findings;
    try {
        findings = analysis::CheckFigures(*calc, calculated ? calc.Get() : nullptr);
    } catch (const ComError& e) {
        err << "CaldrenCalc: " << dataFile << " cannot be checked: " << Why(e) << "\n";
        return kExitUnreadable;
    }
    if (findings.empty()) {
        out << dataFile << ": nothing looks wrong.\n";
        return kExitOk;
    }
    out << dataFile << ": " << findings.size() << (findings.size() == 1 ? " finding" : " findings")
        << "\n";
    for (const analysis::Finding& f : findings)
        out << "  " << analysis::KindName(f.kind) << ": " << f.text << "\n";
    return kExitFound;
}

int RunRollforward(const std::string& dataFile, const std::string& newFile,
                   const std::string& versionTag, std::ostream& out, std::ostream& err,
                   const analysis::EngineFactory& newEngine) {
    std::error_code ec;
    // What a killed run of this command left beside the new file goes first.
    common::RemoveStrayTemporaryFiles(posix::Resolved(newFile));
    if (fs::exists(fs::symlink_status(newFile, ec))) {
        err << "CaldrenCalc: " << newFile << " already exists; nothing was written.\n";
        return kExitFailure;
    }
    ComPtr<_Caldren> calc = LoadDataFile(dataFile, err, newEngine);
    if (!calc) return kExitFailure;
    try {
        ComPtr<_Caldren> next = analysis::RollForward(*calc, newEngine);
        std::string version = versionTag;
        if (version.size() < 21) version.resize(21, ' ');  // as the program's own Save
        next->put_Version(version);
        {
            // Written whole or not at all; a stop signal that came meanwhile takes it back.
            const StopSignals::Hold hold;
            StopSignals::ThrowIfNoted();
            next->ApplyEdit(newFile);
        }
        StopSignals::ThrowIfNoted();
        out << "Next year's analysis (year ending " << next->get_EOYCurrent() << ") was written to "
            << newFile << ".\n";
        if (next->get_Line2() != calc->get_Line2())
            out << "Its second line now reads \"" << next->get_Line2() << "\".\n";
        return kExitOk;
    } catch (const ComError& e) {
        fs::remove(newFile, ec);  // it did not exist before: nothing stays behind
        err << "CaldrenCalc: " << newFile << " cannot be written: " << Why(e) << "\n";
    } catch (const std::bad_alloc&) {
        fs::remove(newFile, ec);
        err << "CaldrenCalc: " << newFile << " cannot be written: Out of memory (error 7)\n";
    }
    return kExitFailure;
}

std::string Usage() {
    return "  CaldrenCalc /rollforward <data file>.cld /output <new data file>.cld\n"
           "      Writes next year's analysis of the data file into a new data file: the name,\n"
           "      methods, other needs and contingencies kept; the dates, and the years in the\n"
           "      second line, one year later; this year's ending inventory, receivables and\n"
           "      payables as the beginning balances; every other figure zero. The data file is\n"
           "      not changed and the new file must not exist. Exit status 0 when it was written,\n"
           "      1 when nothing was written (the reason is on stderr), 2 when a name is missing.\n"
           "  CaldrenCalc /check <data file>.cld\n"
           "      Lists what looks wrong in the data file's figures; the file is not changed.\n"
           "      Exit status 0 when nothing is found, 1 when something is, 2 when the file\n"
           "      cannot be read.\n";
}

}  // namespace caldren::ToolCommands
