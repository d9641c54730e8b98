#include "IPSupport.h"

#include "app/core/ErrorPaths.h"
#include "app/core/FileOperations.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "frmIP.h"

#include <QDialog>

#include <analysis/InputChanges.h>

#include <cstdlib>
#include <exception>

namespace caldren::IPSupport {

namespace {
bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysIn(int month, int year) {
    return month == 2 && isLeapYear(year) ? 29 : CalcDaysMonth(month);
}

bool parseNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 4) return false;
    int result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    value = result;
    return true;
}
}  // namespace

void InitIP(RunState& state, Ui& ui, QWidget* parent) {
    try {
        frmIP form(state, ui, parent);
        form.FitToScreen();
        ControlExtend::CenterForm(&form);
        form.SetInitialIP();
        form.exec();
        // OK saved, Cancel put the analysis back: the results follow either.
        analysis::InputChanges().Notify();
    } catch (const activation::ComError& err) {
        ui.ReportErrorAndQuit(err.Number(), "InitIP");
    } catch (const std::exception&) {
        ui.ReportErrorAndQuit(5, "InitIP");
    }
}

void InitMonths(vesmora::_Months& months) {
    if (months.get_Count() > 0) return;
    for (int i = 0; i < 12; ++i)
        months.Add("12/31/2002", "0", "0", "0", "0", 0.0, 0.0, 0.0, std::string());
}

void InitMonths(RunState& state, vesmora::_Months& months) {
    try {
        InitMonths(months);
    } catch (const std::exception& e) {
        ErrorPaths::LogThenShutDown(state.program, state.options, ErrorPaths::AsComError(e),
                                    "IPSupport.InitMonths");
    }
}

int CalcDaysMonth(int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 ? kDays[month - 1] : 0;
}

void GetInputs(RunState& state) {
    try {
        FileOperations::Save(state, state.document.currentFileName);
    } catch (const activation::ComError& err) {
        if (state.options.ui) state.options.ui->ReportErrorAndQuit(err.Number(), "GetInputs");
    }
}

bool SplitDate(const std::string& text, int& month, int& day, int& year) {
    const auto first = text.find('/');
    const auto second = first == std::string::npos ? first : text.find('/', first + 1);
    if (second == std::string::npos || text.find('/', second + 1) != std::string::npos)
        return false;
    int m = 0, d = 0, y = 0;
    if (!parseNumber(text.substr(0, first), m) ||
        !parseNumber(text.substr(first + 1, second - first - 1), d) ||
        !parseNumber(text.substr(second + 1), y))
        return false;
    if (m < 1 || m > 12 || y < 100 || d < 1 || d > daysIn(m, y)) return false;
    month = m;
    day = d;
    year = y;
    return true;
}

std::string NextYearDate(int month, int day, int year) {
    const int next = year + 1;
    if (month >= 1 && month <= 12 && day > daysIn(month, next)) day = daysIn(month, next);
    return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(next);
}

}  // namespace caldren::IPSupport
