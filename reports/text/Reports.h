// Module Reports: report selection, building and routing, and the helpers every report
// layout shares (number patterns, fixed fields, month names, the rule line).
//
// Everything interactive goes through ReportsHost, so RunReports and the builders' error
// paths run headless: the windows library implements the host with the report choices
// dialog, the print dialog, the busy cursor, the printer and the viewer windows; a batch
// run implements it with a FileSink and the error log; tests script it.
#pragma once

#include "ReportSink.h"

#include <activation/Com.h>
#include <common/Calendar.h>
#include <vesmora/Vesmora.h>

#include <memory>
#include <string>
#include <string_view>

namespace Reports {

// ---- report choices ------------------------------------------------------------------

// The three report flags of the run state. A report is built only when its flag equals 1;
// 0, or 2 for a greyed check box, means "not chosen". Stored in the settings file under
// "User Preferences": "Input Report", "Summary Report", "Detailed Report" (missing = 1).
struct ReportChoices {
    int input = 1;
    int summary = 1;
    int detail = 1;
    bool Any() const { return input == 1 || summary == 1 || detail == 1; }
};

// The printer font as SetNewFont saves it and SetOldFont restores it.
struct PrinterFontRecord {
    std::string name;
    float size = 0.0f;
    bool bold = false;
};

// How the report texts are worded: as they have always been, or corrected (Options,
// "Corrected Report Wording"; "/corrected" in a batch run): the misspellings and mislabels
// of the report texts put right, every figure in its column as before. The changes, old
// text and new, are listed in the guide (docs/manual/cldguide.md, "Corrected report
// wording").
enum class Wording { AsEver, Corrected };

// The text of a report line piece in the given wording.
inline const char* Worded(Wording wording, const char* asEver, const char* corrected) {
    return wording == Wording::Corrected ? corrected : asEver;
}

// ---- the host: everything that needs a window, the printer or the error reporter -----

class ReportsHost {
public:
    virtual ~ReportsHost() = default;

    // GetReports(mode): the choices dialog "Select Reports (View)" / "Select Reports
    // (Print)". Reads the three flags from the settings file into `choices`, shows the
    // dialog; OK copies the boxes into `choices`, Cancel sets all three to 0, the close box
    // leaves them; then writes them back to the settings file. Never called in batch.
    virtual void GetReports(ReportMode mode, ReportChoices& choices) = 0;

    // GetCopies: the print dialog "Print Reports"; the copies chosen, 0 on cancel. Other
    // errors are the host's own business (ReportErrorAndQuit "GetCopies") and give 0.
    virtual int GetCopies() = 0;

    // Print mode: switch the printer to the report font, saving the old one in `saved`
    // (SetNewFont); and back (SetOldFont).
    virtual void SetNewFont(PrinterFontRecord& saved) = 0;
    virtual void SetOldFont(const PrinterFontRecord& saved) = 0;

    // Busy cursor: remember the main window's pointer and show the hourglass; restore it.
    // Never called in batch.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    // Let pending window events run once (RunReports calls it twice, in every mode).
    virtual void ProcessEvents() {}

    // The destination of one report run in the given mode (see ReportSink.h). View: a sink
    // opening one viewer window per report; Print: the printer; File: a FileSink on the
    // batch output file.
    virtual std::unique_ptr<ReportSink> MakeSink(ReportMode mode) = 0;

    // Error 10005 outside batch: message box "Notice" (exclamation) with kNoDataNotice,
    // then show the main window.
    virtual void ShowNoDataNotice() = 0;

    // Outside batch: the analysis's figures cannot be calculated (a zero base, a figure too
    // large); the text names the input to fix, and the program goes on. By default it is
    // passed to ReportOrLog.
    virtual void ShowCalculationProblem(const std::string& text) {
        ReportOrLog(activation::ComError(5, "Reports.RunReports", text), "Reports.RunReports");
    }

    // The error reporter's ReportOrLog (logs in batch, shows otherwise; goes on).
    virtual void ReportOrLog(const activation::ComError& error, const std::string& location) = 0;

