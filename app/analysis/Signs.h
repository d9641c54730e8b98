// Signs: the inputs that cannot sensibly be negative, and why. One table, read by the checks
// (Checks.h lists a negative figure of these inputs) and by the input form (a mark at the
// field and a line under the help pane). A negative value is never refused: it is kept and
// pointed at.
//
// The table holds every balance (what the books show at a date: assets, securities, notes,
// liabilities, inventories, receivables, payables), every total of the year (purchases,
// cost of goods sold, net sales), next year's costs, the two amounts set aside (other
// reasonable needs, contingencies) and the four figures of each month. It leaves out the two
// adjustments (to the available working capital, to the cost of operations), which are
// added as typed and may go either way.
#pragma once

#include <string_view>
#include <vector>

namespace caldren::analysis {

struct NonNegativeInput {
    const char* property;  // engine property of the analysis ("CurLiab"), or with `month`
                           // the property of every month of the collection ("Sales")
    bool month;
    const char* reason;  // why, one clause: "a balance cannot be below zero"
    // The analysis subtracts the figure as it stands (current liabilities, next year's
    // depreciation, other reasonable needs, contingencies): a credit balance typed in
    // parentheses there most likely means the positive amount.
    bool subtracted;
};

// Every input that cannot sensibly be negative, in the order of the input form's pages and
// then the month columns.
const std::vector<NonNegativeInput>& NonNegativeInputs();

// The entry of a property (of the analysis or of a month); nullptr when it may be negative.
const NonNegativeInput* FindNonNegative(std::string_view property);

// True when a negative value of the property makes no sense ("CurLiab", "Sales").
bool CannotBeNegative(std::string_view property);

// True when the analysis subtracts the property's value ("CurLiab", "DeprecNxtYr",
// "Reasonableneeds", "Contingencies").
bool IsSubtracted(std::string_view property);

}  // namespace caldren::analysis
