// Module Reports: the report run (RunReports), the builders' error paths, the renumbering
// of the months around the builders (BuildReport), and the shared text helpers
// GetPrintLine and MonthAbbrev.
#include "Reports.h"

#include "ReportWriter.h"

#include <activation/Com.h>

#include <new>
#include <utility>
#include <vector>

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
bool RunWithReportOrLog(ReportKind kind, const char* location, ReportSink& sink, RunContext& ctx) {
    try {
        BuildReport(kind, ctx.calc, sink, ctx.currentFile, ctx.wording);
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

namespace {

// Labels and values of the amounts a user types, in the order of the input form.
struct AmountInput {
    const char* label;
    std::string (vesmora::_Caldren::*get)() const;
};

const AmountInput kAmountInputs[] = {
    {"Current Assets", &vesmora::_Caldren::get_CurAssets},
    {"Investment in Securities", &vesmora::_Caldren::get_Securities},
    {"Notes Receivable from Shareholders", &vesmora::_Caldren::get_NotesFromShareholders},
    {"Current Liabilities", &vesmora::_Caldren::get_CurLiab},
    {"Other Adjustments to Working Capital", &vesmora::_Caldren::get_OtherWorkCapAdj},
    {"Beginning Inventory", &vesmora::_Caldren::get_InvBeg},
    {"Ending Inventory", &vesmora::_Caldren::get_InvEnd},
    {"Inventory Purchases", &vesmora::_Caldren::get_InvPurchases},
    {"Net Sales", &vesmora::_Caldren::get_NetSales},
    {"Cost of Goods Sold", &vesmora::_Caldren::get_COGS},
    {"Cost of Goods Sold (next year)", &vesmora::_Caldren::get_COGSNxtYr},
    {"Operating Expense (next year)", &vesmora::_Caldren::get_OperatingExpNxtYr},
    {"Income Tax Expense (next year)", &vesmora::_Caldren::get_IncTaxNxtYr},
    {"Depreciation (next year)", &vesmora::_Caldren::get_DeprecNxtYr},
    {"Other Adjustments to Cost of Operations (next year)",
     &vesmora::_Caldren::get_OtherCostAdjNxtYr},
    {"Other Reasonable Needs", &vesmora::_Caldren::get_Reasonableneeds},
    {"Contingencies", &vesmora::_Caldren::get_Contingencies},
    {"Beginning Accounts Receivable", &vesmora::_Caldren::get_ARBeg},
    {"Ending Accounts Receivable", &vesmora::_Caldren::get_AREnd},
    {"Beginning Accounts Payable Related to Inventory", &vesmora::_Caldren::get_APBegRel2Inv},
    {"Ending Accounts Payable Related to Inventory", &vesmora::_Caldren::get_APEndRel2Inv},
};

// Every amount a user typed, with its label: the inputs, then the months.
std::vector<std::pair<std::string, std::string>> TypedAmounts(const vesmora::_Caldren& calc) {
    std::vector<std::pair<std::string, std::string>> amounts;
    for (const AmountInput& input : kAmountInputs)
        amounts.emplace_back(input.label, (calc.*input.get)());
    if (const auto months = calc.get_colMonths()) {
        const long count = months->get_Count();
        for (long n = 1; n <= count; ++n) {
            const auto m = months->get_Item(vesmora::IndexKey{n});
            const std::string month = "Month " + std::to_string(n) + " ";
            amounts.emplace_back(month + "Receivables", m->get_Receivables());
            amounts.emplace_back(month + "Sales", m->get_Sales());
            amounts.emplace_back(month + "Inventory", m->get_Inventory());
            amounts.emplace_back(month + "Purchases", m->get_Purchases());
        }
    }
    return amounts;
}

}  // namespace

bool NoDataEntered(const vesmora::_Caldren& calc) {
    for (const auto& [label, value] : TypedAmounts(calc))
        if (value != "0") return false;
    return true;
}

std::string CalculationProblem(const vesmora::_Caldren& calc, const activation::ComError& error) {
    const std::string lead = "The reports cannot be calculated: ";
    if (calc.get_NetSales() == "0")
        return lead +
               "Net Sales is zero. Every method divides by the year's net sales; enter "
               "them on the General Inputs page.";
    const auto months = calc.get_colMonths();
    if (calc.get_DoPeakCycle() && calc.get_COGS() == "0" && months && months->get_Count() > 0)
        return lead +
               "Cost of Goods Sold is zero. The peak method divides each month's inventory "
               "by it; enter it on the General Inputs page.";
    if (error.Number() == 6) {
        std::string label;
        std::string largest;
        std::size_t digits = 0;
        for (const auto& [name, value] : TypedAmounts(calc)) {
            const std::size_t d = value.size() - (value[0] == '-' ? 1 : 0);
            if (d > digits) {
                digits = d;
                label = name;
                largest = value;
            }
        }
        return lead + "a result is too large to hold. The largest amount entered is " + label +
               ", " + largest + "; check it and the amounts of its size.";
    }
    std::string what = error.Description();
    if (what.empty() || what == "Caldren Formula Calculator")
        what = "error " + std::to_string(error.Number());
    return lead + what + ". Check the figures entered.";
}

void FillMonthsFromYearEnd(vesmora::_Caldren& calc) {
    if (auto months = calc.get_colMonths()) months->FillFiscalMonth(calc.get_EOYCurrent());
}

void BuildReport(ReportKind kind, vesmora::_Caldren& calc, ReportSink& sink,
                 const std::string& currentFile, Wording wording) {
    switch (kind) {
        case ReportKind::Summary: {
            ReportWriter report(sink, SummaryStart(calc, currentFile));
            FillMonthsFromYearEnd(calc);
            WriteSummaryBody(calc, report, wording);
            report.End();
            break;
        }
        case ReportKind::Detailed:
            FillMonthsFromYearEnd(calc);
            BuildDetailReport(calc, sink, currentFile, wording);
            break;
        case ReportKind::Inputs:
            BuildIPReport(calc, sink, currentFile, wording);
            break;
        case ReportKind::Compare:
            throw activation::ComError(5, "Reports.BuildReport");
    }
}

bool RunSummReport(ReportSink& sink, RunContext& ctx) {
    return RunWithReportOrLog(ReportKind::Summary, "SummaryReport.RunSummReport", sink, ctx);
}

bool RunDetailReport(ReportSink& sink, RunContext& ctx) {
    return RunWithReportOrLog(ReportKind::Detailed, "DetailedReport.RunDetailReport", sink, ctx);
}

bool RunIPReport(ReportSink& sink, RunContext& ctx) {
    try {
        BuildReport(ReportKind::Inputs, ctx.calc, sink, ctx.currentFile, ctx.wording);
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
        if (c.summary == 1 || c.detail == 1) {
            try {
                ctx.calc.Calculate();
            } catch (const activation::ComError& err) {
                if (ctx.batch) throw;
                // The user's figures, not the program, are at fault: say which, and go on.
                if (err.Number() == 10005 || NoDataEntered(ctx.calc))
                    host.ShowNoDataNotice();
                else
                    host.ShowCalculationProblem(CalculationProblem(ctx.calc, err));
                return false;
            }
        }

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
            if (!sink) throw activation::ComError(91, "Reports.RunReports");
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
