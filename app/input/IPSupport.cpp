#include "IPSupport.h"

#include "ControlExtend.h"
#include "app/core/ErrorPaths.h"
#include "app/core/FileOperations.h"
#include "app/core/RunState.h"
#include "app/core/Ui.h"
#include "frmIP.h"

#include <QDialog>

#include <analysis/InputChanges.h>
#include <common/Calendar.h>

#include <cstdlib>
#include <exception>

namespace caldren::input::IPSupport {

void InitIP(RunState& state, Ui& ui, dialogs::Dialogs& dialogs, QWidget* parent) {
    try {
        frmIP form(state, ui, dialogs, parent);
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
    constexpr int kCommonYear = 2001;  // no February 29
    return common::DaysInMonth(month, kCommonYear);
}

void GetInputs(RunState& state) {
    try {
        FileOperations::Save(state, state.document.currentFileName);
    } catch (const activation::ComError& err) {
        if (state.options.ui) state.options.ui->ReportErrorAndQuit(err.Number(), "GetInputs");
    }
}

bool SplitDate(const std::string& text, int& month, int& day, int& year) {
    const std::optional<common::Date> d = common::ParseSlashDate(text);
    if (!d) return false;
    month = d->month;
    day = d->day;
    year = d->year;
    return true;
}

std::string NextYearDate(int month, int day, int year) {
    return common::ShortDateText(common::OneYearLater({month, day, year}, false));
}

}  // namespace caldren::input::IPSupport
