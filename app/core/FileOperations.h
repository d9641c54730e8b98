// Module FileOperations: the commands New, Open, Save and Save As, and the small file
// routines. They decide the current file name of the run state, ask the user through
// caldren::Ui and leave the reading and writing to the engine (Load, ApplyEdit).
#pragma once

#include <string>

namespace caldren {

struct Document;
struct ProgramInfo;
struct RunOptions;
struct RunState;

namespace FileOperations {

// The texts these commands show.
inline constexpr const char* kUnsavedTitle = "Unsaved Data Exists!";
inline constexpr const char* kUnsavedText =
    "Current Inputs have not been Saved!\nDo you want to save them first?";
inline constexpr const char* kWarningTitle = "WARNING";
inline constexpr const char* kFilenameEmpty = "Filename Empty!";
inline constexpr const char* kDoesNotExist = " does not exist.";
inline constexpr const char* kUntitledName = "UNTITLED.CLD";
inline constexpr const char* kInUseTitle = "File in Use";

// The unsaved-data question, asked only when the saved flag is false. Yes runs SaveAs.
// Returns false when the user cancelled (the command ends).
bool AskUnsaved(RunState& state);

// New: unsaved-data question, a fresh engine, the untitled name "<data path>/UNTITLED.CLD",
// status line, saved flag, input form, BeginEdit. Errors: own message "NewFile".
void NewFile(RunState& state);

// Open: unsaved-data question (not in batch); an empty name asks with the Open dialog (not
// in batch); an existing file is loaded into the same engine. A missing file shows
// "<name> does not exist." (also in batch). Returns true when the file was loaded.
// Errors: ReportOrLog "File Operations.Open File", then the program goes on.
bool OpenFile(RunState& state, const std::string& fileName);

// Save: data file path = the name's folder (written to the settings file at once, when
// the run has one), Version = the version tag padded to 21, ApplyEdit, saved flag.
// Returns true when saved. Errors: own message "Save".
bool Save(RunState& state, const std::string& fileName);

// Save As: the Save As dialog; an empty answer shows "Filename Empty!". Returns true when
// saved. Errors: own message "SaveAs".
bool SaveAs(RunState& state);

// The windows' hold on the current data file: its lock file names this program while the
// file is open, so that a second program that opens it is offered to open it read-only or
// not at all, and batch runs on it wait and then fail naming the holder. ReleaseFile gives
// it back (New, New Year, shutdown); Open and Save As move it to their file.
void ReleaseFile(Document& document);

// A new Caldren replaces the engine. Errors: own message "ClearAllData"; returns false
// after an error.
bool ClearAllData(Document& document, const RunOptions& options);

// True when a regular file of that name exists (folders and missing names are false).
bool FileExists(const std::string& path);

// The folder part without the final "/"; empty text when the path holds no "/".
std::string GetPathOnly(const std::string& path);

// The first 25 characters, "...", and the last 25 characters, whatever the length.
// Characters are counted as UTF-8 characters, so a name is never cut inside one.
std::string DisplayShorterFilename(const std::string& fileName);
// As above, with its error path (ReportOrLog "File Operations.DisplayShorterFilename",
// then shutdown with the answer).
std::string DisplayShorterFilename(ProgramInfo& program, const RunOptions& options,
                                   const std::string& fileName);

}  // namespace FileOperations
}  // namespace caldren
