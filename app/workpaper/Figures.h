// Figures: what the workpaper shows, read from a calculated engine object.
//
// Every figure that is an engine property is the engine's own (its text, read back as a
// number). The steps the engine takes without keeping them (a product before it is
// rounded, the gross profit percent in single precision, the unrounded peak) are worked
// out here the way the engine works them out, from the same whole-unit inputs, so that
// each formula of the workbook carries the program's value as its cached result.
#pragma once

#include <vesmora/Vesmora.h>

#include <map>
#include <string>
#include <vector>

namespace workpaper {

struct MonthFigures {
    std::string date;  // "mm/dd/yyyy"
    double inventory = 0, receivables = 0, sales = 0, purchases = 0;
    double inventoryCycle = 0, receivableCycle = 0, operatingCycle = 0;  // five decimals
    double inventoryCycleExact = 0, receivableCycleExact = 0, operatingCycleExact = 0;
    // Estimated inventory: sales x factor, that to four decimals, the inventory before it
    // is rounded to whole units.
    double salesTimesFactor = 0, costOfSales = 0, inventoryBeforeRounding = 0;
};

struct Figures {
    std::string name, line2, eoyCurrent, eoyNxtYr;
    bool doAve = false, doPeak = false, estimate = false, useCurrentAmounts = false;
    std::vector<MonthFigures> months;

    // Gross profit: percent as a double, its single-precision scale and value, to five
    // decimals, that again in single precision, to four decimals (g), 1 - g / 100.
    double gpDouble = 0, gpScale = 1, gpSingle = 0, gpFive = 0, gpFiveScale = 1, gpStored = 0,
           gpFour = 0, factor = 0;
    double peak = 0;                     // the largest month cycle, not rounded
    double peakStored = 0;               // that as stored (fifteen digits)
    double payablesRatio = 0;            // average payables / purchases, not rounded
    double netRatio = 0, netStored = 0;  // peak (five decimals) - payables ratio
    double aveQuotient = 0;              // adjusted days / 365, not rounded
    double aveProduct = 0;               // cost of operations x adjusted cycle
    double peakProduct = 0;              // cost of operations x net ratio
    double peakProductFour = 0;          // that to four decimals

    // An engine property as a number (its text read back; an empty text is 0).
    double operator[](const std::string& property) const;
    std::map<std::string, double> properties;
};

// Reads a calculated analysis. The month collection is renumbered from the current year end
// first, as the reports do.
Figures ReadFigures(vesmora::_Caldren& calc);

// The power of two that scales x to 24 binary digits (1 for 0), as the workbook computes it.
double SingleScale(double x);

}  // namespace workpaper
