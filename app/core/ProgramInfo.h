// The program's identity and folders: what CaldrenCalc knows about itself for the whole run
// (its folder, help file, version texts, error log and error reporter). Set by MainMod::Main
// before anything else runs; read by the error paths, Save (the version tag), the About box
// and help.
#pragma once

#include <memory>
#include <string>

namespace errorreporter {
class ErrorReporter;
}

namespace caldren {

// The program's description and title.
inline constexpr const char* kDescription = "Caldren Formula Calculator";
inline constexpr const char* kTitle = "Orlen Caldren Formula Calculator";
inline constexpr const char* kMaker = "Orlenwick";
inline constexpr const char* kHelpFileName = "cldguide.pdf";
inline constexpr const char* kErrorLogName = "CLD_err.log";
inline constexpr const char* kSettingsFileName = "CaldrenCalc.ini";
inline constexpr const char* kDemoFileName = "DEMO.CLD";

struct ProgramInfo {
    std::string programFolder;  // folder of the running program, no trailing "/"
    std::string helpFile;       // programFolder + "/cldguide.pdf"
    std::string versionTag;     // "CLD" + major + "." + minor, e.g. "CLD2026.12"
    std::string fullVersion;    // versionTag + "." + revision, e.g. "CLD2026.12.1"
    std::string errorLogPath;   // "CLD_err.log" in the program folder (else per-user folder)
    // The error reporter; created first, released last.
    std::shared_ptr<errorreporter::ErrorReporter> errorReporter;
};

}  // namespace caldren
