#include "c_calcs.h"

#include "Caldren.h"
#include "EngineErrors.h"
#include "Months.h"

#include <cmath>

namespace c_calcs {

using namespace vesmora;
using vk::Amount;

namespace {

constexpr double kDaysInYear = 365.0;

Amount Add(Amount a, Amount b) {
    Amount r = 0;
    if (!vk::AddAmount(a, b, r)) RaisePlatform(kErrOverflow);
    return r;
}

Amount Sub(Amount a, Amount b) {
    Amount r = 0;
    if (!vk::SubAmount(a, b, r)) RaisePlatform(kErrOverflow);
    return r;
}

// A double converted to an amount (four decimals, ties to even); overflow is error 6.
Amount ToAmountChecked(double x) {
    Amount r = 0;
    if (vk::DoubleToAmount(x, r) != vk::Conv::Ok) RaisePlatform(kErrOverflow);
    return r;
}

Amount RoundToUnit(Amount a) {
    Amount r = 0;
    if (!vk::RoundAmountToUnitHalfEven(a, r)) RaisePlatform(kErrOverflow);
    return r;
}

// Floating division as the platform does it: 0/0 is an overflow (6), x/0 a division by
// zero (11), a result beyond the double range an overflow.
double Divide(double num, double den) {
    if (den == 0.0) RaisePlatform(num == 0.0 ? kErrOverflow : kErrDivisionByZero);
    const double q = num / den;
    if (!std::isfinite(q)) RaisePlatform(kErrOverflow);
    return q;
}

double Multiply(double a, double b) {
    const double p = a * b;
    if (!std::isfinite(p)) RaisePlatform(kErrOverflow);
    return p;
}

double AsDouble(Amount a) { return vk::AmountToDouble(a); }

std::string Plain(Amount a) { return vk::PlainAmount(a); }

// Walks a month collection in its enumeration order.
template <class F>
void ForEachMonth(const ComPtr<_Months>& months, F&& f) {
    if (!months) RaisePlatform(kErrObjectNotSet);
    const ComPtr<_MonthsEnum> it = months->get_NewEnum();
    while (ComPtr<_Monthly> month = it->Next()) f(month);
}

}  // namespace

void CalcCostofOps(Caldren& rec) {
    Trapped("c_calcs.CalcCostofOps", [&] {
        const Amount cogs = ToAmount(rec.get_COGSNxtYr());
        const Amount opex = ToAmount(rec.get_OperatingExpNxtYr());
        const Amount tax = ToAmount(rec.get_IncTaxNxtYr());
        const Amount deprec = ToAmount(rec.get_DeprecNxtYr());
        const Amount other = ToAmount(rec.get_OtherCostAdjNxtYr());
        const Amount cost = Add(Sub(Add(Add(cogs, opex), tax), deprec), other);
        rec.put_COGSNxtYr(Plain(cogs));
        rec.put_OperatingExpNxtYr(Plain(opex));
        rec.put_IncTaxNxtYr(Plain(tax));
        rec.put_DeprecNxtYr(Plain(deprec));
        rec.put_OtherCostAdjNxtYr(Plain(other));
        rec.put_CostOfOperations(Plain(cost));
    });
}

void CalcAvailableWorkCap(Caldren& rec) {
    Trapped("c_calcs.CalcAvailableWorkCap", [&] {
        const Amount assets = ToAmount(rec.get_CurAssets());
        const Amount securities = ToAmount(rec.get_Securities());
        const Amount notes = ToAmount(rec.get_NotesFromShareholders());
        const Amount liabilities = ToAmount(rec.get_CurLiab());
        const Amount other = ToAmount(rec.get_OtherWorkCapAdj());
        const Amount available = Add(Sub(Add(Add(assets, securities), notes), liabilities), other);
        rec.put_AvailableWC(Plain(available));
    });
}

double DaysFactor(const std::string& beginning, const std::string& ending, const std::string& basis,
                  std::string& sum, std::string& average) {
    return Trapped("c_calcs.DaysFactor", [&] {
        const Amount beg = ToAmount(beginning);
        const Amount end = ToAmount(ending);
        const Amount base = ToAmount(basis);
        const Amount total = Add(beg, end);
        sum = Plain(total);
        const Amount mean = ToAmountChecked(AsDouble(total) / 2.0);
        average = Plain(mean);
        if (base > 0) return Divide(ToRatio(average), AsDouble(base)) * kDaysInYear;
        return 0.0;
    });
}

void NeededWCAve(Caldren& rec) {
    Trapped("c_calcs.NeededWCAve", [&] {
        std::string sum, average;
        const double invDays =
            DaysFactor(rec.get_InvBeg(), rec.get_InvEnd(), rec.get_COGS(), sum, average);
        rec.put_InvBegAndEndAve(sum);
        rec.put_InvAve(average);
        const double arDays =
            DaysFactor(rec.get_ARBeg(), rec.get_AREnd(), rec.get_NetSales(), sum, average);
        rec.put_ARBegAndEndAve(sum);
        rec.put_ARAve(average);
        const double apDays = DaysFactor(rec.get_APBegRel2Inv(), rec.get_APEndRel2Inv(),
                                         rec.get_InvPurchases(), sum, average);
        rec.put_APBegAndEndAve(sum);
        rec.put_APAve(average);
        const double cycleDays = arDays + invDays;
        const double adjustedDays = cycleDays - apDays;
        const double adjustedCycle = vk::RoundHalfEven(adjustedDays / kDaysInYear, 4);
        const double cost = AsDouble(ToAmount(rec.get_CostOfOperations()));
        const Amount needed = ToAmountChecked(vk::RoundHalfEven(Multiply(cost, adjustedCycle), 0));
        rec.put_InvTurnDaysAve(vk::RatioText(invDays));
        rec.put_ARTurnDaysAve(vk::RatioText(arDays));
        rec.put_APTurnDaysAve(vk::RatioText(apDays));
        rec.put_OperatingCycleDaysAve(vk::RatioText(cycleDays));
        rec.put_OperatingCycleAdjDaysAve(vk::RatioText(adjustedDays));
        rec.put_AdjOperatingCycleAve(vk::RatioText(adjustedCycle));
        rec.put_NeededWCAve(Plain(needed));
    });
}

Amount CalcCaldren(const std::string& available, const std::string& needed,
                   std::string& excessBeforeNeeds, const std::string& reasonableNeeds,
                   const std::string& contingencies) {
    return Trapped("c_calcs.CalcCaldren", [&] {
        const Amount avail = ToAmount(available);
        const Amount need = ToAmount(needed);
        const Amount reasonable = ToAmount(reasonableNeeds);
        const Amount contingent = ToAmount(contingencies);
        const Amount before = Sub(avail, need);
        excessBeforeNeeds = Plain(before);
        return Sub(Sub(before, reasonable), contingent);
    });
}

void CalcOpCyclePeak(Caldren& rec) {
    Trapped("c_calcs.CalcOpCyclePeak", [&] {
        // The collection is held for the walk only (a reference kept beyond the run would
        // keep the months, and the library, alive after the record is released).
        const ComPtr<_Months> months = rec.get_colMonths();

        // Gross profit percent: the product as an amount, the quotient in doubles, then single.
        const Amount ns = ToAmount(rec.get_NetSales());
        const Amount cogs = ToAmount(rec.get_COGS());
        Amount profit100 = 0;
        if (!vk::MulAmountInt(Sub(ns, cogs), 100, profit100)) RaisePlatform(kErrOverflow);
        const double gpDouble = Divide(AsDouble(profit100), AsDouble(ns));
        if (std::fabs(gpDouble) > 3.4028234663852886e38) RaisePlatform(kErrOverflow);
        const float gp = static_cast<float>(gpDouble);
        rec.put_GrossProfitPercent(vk::RatioText(vk::RoundHalfEven(static_cast<double>(gp), 5)));

        if (rec.get_DoPeakUseSalesAndPurch()) {
            Amount inventory = ToAmount(rec.get_InvBeg());
            const double g = AsDouble(ToAmountChecked(static_cast<double>(gp)));
            const double factor = 1.0 - g / 100.0;
            ForEachMonth(months, [&](const ComPtr<_Monthly>& month) {
                const Amount sales = ToAmount(month->get_Sales());
                const Amount purchases = ToAmount(month->get_Purchases());
                const Amount costOfSales = ToAmountChecked(Multiply(AsDouble(sales), factor));
                inventory = RoundToUnit(Sub(Add(inventory, purchases), costOfSales));
                month->put_IsComputing(true);
                month->put_Inventory(Plain(inventory));
                month->put_IsComputing(false);
            });
        }

        double peak = 0.0;
        if (rec.get_DoPeakCycle()) {
            ForEachMonth(months, [&](const ComPtr<_Monthly>& month) {
                const Amount inv = ToAmount(month->get_Inventory());
                const Amount receivables = ToAmount(month->get_Receivables());
                const Amount yearCogs = ToAmount(rec.get_COGS());
                const Amount yearSales = ToAmount(rec.get_NetSales());
                const double inventoryCycle = Divide(AsDouble(inv), AsDouble(yearCogs));
                const double receivableCycle = Divide(AsDouble(receivables), AsDouble(yearSales));
                const double operatingCycle = inventoryCycle + receivableCycle;
                if (operatingCycle > peak) peak = operatingCycle;
                month->put_Receivables(Plain(receivables));
                Monthly* own = Monthly::From(month.Get());
                if (!own) RaisePlatform(kErrNotSupported);
                own->put_InventoryCycle(inventoryCycle);
                own->put_ReceivableCycle(receivableCycle);
                own->put_OperatingCycle(operatingCycle);
                month->put_Inventory(Plain(inv));
                rec.put_NetSales(Plain(yearSales));
                rec.put_COGS(Plain(yearCogs));
            });
        }
        rec.put_OperatingCyclePeak(vk::RatioText(peak));
    });
}

void CalcNeededWCPeak(Caldren& rec) {
    Trapped("c_calcs.CalcNeededWCPeak", [&] {
        const Amount apBeg = ToAmount(rec.get_APBegRel2Inv());
        const Amount apEnd = ToAmount(rec.get_APEndRel2Inv());
        const Amount cost = ToAmount(rec.get_CostOfOperations());
        const std::string peakText = rec.get_OperatingCyclePeak();
        const double peak = ToRatio(peakText);
        const Amount purchases = ToAmount(rec.get_InvPurchases());

        const Amount averagePayables = ToAmountChecked(AsDouble(Add(apBeg, apEnd)) / 2.0);
        const double payablesRatio =
            purchases > 0 ? Divide(AsDouble(averagePayables), AsDouble(purchases)) : 0.0;
        const double netCycle = peak - payablesRatio;
        const Amount needed = RoundToUnit(ToAmountChecked(Multiply(AsDouble(cost), netCycle)));

        rec.put_NetOperatingCycle(vk::RatioText(netCycle));
        rec.put_OperatingCyclePeak(peakText);
        rec.put_AveAP4InvPeak(Plain(averagePayables));
        rec.put_APTurnRatioPeak(vk::RatioText(payablesRatio));
        rec.put_NetOperatingCycle(vk::RatioText(netCycle));
        rec.put_CostOfOperations(Plain(cost));
        rec.put_NeededWCPeak(Plain(needed));
    });
}

}  // namespace c_calcs
