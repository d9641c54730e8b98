// CommandLine: the program's arguments, read once into the command that main() runs.
//
// The arguments after the program name are joined by single blanks into one line. Every
// switch is registered once in kSwitches with what it carries; they are matched without
// regard to case where a word begins (at the start of the line or after a blank), since
// "/" also separates folders in a path: "/srv/input/acme.cld" holds no switch. File names
// are kept exactly as typed, blanks and all, and one separator character after the switch
// is skipped, whatever it is. One rule ends every name of every command and switch: a name
// ends with an occurrence of its extension that ends a word, that is, one followed by a
// blank or the line's end; so "clients.cld-2025/acme.cld" and "out.cld.d/next.cld" are
// each one name (FindExtension in CommandLine.cpp; a new switch that carries a name takes
// it with NameAfter and so follows the rule). The commands:
//
//   batch run     "/silent" (anywhere a word begins), "/input" + the data file name ending
//                 at the line's first ".cld" that ends a word, "/output" + the report file
//                 name ending at the line's first ".txt" that ends a word (an occurrence
//                 before the name is refused: GetCommandLineFilename).
//                 "/headings" and "/corrected" (whole words) ask for the reports' headings
//                 and corrected wording.
//   comparison    "/compare" (a whole word) + two to six data file names, each ending at
//                 the first ".cld" after its start that ends a word, the next beginning
//                 after that blank; the list ends at the line's end or at a whole word
//                 "/input", "/output", "/silent" or "/compare". With "/output" and "/silent"
//                 as for the batch run.
//   check         "/check" (a whole word) + the data file name (NameAfter, ".cld").
//   next year     "/rollforward" (a whole word) + the data file name and "/output" (a
//                 whole word) + the new data file name (NameAfter, ".cld" both).
//   workpaper     "/workpaper" + the workbook's name ending at the line's first ".xlsx" that
//                 ends a word: in a batch run only, which then writes the workbook too.
//   summary       "/summary" as an argument of its own: the arguments after it up to the
//                 next switch are folders or data files, one argument each (a name with
//                 blanks is quoted); "/output" + the summary file's name ending at the first
//                 argument that ends in ".csv" or ".xlsx"; "/recursive" takes the folders'
//                 subfolders too; "/silent" changes nothing.
//   interactive   anything else; a data file named alone, without switches, is opened at
//                 start.
//   help          "--help", "-h" or "/?" as an argument, before everything else.
// A word made of "/" and letters outside the file names that kSwitches does not know is a
// usage error, as is a command that lacks a name it needs.
#pragma once

#include "BatchFailure.h"

#include <cstddef>
#include <string>
#include <vector>

namespace caldren::CommandLine {

// What a switch carries.
enum class SwitchKind {
    Flag,      // nothing: present or not ("/silent")
    Name,      // one file name ("/input", "/output")
    NameList,  // several file names ("/compare")
    Tool,      // a command of its own and its data file ("/check", "/rollforward")
};

struct Switch {
    const char* text;
    SwitchKind kind;
    const char* extension;  // of the name(s) it carries; empty for a flag
};

// Every switch of the command line, in one place.
inline constexpr Switch kSwitches[] = {
    {"/input", SwitchKind::Name, ".cld"},       {"/output", SwitchKind::Name, ".txt"},
    {"/silent", SwitchKind::Flag, ""},          {"/compare", SwitchKind::NameList, ".cld"},
    {"/rollforward", SwitchKind::Tool, ".cld"}, {"/check", SwitchKind::Tool, ".cld"},
    {"/headings", SwitchKind::Flag, ""},        {"/corrected", SwitchKind::Flag, ""},
    {"/workpaper", SwitchKind::Name, ".xlsx"},  {"/summary", SwitchKind::NameList, ""},
    {"/recursive", SwitchKind::Flag, ""},
};

// The names "/output" carries after "/summary" (instead of the report's ".txt").
inline constexpr const char* kSummaryExtensions[] = {".csv", ".xlsx"};

// The command the line asks for.
enum class Kind {
    Help,         // print the usage text, exit 0
    UsageError,   // print `message` (which ends with the usage), exit 2
    NameError,    // a name the line refuses (`failure`), exit 1
    BatchRun,     // dataFile -> outputFile, no window
    Compare,      // compareFiles -> outputFile, no window
    Check,        // the checks of dataFile
    NextYear,     // next year's analysis of dataFile into outputFile
    Summary,      // summaryNames -> outputFile (.csv or .xlsx), no window
    Interactive,  // the windows; dataFile and outputFile as given, startFile when named alone
};

struct Command {
    Kind kind = Kind::Interactive;
    std::string dataFile;    // "/input", "/check", "/rollforward"
    std::string outputFile;  // "/output"
    std::vector<std::string> compareFiles;
    std::string workpaperFile;              // "/workpaper" of a batch run
    std::vector<std::string> summaryNames;  // "/summary": folders and data files
    bool recursive = false;                 // "/recursive"

    // A data file named alone (opening a .cld from the desktop): the windows open it at start.
    std::string startFile;
    std::string message;     // UsageError
    BatchFailure failure;    // NameError
    bool headings = false;   // BatchRun: "/headings"
    bool corrected = false;  // BatchRun: "/corrected"
};

// The line's command. Never throws but for lack of memory.
Command Parse(int argc, char** argv);

// The usage text (several lines, ends with a line end).
std::string Usage();

// ---- The rules, one by one ---------------------------------------------------------------

// The arguments after the program name joined by single blanks.
std::string JoinCommandLine(int argc, char** argv);

// True when the arguments ask for the usage text ("--help", "-h", "/?").
bool WantsHelp(int argc, char** argv);

// Position of the first occurrence of the switch that begins a word, without regard to
// case; std::string::npos when there is none.
std::size_t FindSwitch(const std::string& commandLine, const std::string& switchText);

// True when the line holds "/silent" where a word begins.
bool IsSilent(const std::string& commandLine);

// The file name after the switch: from just after the switch and one separator character
// to the end of the first occurrence of the extension in the line that ends a word. Empty
// text when the switch or such an extension is absent. Throws ComError 5 (invalid
// procedure call, source "MainMod.GetCommandLineFilename") when that occurrence begins
// before the start of the name (wholly, or partly, as in "/output.txt": the name would be
// a piece of the extension).
std::string GetCommandLineFilename(const std::string& commandLine, const std::string& extension,
                                   const std::string& switchText);

// The name after the switch where it stands as a whole word: from just after it and one
// separator character to the first occurrence of the extension after that which ends a
// word. Empty text when the switch or such an extension is absent.
std::string NameAfter(const std::string& commandLine, const std::string& switchText,
                      const std::string& extension);

// True when the line holds "/compare" as a whole word.
bool HasCompareSwitch(const std::string& commandLine);

// The names after "/compare", as typed; empty when there is no switch or no name.
std::vector<std::string> GetCompareFileNames(const std::string& commandLine);

// The first switch word of the line that kSwitches does not know, as typed; empty when
// there is none. A switch word is a word of "/" and letters outside the file names (a
// folder "/Shared Folder" at the start of a name holds one).
std::string UnknownSwitch(const std::string& commandLine);

}  // namespace caldren::CommandLine
