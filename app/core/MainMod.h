// Module MainMod: the program's entry, its command line and the batch run.
//
// Command line: the program's arguments joined by single blanks. Switches, in any order
// and any case: "/silent" (batch run), "/input" + one separator + the data file name
// (ending at the line's first ".cld" that ends a word), "/output" + one separator + the
// report file name (ending at the first ".txt" that ends a word). An extension ends a word
// when a blank or the end of the line follows it, so "clients.cld-2025/acme.cld" is one
// name. Switches and extensions are matched without regard to case; file names are kept
// exactly as typed. A switch counts only where a word begins (at the start of the line or
// after a blank), since "/" also separates folders in a path: "/srv/input/acme.cld" holds
// no switch. A whole word made of "/" and letters outside the names is a switch word; one
// that is not in kSwitches is a usage error. A data file named alone, without switches, is an
// interactive start on that file.
#pragma once

#include <string>
#include <vector>

namespace caldren {

struct RunState;
struct ProgramInfo;
struct BatchFailure;

namespace MainMod {

// Every switch of the command line, in one place.
inline constexpr const char* kSwitches[] = {"/input",   "/output",      "/silent",
                                            "/compare", "/rollforward", "/check"};

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The arguments after the program name joined by single blanks.
std::string JoinCommandLine(int argc, char** argv);

// Position of the first occurrence of the switch that begins a word, without regard to
// case; std::string::npos when there is none.
std::size_t FindSwitch(const std::string& commandLine, const std::string& switchText);

// The first switch word of the line that kSwitches does not know, as typed; empty when
// there is none. A switch word is a word of "/" and letters outside the file names (a
// folder "/Shared Folder" at the start of a name holds one).
std::string UnknownSwitch(const std::string& commandLine);

// True when the line holds "/silent" where a word begins.
bool IsSilent(const std::string& commandLine);

// The file name after the switch: from just after the switch and one separator character
// to the end of the first occurrence of the extension in the line that ends a word. Empty
// text when the switch or such an extension is absent. Throws ComError 5 (invalid
// procedure call) when that occurrence begins before the start of the name (wholly, or
// partly, as in "/output.txt": the name would be a piece of the extension).
std::string GetCommandLineFilename(const std::string& commandLine, const std::string& extension,
                                   const std::string& switchText);

// True when the arguments ask for the usage text ("--help", "-h", "/?").
bool WantsHelp(int argc, char** argv);
// The usage text (several lines, ends with a line end).
std::string Usage();

// The batch run: Summary and Detailed report choices, the data file locked and opened,
// RouteOutput in File mode (reports built, appended, then the data file saved; the run
// protocol is in BatchFiles.h). Returns the exit code. A failing run leaves the data file
// and the report file as they were, prints the error on stderr and logs it.
int RunSilent(RunState& state);

// The batch comparison ("/compare" with "/output" and "/silent"): the files loaded and
// calculated each in an engine object of its own (never saved, never locked), the
// comparison report appended to the output file under its lock. A report path that names
// one of the data files is refused. A failed file is printed on stderr and logged; the
// exit code is then kExitFailure, as when the output file cannot be written.
int RunCompare(ProgramInfo& program, const std::string& outputFile,
               const std::vector<std::string>& names);

// The whole program: help, error reporter and engine, version texts, command line, then
// the batch run or the interactive start (the window library, GuiEntry.h). Returns the
// exit code. The engine library is found by the activation layer.
int Main(RunState& state, int argc, char** argv);

// Prints a batch failure on stderr and appends it to the error log: number, text, the
// file and the entry concerned, the location and the source chain.
void ReportBatchFailure(ProgramInfo& program, const BatchFailure& failure);

}  // namespace MainMod
}  // namespace caldren
