// FormValues: every input of the analysis that the input form edits, as the engine formats
// it: the record's texts, dates and amounts, its four method options and its months. The
// form's undo steps hold them, and the form compares them with the values last saved to
// tell whether it holds changes.
#pragma once

#include <vesmora/Vesmora.h>

#include <array>
#include <string>
#include <vector>

namespace caldren::input {

// A month: date, inventory, receivables, sales, purchases.
using MonthValues = std::array<std::string, 5>;

struct FormValues {
    std::vector<std::string> record;  // by the property names of kFormProperties
    // DoAveCycle, DoPeakCycle, UseCurrentAmounts, DoPeakUseSalesAndPurch.
    std::array<bool, 4> options{};
    std::vector<MonthValues> months;
    bool operator==(const FormValues&) const = default;

    static FormValues Of(vesmora::_Caldren& engine);
    // Writes through the engine's setters what differs from `now`, the engine's values now.
    void WriteTo(vesmora::_Caldren& engine, const FormValues& now) const;
};

std::vector<MonthValues> ReadMonths(vesmora::_Caldren& engine);
// The months as kept: a month that differs is written whole (its inventory as the
// calculation writes it), and months beyond those kept are removed.
void WriteMonths(vesmora::_Caldren& engine, const std::vector<MonthValues>& months);

}  // namespace caldren::input