    // The program's own error message (ReportErrorAndQuit: offers Save As and ends the
    // program). The host decides what "ends" means; the report logic returns after it.
    virtual void ReportErrorAndQuit(const activation::ComError& error,
                                    const std::string& location) = 0;
};

// ---- the run -------------------------------------------------------------------------

// What a report run needs from the program's run state.
struct RunContext {
    vesmora::_Caldren& calc;  // the engine object
    ReportsHost& host;
    ReportChoices& choices;   // the run state's report flags
    std::string currentFile;  // current data file (captions, Inputs report)
    bool batch = false;       // the silent flag
    Wording wording = Wording::AsEver;
};

// RunReports(mode): the choices (unless batch), calculate when Summary or Detailed is
// chosen, copies and font in Print mode, busy cursor (unless batch), then per copy the
// chosen reports (Print: Inputs, Summary, Detailed, end of job; View and File: Detailed,
// Summary, Inputs). Errors of its own go to ReportErrorAndQuit "RunReports" (busy cursor
// restored, printer font not restored).
// Returns true when every chosen report of every copy was completed (false after any
// error, also those handled by a builder's own path); nothing chosen counts as true.
// Outside batch, an analysis that cannot be calculated is not an error of the program:
// with no data entered it gets the notice (ShowNoDataNotice), otherwise the message of
// CalculationProblem (ShowCalculationProblem); nothing is built and the program goes on.
bool RunReports(ReportMode mode, RunContext& ctx);

// True when no amount of the analysis (inputs and months) differs from zero.
bool NoDataEntered(const vesmora::_Caldren& calc);

// Why the analysis cannot be calculated, naming the input to fix: Net Sales of zero (every
// method divides by it), Cost of Goods Sold of zero (the peak method divides each month's
// inventory by it), or, for a result out of range, the largest amount entered.
std::string CalculationProblem(const vesmora::_Caldren& calc, const activation::ComError& error);

// The builders with their own error paths (mode is the sink's). Each returns true when
// the report was completed. Summary and Detailed: 10005 -> host.ShowNoDataNotice()
// unless batch (in batch it is reported with ReportOrLog like every other error); other
// errors -> host.ReportOrLog with "SummaryReport.RunSummReport" /
// "DetailedReport.RunDetailReport". Inputs: host.ReportErrorAndQuit "RunIPReport".
bool RunSummReport(ReportSink& sink, RunContext& ctx);
bool RunDetailReport(ReportSink& sink, RunContext& ctx);
bool RunIPReport(ReportSink& sink, RunContext& ctx);

// One report as the report run builds it (the builders' runners above). The run renumbers
// the months from the current year end (FillMonthsFromYearEnd) for the Summary, once its
// report has begun (viewer open, printer font set), and for the Detailed Analysis before it
// begins; the Inputs report renumbers nothing and shows the months as the reports before it
// left them. The comparison is no report of one analysis: error 5. Errors propagate.
void BuildReport(ReportKind kind, vesmora::_Caldren& calc, ReportSink& sink,
                 const std::string& currentFile, Wording wording = Wording::AsEver);

// The engine's FillFiscalMonth on the analysis' months, from its current year end.
void FillMonthsFromYearEnd(vesmora::_Caldren& calc);

// The layouts alone: read the engine and change nothing in it, send the report to the sink
// (BeginReport, chunks, EndReport). Errors propagate (ComError). `currentFile` names the
// data file in the caption and in the Inputs report's "Filename:" line.
void BuildSummReport(const vesmora::_Caldren& calc, ReportSink& sink,
                     const std::string& currentFile = {}, Wording wording = Wording::AsEver);
void BuildDetailReport(const vesmora::_Caldren& calc, ReportSink& sink,
                       const std::string& currentFile = {}, Wording wording = Wording::AsEver);
void BuildIPReport(const vesmora::_Caldren& calc, ReportSink& sink,
                   const std::string& currentFile = {}, Wording wording = Wording::AsEver);

// Text of the notice shown for error 10005 (title kNoDataNoticeTitle).
extern const char* const kNoDataNoticeTitle;  // "Notice"
extern const char* const kNoDataNotice;

// ---- shared helpers ------------------------------------------------------------------

// n copies of the em dash (Windows-1252 character 151), written as UTF-8 U+2014
// ("\xE2\x80\x94", 3 bytes per character); n below 1 gives the empty text.
std::string GetPrintLine(int n);

// "01".."12" -> "Jan".."Dec" in place; any other text is left unchanged.
void MonthAbbrev(std::string& month);

// Number patterns applied to the engine's text (US form: "1,234", "-1,234", "0.12345").
// Halves are rounded away from zero. Throws ComError 13 ("Type mismatch") for a text that
// is not a number.
//   "$##,###,##0"  FormatDollars   -> "$1,234"  "-$1,234"
//   "##,###,##0"   FormatAmount    -> "1,234"   "-1,234"
//   "-##,###,##0"  FormatSubtracted-> "-1,234"  "--1,234" (a literal minus before the number)
//   "##0.00000"    FormatRatio     -> "0.12346"
//   "##0.00%"      FormatPercent   -> "12.35%"  (value times 100)
//   "mm/dd/yyyy"   FormatDate      -> "06/30/2004" (from "6/30/2004"; ComError 13 if no date)
std::string FormatDollars(std::string_view engineText);
std::string FormatAmount(std::string_view engineText);
std::string FormatSubtracted(std::string_view engineText);
std::string FormatRatio(std::string_view engineText);
std::string FormatPercent(std::string_view engineText);
std::string FormatDate(std::string_view engineText);
// A day count: rounded to 5 decimals (ties to even), shortest decimal form ("45",
// "45.12346").
std::string FormatDays(std::string_view engineText);
// The engine's date text as a date ("6/30/2004"); ComError 13 when it is not a date.
common::Date ParseDate(std::string_view engineText);

// "##0.00000" applied to a double (the month cycles cross the interface as doubles): the
// shortest decimal text of the double, rounded as FormatRatio does.
std::string FormatRatioValue(double value);

// The engine's amount text as whole units (rounded, halves away from zero); the empty
// text is 0. ComError 13 when it is not a number, 6 when it does not fit.
long long ParseWholeUnits(std::string_view engineText);

// Right-aligned in a field of `width` characters. A longer text does not fit: the field
// is `width` "#" characters instead (a figure cut short would read as another number).
// Widths count characters (UTF-8 code points), not bytes.
std::string RightAlign(std::string_view text, std::size_t width = 12);

// Left-aligned: blanks appended up to `width` characters; a longer text is kept whole.
std::string PadRight(std::string_view text, std::size_t width);

// n blanks.
std::string Blanks(int n);
// n copies of a character.
std::string Repeat(char c, int n);

}  // namespace Reports
