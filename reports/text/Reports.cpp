// Module Reports: the report run (RunReports), the builders' error paths, and the shared
// text helpers GetPrintLine and MonthAbbrev.
#include "Reports.h"

#include <activation/Com.h>

#include <new>

namespace Reports {

const char* const kNoDataNoticeTitle = "Notice";
const char* const kNoDataNotice =
    "No data was entered. Please either use menu choice File - New to enter new "
    "information or File - Open to retrieve data that was previously saved.";

namespace {

// Any exception as the error object the error paths take.
activation::ComError AsComError(const std::string& source) {
    try {
        throw;
    } catch (const activation::ComError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return activation::ComError(7, source);
    } catch (const std::exception& e) {
        return activation::ComError(5, source, e.what());
    } catch (...) {
        return activation::ComError(5, source);
    }
}

// The Summary and Detailed builders' shared handler.
bool RunWithReportOrLog(void (*build)(const vesmora::_Caldren&, ReportSink&, const std::string&),
                        const char* location, ReportSink& sink, RunContext& ctx) {
    try {
        build(ctx.calc, sink, ctx.currentFile);
        return true;
    } catch (...) {
        activation::ComError err = AsComError(location);
        sink.AbortReport();
        if (err.Number() == 10005 && !ctx.batch) {
            ctx.host.ShowNoDataNotice();
        } else {
            ctx.host.ReportOrLog(err, location);
        }
        return false;
    }
}

}  // namespace

std::string GetPrintLine(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\xE2\x80\x94";  // U+2014 EM DASH
    return s;
}

void MonthAbbrev(std::string& month) {
    static const char* const kNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month.size() == 2 && month[0] >= '0' && month[0] <= '1' && month[1] >= '0' &&
        month[1] <= '9') {
        int m = (month[0] - '0') * 10 + (month[1] - '0');
        if (m >= 1 && m <= 12) month = kNames[m - 1];
    }
}

bool RunSummReport(ReportSink& sink, RunContext& ctx) {
    return RunWithReportOrLog(&BuildSummReport, "SummaryReport.RunSummReport", sink, ctx);
}

bool RunDetailReport(ReportSink& sink, RunContext& ctx) {
    return RunWithReportOrLog(&BuildDetailReport, "DetailedReport.RunDetailReport", sink, ctx);
}

bool RunIPReport(ReportSink& sink, RunContext& ctx) {
    try {
        BuildIPReport(ctx.calc, sink, ctx.currentFile);
        return true;
    } catch (...) {
        activation::ComError err = AsComError("RunIPReport");
        sink.AbortReport();
        ctx.host.ReportErrorAndQuit(err, "RunIPReport");
        return false;
    }
}

bool RunReports(ReportMode mode, RunContext& ctx) {
    ReportsHost& host = ctx.host;
    bool busy = false;
    try {
        if (!ctx.batch) host.GetReports(mode, ctx.choices);
        const ReportChoices c = ctx.choices;
        if (!c.Any()) return true;
        if (c.summary == 1 || c.detail == 1) ctx.calc.Calculate();

        int copies = 1;
        PrinterFontRecord saved;
        if (mode == kPrint) {
            copies = host.GetCopies();
            host.SetNewFont(saved);
        }
        if (!ctx.batch) {
            host.BeginBusy();
            busy = true;
        }
        host.ProcessEvents();
        host.ProcessEvents();

        bool ok = true;
        bool quit = false;  // the Inputs report took the program's own error path
        if (copies >= 1) {
            std::unique_ptr<ReportSink> sink = host.MakeSink(mode);
            if (!sink)
                throw activation::ComError(91, "Reports.RunReports");
            auto inputs = [&] {
                if (c.input == 1 && !RunIPReport(*sink, ctx)) quit = true;
            };
            auto summary = [&] {
                if (c.summary == 1 && !quit) ok = RunSummReport(*sink, ctx) && ok;
            };
            auto detail = [&] {
                if (c.detail == 1 && !quit) ok = RunDetailReport(*sink, ctx) && ok;
            };
            for (; copies >= 1 && !quit; --copies) {
                if (mode == kPrint) {
                    inputs();
                    summary();
                    detail();
                    if (!quit) sink->EndPrintJob();
                } else {
                    detail();
                    summary();
                    inputs();
                }
            }
        }
        if (quit) {
            // ReportErrorAndQuit has been called: the run stops; the printer font is not
            // restored (as for the run's own errors).
            if (busy) host.EndBusy();
            return false;
        }

        if (busy) {
            busy = false;
            host.EndBusy();
        }
        if (mode == kPrint) host.SetOldFont(saved);
        return ok;
    } catch (...) {
        activation::ComError err = AsComError("RunReports");
        if (busy) host.EndBusy();
        host.ReportErrorAndQuit(err, "RunReports");
        return false;
    }
}

}  // namespace Reports
