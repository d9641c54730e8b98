// ReportCompare: several years side by side. One column per data file, ordered by the
// current year end (EOYCurrent), with the rows that decide an accumulated-earnings case:
// available working capital, cost of operations, and for each method chosen the operating
// cycle (days and part of a year), the working capital needed and the excess before and
// after other needs. It goes through the same ReportSink as the other reports, so the
// viewer, the printer (paged as every report) and the batch output file all take it.
//
// Layout (columns from 0, a value field is 12 characters, right-aligned):
//   label area: two blanks and a label padded to 35 characters (columns 0 to 36);
//   file k of a block: columns 37 + 14k to 48 + 14k (two blanks between fields).
// At most three files stand side by side, so a line never passes column 78; four to six
// files are laid out in two blocks, one under the other, each one chunk.
//
// Column headings: the file's name without folder and ".cld" (one line, or two for a name
// longer than 12 characters) and its year end.
//
// A file that could not be loaded or calculated keeps its column: "Failed" in the first
// value row and "See Note n" in the second, and a note under the table says why. A file
// that did not choose a method which another file chose shows "Not chosen" in the first
// row of that method.
//
// Under each block's table a second table (a chunk of its own) shows each figure's change
// from the column before it, the year before: the amount on the figure's row ("+$25,000",
// "-0.07496", the figure's own pattern and decimals) and the percent of the earlier figure
// under it ("-8.00%"; "n/m" when the earlier one is zero). A first column, a failed one and
// one after a failed or not-chosen figure have no change; a method without any change in
// the block, and a block without any, are left out.
#pragma once

#include "ReportSink.h"

#include <vesmora/Vesmora.h>

#include <string>
#include <vector>

namespace Reports {

// Two to six files.
constexpr std::size_t kCompareMinFiles = 2;
constexpr std::size_t kCompareMaxFiles = 6;

// One data file of a comparison.
struct CompareFile {
    std::string fileName;                     // as the user named it
    vesmora::ComPtr<vesmora::_Caldren> calc;  // the analysis; may be set for a failed file
                                              // that was loaded (its year end still orders it)
    std::string failure;                      // why it failed; empty for a calculated file
    long errorNumber = 0;                     // the error's number when it failed (53: no file)
    std::string source;                       // the engine error's source chain, if any

    bool Ok() const { return failure.empty() && calc; }
};

// Loads `fileName` into the fresh engine object `calc` (Load) and calculates it. On
// failure the result carries the reason ("Could not be loaded: ..." / "Could not be
// calculated: ...", in the user's words when ZeroBaseReason has them: "Could not be
// calculated: Net Sales is zero"); a file that is missing, or a folder, pipe or device, is not
// handed to the engine at all ("... the file does not exist", "... it is a pipe").
CompareFile LoadCompareFile(vesmora::ComPtr<vesmora::_Caldren> calc, const std::string& fileName);

// Why an analysis whose calculation failed has no figures, when its inputs say it in the
// user's words: "Net Sales is zero" (no method divides without it), "Cost of Goods Sold is
// zero with the peak method" (the peak method with months divides by it). Empty otherwise.
std::string ZeroBaseReason(const vesmora::_Caldren& calc);

// A part of a year ("##0.00000" text) times 365, exactly, as a day count in the form of
// the reports' day counts ("0.26156" -> "95.4694").
std::string RatioAsDays(const std::string& ratioText);

// The reason text of an engine error: the platform's text for the number when it has one,
// otherwise the innermost source line when it reads as a message, otherwise the
// description; always followed by " (error n)".
std::string CompareFailureText(const activation::ComError& error);

// Columns in report order: by year end (earliest first); a file whose year end is unknown
// (not loaded) goes after the others; equal year ends keep the order given.
std::vector<const CompareFile*> CompareOrder(const std::vector<CompareFile>& files);

// The months of every calculated file renumbered from its own year end (FillMonthsFromYearEnd),
// in column order, before BuildCompareReport: the comparison shows no month, but a file
// whose months cannot be numbered fails the comparison as it fails every report. Errors
// propagate.
void FillCompareMonths(const std::vector<CompareFile>& files);

// Lays the report out into the sink (BeginReport, chunks, EndReport). Headings: the name
// and second line of the first calculated file in column order, and "Comparison Of Years".
// Viewer caption "Comparison Report". Reads the files' analyses and changes nothing in
// them. Errors propagate (ComError); fewer than two or more than six files is error 5.
void BuildCompareReport(const std::vector<CompareFile>& files, ReportSink& sink);

// The caption and third heading.
extern const char* const kCompareCaption;  // "Comparison Report"
extern const char* const kCompareTitle;    // "Comparison Of Years"

}  // namespace Reports
