// CompareRun: the comparison report of a batch run.
//
// Command line: "/compare" (where a word begins, any case), one separator, then the data
// file names, each ending at its ".cld" (any case; the name is kept as typed, blanks and
// all) and followed by one separator before the next. The names end at the line's end, at
// a switch ("/input", "/output", "/silent", "/compare" followed by a blank or the end) or
// at text that does not continue after a name's ".cld" with a separator.
//
//   CaldrenCalc /compare /data/acme 2002.cld /data/acme 2003.cld /output cmp.txt /silent
//
// The run loads each file into an engine object of its own and calculates it, without
// saving anything back into the data files, and appends the comparison report (followed by
// CR LF, all or nothing) to the output file. A file that fails keeps its column with a
// note; the run reports it as failed.
#pragma once

#include "ReportCompare.h"

#include <functional>
#include <string>
#include <vector>

namespace Reports {

// True when the line holds "/compare" where a word begins.
bool HasCompareSwitch(const std::string& commandLine);

// The names after "/compare", as typed; empty when there is no switch or no name.
std::vector<std::string> GetCompareFileNames(const std::string& commandLine);

struct CompareRunResult {
    struct Failure {
        std::string fileName;
        std::string reason;  // "Could not be loaded: ..." / "Could not be calculated: ..."
        long number = 0;     // the error's number
        std::string Text() const { return fileName + ": " + reason; }
    };
    std::vector<Failure> failures;
    bool Ok() const { return failures.empty(); }
    // The comparison report followed by CR LF, as it is appended to the output file.
    std::string text;
};

// Loads, calculates and compares the files (two to six, else ComError 5) and lays out the
// report in memory (result.text). `newEngine` creates one engine object per file (its
// errors become that file's failure).
CompareRunResult BuildCompareRun(
    const std::vector<std::string>& names,
    const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine);

// BuildCompareRun, then the text appended to `outputPath` as FileSink appends (all or
// nothing). Errors of the output file propagate (ComError of FileSink), leaving the file as
// it was.
CompareRunResult RunCompareToFile(
    const std::vector<std::string>& names, const std::string& outputPath,
    const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine);

}  // namespace Reports
