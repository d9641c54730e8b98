// CompareRun: the comparison report of a batch run.
//
//   CaldrenCalc /compare /data/acme 2002.cld /data/acme 2003.cld /output cmp.txt /silent
//
// The names come from the program's command line. The run loads each file into an engine
// object of its own and calculates it, without saving anything back into the data files,
// and appends the comparison report (followed by CR LF, all or nothing) to the output
// file. A file that fails keeps its column with a note; the run reports it as failed.
#pragma once

#include "ReportCompare.h"

#include <functional>
#include <string>
#include <vector>

namespace Reports {

struct CompareRunResult {
    struct Failure {
        std::string fileName;
        std::string reason;  // "Could not be loaded: ..." / "Could not be calculated: ..."
        long number = 0;     // the error's number
        std::string source;  // the engine error's source chain (it names a refused entry)
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
