#include "Checks.h"

#include "Dates.h"
#include "Inputs.h"
#include "Signs.h"

#include <common/Amount.h>

#include <cstdlib>
#include <cstring>

namespace caldren::analysis {

using C = vesmora::_Caldren;
using vesmora::IndexKey;

namespace {

// One month's figures, in whole units.
struct Month {
    std::string date;
    long long inventory = 0;
    long long receivables = 0;
    long long sales = 0;
    long long purchases = 0;
};

std::vector<Month> ReadMonths(const C& calc) {
    std::vector<Month> out;
    auto months = calc.get_colMonths();
    const long count = months ? months->get_Count() : 0;
    for (long i = 1; i <= count; ++i) {
        auto m = months->get_Item(IndexKey{i});
        out.push_back({m->get_MonthDate(), WholeUnits(m->get_Inventory()),
                       WholeUnits(m->get_Receivables()), WholeUnits(m->get_Sales()),
                       WholeUnits(m->get_Purchases())});
    }
    return out;
}

// The analysis's inputs in whole units, read once.
struct Figures {
    const C& calc;
    long long Of(const char* property) const {
        return WholeUnits((calc.*FindTextInput(property)->get)());
    }
};

std::string Label(const char* property) { return FindTextInput(property)->label; }
std::string Amount(long long v) { return AmountText(v); }
std::string Named(const char* property, long long v) { return Label(property) + " " + Amount(v); }
std::string Is(const char* property, long long v) { return Label(property) + " is " + Amount(v); }
std::string Difference(long long a, long long b) {
    return " (a difference of " + Amount(std::llabs(a - b)) + ").";
}

// "month 3 (03/15/2020)", "months 1 to 12 (07/15/2024 to 06/15/2025)", joined by ", ".
std::string MonthList(const std::vector<int>& indexes, const std::vector<Month>& months) {
    std::string s;
    for (std::size_t i = 0; i < indexes.size();) {
        std::size_t j = i;
        while (j + 1 < indexes.size() && indexes[j + 1] == indexes[j] + 1) ++j;
        const Month& first = months[static_cast<std::size_t>(indexes[i])];
        const Month& last = months[static_cast<std::size_t>(indexes[j])];
        if (!s.empty()) s += ", ";
        if (i == j)
            s += "month " + std::to_string(indexes[i] + 1) + " (" + first.date + ")";
        else
            s += "months " + std::to_string(indexes[i] + 1) + " to " +
                 std::to_string(indexes[j] + 1) + " (" + first.date + " to " + last.date + ")";
        i = j + 1;
    }
    return s;
}

// The reports' value columns are 12 characters wide; an amount above kScaleFactor times the
// larger of net sales and current assets is taken for a slip of the keyboard.
constexpr std::size_t kReportColumn = 12;
constexpr long long kScaleFactor = 1000;

// Month amounts: "month 3 -5,000, month 7 -2,000".
std::string MonthAmounts(const std::vector<int>& indexes, const std::vector<long long>& values) {
    std::string s;
    for (int i : indexes)
        s += (s.empty() ? "month " : ", month ") + std::to_string(i + 1) + " " +
             Amount(values[static_cast<std::size_t>(i)]);
    return s;
}

void CheckCostOfGoodsSold(const Figures& f, std::vector<Finding>& out) {
    const long long cogs = f.Of("COGS"), beg = f.Of("InvBeg"), purchases = f.Of("InvPurchases"),
                    end = f.Of("InvEnd");
    const long long expected = beg + purchases - end;
    if (cogs == expected) return;
    out.push_back({CheckKind::CostOfGoodsSold,
                   "Cost of Goods Sold is " + Amount(cogs) + ", but " + Named("InvBeg", beg) +
                       " + " + Named("InvPurchases", purchases) + " - " + Named("InvEnd", end) +
                       " = " + Amount(expected) + Difference(cogs, expected),
                   {{"COGS"}, {"InvBeg"}, {"InvPurchases"}, {"InvEnd"}}});
}

void CheckMonthTotals(const Figures& f, const std::vector<Month>& months,
                      std::vector<Finding>& out) {
    struct Total {
        const char* column;
        const char* property;
        long long Month::*value;
    };
    for (const Total& t : {Total{"Sales", "NetSales", &Month::sales},
                           Total{"Purchases", "InvPurchases", &Month::purchases}}) {
        long long sum = 0;
        std::vector<FieldRef> fields{{t.property}};
        for (std::size_t i = 0; i < months.size(); ++i) {
            sum += months[i].*t.value;
            fields.push_back({t.column, static_cast<int>(i + 1)});
        }
        const long long year = f.Of(t.property);
        if (sum == year) continue;
        out.push_back({CheckKind::MonthTotals,
                       "The months' " + std::string(t.column) + " add up to " + Amount(sum) +
                           ", but " + Is(t.property, year) + Difference(sum, year),
                       fields});
    }
}

void CheckMonthDates(const C& calc, const std::vector<Month>& months, std::vector<Finding>& out) {
    const Date yearEnd = ParseDate(calc.get_EOYCurrent());
    const int last = MonthIndex(yearEnd), first = last - 11;
    std::vector<int> outside;
    std::vector<FieldRef> fields{{"EOYCurrent"}};
    for (std::size_t i = 0; i < months.size(); ++i) {
        const int at = MonthIndex(ParseDate(months[i].date));
        if (at >= first && at <= last) continue;
        outside.push_back(static_cast<int>(i));
        fields.push_back({"MonthDate", static_cast<int>(i + 1)});
    }
    if (outside.empty()) return;
    out.push_back({CheckKind::MonthDates,
                   "The dates of " + MonthList(outside, months) +
                       " lie outside the tax year ending " + DateText(yearEnd) +
                       ", which runs from " + MonthAndYear(first) + " to " + MonthAndYear(last) +
                       ".",
                   fields, CheckAction::MoveMonthDates});
}

void CheckTwelfthMonth(const Figures& f, const std::vector<Month>& months, bool estimated,
                       std::vector<Finding>& out) {
    if (months.size() < 12) return;
    const Month& twelfth = months[11];
    const long long end = f.Of("InvEnd");
    long long allowed = 0;
    if (estimated) {
        long long sales = 0;
        for (const Month& m : months) sales += std::llabs(m.sales);
        allowed = static_cast<long long>(months.size()) / 2 + sales / 1000000 + 1;
    }
    if (std::llabs(twelfth.inventory - end) <= allowed) return;
    out.push_back({CheckKind::TwelfthMonthInventory,
                   "Month 12 (" + twelfth.date + ") Inventory" +
                       (estimated ? " estimated from the months' sales and purchases" : "") +
                       " is " + Amount(twelfth.inventory) + ", but " + Is("InvEnd", end) +
                       Difference(twelfth.inventory, end),
                   {{"Inventory", 12}, {"InvEnd"}}});
}

// The month column's values: "Receivables" -> Month::receivables.
long long Month::*ColumnOf(std::string_view property) {
    if (property == "Receivables") return &Month::receivables;
    if (property == "Inventory") return &Month::inventory;
    if (property == "Sales") return &Month::sales;
    return &Month::purchases;
}

// The inputs that are amounts (not names, not dates), in the order of the input form.
bool IsAmountInput(const TextInput& input) {
    const std::string_view p = input.property;
    return p != "sName" && p != "Line2" && p.substr(0, 3) != "EOY";
}

// Every input of the table in Signs.h below zero; the months' figures only with the peak
// method (`months`), the month-end inventory only when it is known (`withInventory`).
void CheckNegatives(const Figures& f, const std::vector<Month>* months,
                    const std::vector<Month>* withInventory, bool estimated,
                    std::vector<Finding>& out) {
    const std::string balance = "a balance cannot be below zero";
    for (const NonNegativeInput& input : NonNegativeInputs()) {
        if (input.month) continue;
        const long long v = f.Of(input.property);
        if (v >= 0) continue;
        out.push_back(
            {input.reason == balance ? CheckKind::NegativeBalance : CheckKind::NegativeAmount,
             Label(input.property) + " is negative (" + Amount(v) + "); " + input.reason + ".",
             {{input.property}}});
    }
    for (const NonNegativeInput& input : NonNegativeInputs()) {
        if (!input.month) continue;
        const std::string_view property = input.property;
        const bool inventory = property == "Inventory";
        const std::vector<Month>* source = inventory ? withInventory : months;
        if (!source) continue;
        std::vector<int> below;
        std::vector<long long> values;
        std::vector<FieldRef> fields;
        for (std::size_t i = 0; i < source->size(); ++i) {
            values.push_back((*source)[i].*ColumnOf(property));
            if (values.back() >= 0) continue;
            below.push_back(static_cast<int>(i));
            fields.push_back({input.property, static_cast<int>(i + 1)});
        }
        if (below.empty()) continue;
        std::string text;
        if (property == "Receivables")
            text = "Month-end Receivables are below zero: ";
        else if (inventory)
            text = estimated ? "Month-end Inventory estimated from the months' sales and purchases "
                               "is below zero: "
                             : "Month-end Inventory is below zero: ";
        else
            text = "The months' " + std::string(property) + " are below zero: ";
        text += MonthAmounts(below, values);
        if (property == "Sales" || property == "Purchases")
            text += "; " + std::string(input.reason);
        out.push_back({inventory || property == "Receivables" ? CheckKind::NegativeBalance
                                                              : CheckKind::NegativeAmount,
                       text + ".", fields});
    }
}

// Why an amount is out of scale, or empty: wider than the reports' 12-character columns
// (it would print as "#"), or above 1,000 times the larger of net sales and current assets.
std::string OutOfScale(long long v, long long scale) {
    if (common::WholeUnitsText(v).size() + 1 > kReportColumn)
        return "too wide for the reports' " + std::to_string(kReportColumn) +
               "-character columns (it would print as " + std::string(kReportColumn, '#') + ")";
    if (scale > 0 && std::llabs(v) > kScaleFactor * scale)
        return "more than " + Amount(kScaleFactor) + " times the larger of Net Sales and " +
               "Current Assets (" + Amount(scale) + ")";
    return {};
}

void CheckScale(const Figures& f, const std::vector<Month>& months, std::vector<Finding>& out) {
    const long long scale = std::max(std::llabs(f.Of("NetSales")), std::llabs(f.Of("CurAssets")));
    for (const TextInput& input : TextInputs()) {
        if (!IsAmountInput(input)) continue;
        const long long v = f.Of(input.property);
        const std::string why = OutOfScale(v, scale);
        if (!why.empty())
            out.push_back({CheckKind::OutOfScale,
                           Is(input.property, v) + ": " + why + ".",
                           {{input.property}}});
    }
    for (const char* column : {"Receivables", "Inventory", "Sales", "Purchases"}) {
        for (std::size_t i = 0; i < months.size(); ++i) {
            const long long v = months[i].*ColumnOf(column);
            const std::string why = OutOfScale(v, scale);
            if (why.empty()) continue;
            out.push_back({CheckKind::OutOfScale,
                           "Month " + std::to_string(i + 1) + " (" + months[i].date + ") " +
                               column + " is " + Amount(v) + ": " + why + ".",
                           {{column, static_cast<int>(i + 1)}}});
        }
    }
}

// A single month's sales above the year's net sales, or its purchases above the year's
// inventory purchases.
void CheckMonthAboveYear(const Figures& f, const std::vector<Month>& months,
                         std::vector<Finding>& out) {
    for (const auto& [column, property] :
         {std::pair{"Sales", "NetSales"}, std::pair{"Purchases", "InvPurchases"}}) {
        const long long year = f.Of(property);
        if (year <= 0) continue;  // a zero base or a negative, listed already
        std::vector<int> above;
        std::vector<long long> values;
        std::vector<FieldRef> fields{{property}};
        for (std::size_t i = 0; i < months.size(); ++i) {
            values.push_back(months[i].*ColumnOf(column));
            if (values.back() <= 0 || values.back() <= year) continue;
            above.push_back(static_cast<int>(i));
            fields.push_back({column, static_cast<int>(i + 1)});
        }
        if (above.empty()) continue;
        out.push_back({CheckKind::MonthAboveYear,
                       "A single month's " + std::string(column) + " exceed the year's " +
                           Named(property, year) + ": " + MonthAmounts(above, values) + ".",
                       fields});
    }
}

void CheckZeroBases(const Figures& f, bool peakMonths, std::vector<Finding>& out) {
    const bool average = f.calc.get_DoAveCycle(), peak = f.calc.get_DoPeakCycle();
    if (!average && !peak) return;
    if (f.Of("NetSales") == 0) {
        out.push_back(
            {CheckKind::ZeroBase,
             "Net Sales is zero: the calculation divides by it, so no method can be calculated.",
             {{"NetSales"}}});
        return;
    }
    const long long cogs = f.Of("COGS"), invBeg = f.Of("InvBeg"), invEnd = f.Of("InvEnd");
    if (cogs == 0 && peakMonths)
        out.push_back(
            {CheckKind::ZeroBase,
             "Cost of Goods Sold is zero: the peak method divides each month's inventory by it, so "
             "it cannot be calculated.",
             {{"COGS"}}});
    if (cogs == 0 && average && (invBeg != 0 || invEnd != 0))
        out.push_back(
            {CheckKind::ZeroBase,
             "Cost of Goods Sold is zero: the average method counts no inventory days although " +
                 Is("InvBeg", invBeg) + " and " + Is("InvEnd", invEnd) + ".",
             {{"COGS"}, {"InvBeg"}, {"InvEnd"}}});
    const long long purchases = f.Of("InvPurchases"), apBeg = f.Of("APBegRel2Inv"),
                    apEnd = f.Of("APEndRel2Inv");
    if (purchases <= 0 && (apBeg != 0 || apEnd != 0))
        out.push_back({CheckKind::ZeroBase,
                       "Inventory Purchases is " + Amount(purchases) +
                           ": the accounts payable turnover counts as zero although " +
                           Is("APBegRel2Inv", apBeg) + " and " + Is("APEndRel2Inv", apEnd) + ".",
                       {{"InvPurchases"}, {"APBegRel2Inv"}, {"APEndRel2Inv"}}});
}

}  // namespace

std::string ActionCaption(CheckAction action) {
    return action == CheckAction::MoveMonthDates ? "Move the Month Dates into the Tax Year"
                                                 : std::string();
}

std::string KindName(CheckKind kind) {
    switch (kind) {
        case CheckKind::CostOfGoodsSold:
            return "Cost of goods sold";
        case CheckKind::MonthTotals:
            return "Month totals";
        case CheckKind::MonthDates:
            return "Month dates";
        case CheckKind::TwelfthMonthInventory:
            return "Twelfth month's inventory";
        case CheckKind::NegativeBalance:
            return "Negative balance";
        case CheckKind::NegativeAmount:
            return "Negative amount";
        case CheckKind::OutOfScale:
            return "Out of scale";
        case CheckKind::MonthAboveYear:
            return "Month above the year";
        case CheckKind::ZeroBase:
            return "Zero base";
    }
    return {};
}

std::vector<Finding> CheckFigures(const C& inputs, const C* calculated) {
    std::vector<Finding> out;
    const Figures f{inputs};
    const bool peak = inputs.get_DoPeakCycle();
    const bool estimated = inputs.get_DoPeakUseSalesAndPurch();
    const std::vector<Month> months = peak ? ReadMonths(inputs) : std::vector<Month>{};
    // Estimated inventories come from the calculated copy (whose other month figures are the
    // inputs'); without one they are unknown.
    std::vector<Month> withInventory = months;
    const bool inventoryKnown = !estimated || calculated;
    if (peak && estimated && calculated) withInventory = ReadMonths(*calculated);

    CheckCostOfGoodsSold(f, out);
    if (peak && estimated && !months.empty()) CheckMonthTotals(f, months, out);
    if (peak) CheckMonthDates(inputs, months, out);
    if (peak && inventoryKnown) CheckTwelfthMonth(f, withInventory, estimated, out);
    CheckNegatives(f, peak ? &months : nullptr, peak && inventoryKnown ? &withInventory : nullptr,
                   estimated, out);
    CheckZeroBases(f, peak && !months.empty(), out);
    CheckScale(f, months, out);
    if (peak) CheckMonthAboveYear(f, months, out);
    return out;
}

int MoveMonthDatesIntoTaxYear(C& calc) {
    const Date yearEnd = ParseDate(calc.get_EOYCurrent());
    const int first = MonthIndex(yearEnd) - 11;
    auto months = calc.get_colMonths();
    const long count = months ? months->get_Count() : 0;
    int changed = 0;
    for (long i = 1; i <= count; ++i) {
        auto m = months->get_Item(IndexKey{i});
        const Date old = ParseDate(m->get_MonthDate());
        const int at = first + static_cast<int>(i - 1);
        Date moved{at % 12 + 1, 0, at / 12};
        moved.day = old.day > 27 ? DaysInMonth(moved.month, moved.year) : old.day;
        const std::string text = DateText(moved);
        if (text == m->get_MonthDate()) continue;
        m->put_MonthDate(text);
        ++changed;
    }
    return changed;
}

}  // namespace caldren::analysis
