// Checks: what looks wrong in an analysis's figures. Never blocking: each finding names the
// fields and the amounts, and the user decides. The windows list them (ChecksList) and the
// command line prints them ("/check").
//
// The checks, in the order they are listed:
//  1. Cost of goods sold against beginning inventory + inventory purchases - ending
//     inventory (whole units, any difference).
//  2. When the peak method estimates month-end inventory from sales and purchases: the
//     months' sales against net sales, the months' purchases against inventory purchases.
//  3. Peak method: month dates outside the tax year that ends at the current year end
//     (by month; the day does not matter). Its action moves the dates into the tax year.
//  4. Peak method with twelve months or more: the twelfth month's inventory against ending
//     inventory. An entered inventory must equal it; an estimated one may differ by what the
//     estimate's rounding explains: half a unit per month, plus a millionth of the months'
//     sales (the gross profit percent enters with four decimals), plus one.
//  5. Negative figures where none can be, the inputs of Signs.h: balances (current assets,
//     securities, notes from shareholders, current liabilities, inventories, receivables
//     and payables), the year's totals, next year's costs and the amounts set aside; with
//     the peak method, the months' receivables, inventory (entered or estimated), sales
//     and purchases.
//  6. A zero base: net sales of zero (every method fails), cost of goods sold of zero with
//     the peak method's months (the peak method fails), and bases whose zero turns a cycle
//     silently to nothing: cost of goods sold with inventories (average method), inventory
//     purchases of zero or less with payables.
//  7. Amounts out of scale, inputs and months: wider than the reports' 12-character columns
//     (they would print as "#"), or above 1,000 times the larger of net sales and current
//     assets.
//  8. Peak method: a single month's sales above the year's net sales, or its purchases
//     above the year's inventory purchases.
#pragma once

#include <vesmora/Vesmora.h>

#include <string>
#include <vector>

namespace caldren::analysis {

enum class CheckKind {
    CostOfGoodsSold,
    MonthTotals,
    MonthDates,
    TwelfthMonthInventory,
    NegativeBalance,
    ZeroBase,
    NegativeAmount,  // a negative figure that is no balance (a total, a cost, a month's sales)
    OutOfScale,
    MonthAboveYear,
};

// A field a finding names: an engine property of the analysis ("COGS"), or with month > 0
// the property of that month (1 = first) of the month collection ("Sales", "Inventory").
struct FieldRef {
    std::string property;
    int month = 0;
    bool operator==(const FieldRef&) const = default;
};

enum class CheckAction { None, MoveMonthDates };

struct Finding {
    CheckKind kind;
    std::string text;
    std::vector<FieldRef> fields;
    CheckAction action = CheckAction::None;
    bool operator==(const Finding&) const = default;
};

// The caption of an action ("Move the Month Dates into the Tax Year").
std::string ActionCaption(CheckAction action);
// A kind's short name for listings ("Cost of goods sold").
std::string KindName(CheckKind kind);

// The findings for the inputs of `inputs`. `calculated`, when given, is the same analysis
// after a successful calculation: its months hold the estimated month-end inventories that
// checks 4 and 5 look at when inventory is estimated (skipped without it). Neither object
// is changed.
std::vector<Finding> CheckFigures(const vesmora::_Caldren& inputs,
                                  const vesmora::_Caldren* calculated = nullptr);

// The action of check 3: dates month n of the collection in the n-th month of the tax year
// that ends at EOYCurrent (the months after the twelfth continue into the next year). A
// month whose day is past the 27th becomes the last day of its new month, as the input
// form's dates do; other days stay. The months' amounts are not touched. Returns the
// number of dates changed.
int MoveMonthDatesIntoTaxYear(vesmora::_Caldren& calc);

}  // namespace caldren::analysis
