#include "Figures.h"

#include <common/Amount.h>

#include <cmath>

namespace workpaper {

namespace {

using Getter = std::string (vesmora::_Caldren::*)() const;

struct Property {
    const char* name;
    Getter get;
};

#define P(name) \
    { #name, &vesmora::_Caldren::get_##name }
// Every figure of the engine that the workbook shows.
const Property kProperties[] = {
    P(CurAssets),
    P(Securities),
    P(NotesFromShareholders),
    P(CurLiab),
    P(OtherWorkCapAdj),
    P(InvBeg),
    P(InvEnd),
    P(InvPurchases),
    P(NetSales),
    P(COGS),
    P(COGSNxtYr),
    P(OperatingExpNxtYr),
    P(IncTaxNxtYr),
    P(DeprecNxtYr),
    P(OtherCostAdjNxtYr),
    P(Reasonableneeds),
    P(Contingencies),
    P(ARBeg),
    P(AREnd),
    P(APBegRel2Inv),
    P(APEndRel2Inv),
    P(AvailableWC),
    P(CostOfOperations),
    P(GrossProfitPercent),
    P(OperatingCyclePeak),
    P(AveAP4InvPeak),
    P(APTurnRatioPeak),
    P(NetOperatingCycle),
    P(NeededWCPeak),
    P(ExcessPreContingencyWCPeak),
    P(ExcessWCPeak),
    P(InvBegAndEndAve),
    P(InvAve),
    P(InvTurnDaysAve),
    P(ARBegAndEndAve),
    P(ARAve),
    P(ARTurnDaysAve),
    P(OperatingCycleDaysAve),
    P(APBegAndEndAve),
    P(APAve),
    P(APTurnDaysAve),
    P(OperatingCycleAdjDaysAve),
    P(AdjOperatingCycleAve),
    P(NeededWCAve),
    P(ExcessPreContingencyWCAve),
    P(ExcessWCAve),
};
#undef P

// The engine's text of a figure as a number: "1,234", "-0.09677", "66.91666667"; "" is 0.
double Number(const std::string& text) {
    std::string plain;
    for (char c : text)
        if (c != ',') plain.push_back(c);
    double d = 0;
    if (!plain.empty() && !common::ParseRatio(plain, d)) d = 0;
    return d;
}

common::Amount Units(double wholeUnits) {
    return static_cast<common::Amount>(std::llround(wholeUnits)) * common::kAmountScale;
}

common::Amount ToAmount(double x) {
    common::Amount a = 0;
    (void)common::DoubleToAmount(x, a);
    return a;
}

double AsDouble(common::Amount a) { return common::AmountToDouble(a); }

// The engine's DaysFactor: the average of two balances (kept to four decimals) over a basis,
// times 365; no days for a basis of zero or less.
double Days(double beginning, double ending, double basis) {
    const double average = AsDouble(ToAmount(AsDouble(Units(beginning) + Units(ending)) / 2.0));
    return basis > 0 ? average / basis * 365.0 : 0.0;
}

// A ratio as the engine stores it (its text of fifteen digits, read back).
double Stored(double x) {
    double d = 0;
    (void)common::ParseRatio(common::RatioText(x), d);
    return d;
}

void WorkOutGrossProfit(Figures& f) {
    const double ns = f["NetSales"], cogs = f["COGS"];
    f.gpDouble = AsDouble(Units(ns - cogs) * 100) / ns;
    f.gpScale = SingleScale(f.gpDouble);
    f.gpSingle = static_cast<float>(f.gpDouble);
    f.gpFive = common::RoundHalfEven(f.gpSingle, 5);
    f.gpFiveScale = SingleScale(f.gpFive);
    f.gpStored = static_cast<float>(Stored(f.gpFive));
    f.gpFour = AsDouble(ToAmount(f.gpSingle));
    f.factor = 1.0 - f.gpFour / 100.0;
    common::Amount inventory = Units(f["InvBeg"]);
    for (MonthFigures& m : f.months) {
        m.salesTimesFactor = m.sales * f.factor;
        const common::Amount cost = ToAmount(m.salesTimesFactor);
        m.costOfSales = AsDouble(cost);
        const common::Amount before = inventory + Units(m.purchases) - cost;
        m.inventoryBeforeRounding = AsDouble(before);
        (void)common::RoundAmountToUnitHalfEven(before, inventory);
    }
}

}  // namespace

double SingleScale(double x) { return x == 0 ? 1.0 : std::ldexp(1.0, 23 - std::ilogb(x)); }

double Figures::operator[](const std::string& property) const {
    const auto it = properties.find(property);
    return it == properties.end() ? 0.0 : it->second;
}

Figures ReadFigures(vesmora::_Caldren& calc) {
    Figures f;
    f.name = calc.get_sName();
    f.line2 = calc.get_Line2();
    f.eoyCurrent = calc.get_EOYCurrent();
    f.eoyNxtYr = calc.get_EOYNxtYr();
    f.doAve = calc.get_DoAveCycle();
    f.doPeak = calc.get_DoPeakCycle();
    f.estimate = calc.get_DoPeakUseSalesAndPurch();
    f.useCurrentAmounts = calc.get_UseCurrentAmounts();
    for (const Property& p : kProperties) f.properties[p.name] = Number((calc.*p.get)());

    if (const auto months = calc.get_colMonths()) {
        months->FillFiscalMonth(f.eoyCurrent);
        const auto it = months->get_NewEnum();
        while (const auto month = it->Next()) {
            MonthFigures m;
            m.date = month->get_MonthDate();
            m.inventory = Number(month->get_Inventory());
            m.receivables = Number(month->get_Receivables());
            m.sales = Number(month->get_Sales());
            m.purchases = Number(month->get_Purchases());
            m.inventoryCycle = month->get_InventoryCycle();
            m.receivableCycle = month->get_ReceivableCycle();
            m.operatingCycle = month->get_OperatingCycle();
            f.months.push_back(m);
        }
    }
    if (f["NetSales"] != 0) WorkOutGrossProfit(f);

    const double cost = f["CostOfOperations"];
    for (MonthFigures& m : f.months) {
        m.inventoryCycleExact = m.inventory / f["COGS"];
        m.receivableCycleExact = m.receivables / f["NetSales"];
        m.operatingCycleExact = m.inventoryCycleExact + m.receivableCycleExact;
        if (m.operatingCycleExact > f.peak) f.peak = m.operatingCycleExact;
    }
    f.peakStored = Stored(f.peak);
    double peakFive = 0;
    (void)common::ParseRatio(common::FormatRatio5(f.peakStored), peakFive);
    const double payables =
        AsDouble(ToAmount(AsDouble(Units(f["APBegRel2Inv"]) + Units(f["APEndRel2Inv"])) / 2.0));
    const double purchases = f["InvPurchases"];
    f.payablesRatio = purchases > 0 ? payables / purchases : 0.0;
    f.netRatio = peakFive - f.payablesRatio;
    f.netStored = Stored(f.netRatio);
    f.peakProduct = cost * f.netRatio;
    f.peakProductFour = AsDouble(ToAmount(f.peakProduct));

    const double invDays = Days(f["InvBeg"], f["InvEnd"], f["COGS"]);
    const double arDays = Days(f["ARBeg"], f["AREnd"], f["NetSales"]);
    const double apDays = Days(f["APBegRel2Inv"], f["APEndRel2Inv"], purchases);
    f.aveQuotient = (arDays + invDays - apDays) / 365.0;
    f.aveProduct = cost * common::RoundHalfEven(f.aveQuotient, 4);
    return f;
}

}  // namespace workpaper
