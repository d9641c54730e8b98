// Rollforward: the analysis of the following tax year made from this one ("New Year from
// This Analysis..." and "/rollforward").
//
// Field by field (Inputs.h holds the rule of each input):
//  - what describes the company stays: the name, the methods and their options
//    (average, peak, estimate from sales and purchases, current amounts as estimates,
//    actual inventory), other reasonable needs and contingencies;
//  - the current year end, next year's end, the months' year end and every month's date
//    move one year, a month-end date staying a month end; so do the years of the second
//    line (NextYearLine2);
//  - this year's ending inventory, receivables and payables related to inventory become the
//    new beginning balances;
//  - every other figure of one year's books is zero, the months' inventory, receivables,
//    sales and purchases included; the months keep their number.
// Results and the version are those of a new analysis. Nothing is written: the new engine
// object is new (never saved), its edit open; Save or OK writes it.
#pragma once

#include <vesmora/Vesmora.h>

#include <functional>
#include <string>

namespace caldren::analysis {

using EngineFactory = std::function<vesmora::ComPtr<vesmora::_Caldren>()>;

// Fills `next`, a new engine object, with next year's analysis of `from` (unchanged).
// Opens `next`'s edit and leaves it open. Errors of the engine propagate (ComError).
void RollForward(const vesmora::_Caldren& from, vesmora::_Caldren& next);

// The same into a new engine object from the factory.
vesmora::ComPtr<vesmora::_Caldren> RollForward(const vesmora::_Caldren& from,
                                               const EngineFactory& newEngine);

// Next year's second line. The old year end written out in it ("September 30, 2025",
// "09/30/2025", "9/30/2025") becomes the new year end in the same form ("February 28, 2023"
// -> "February 29, 2024"); every other four-digit number that is a year of the old tax year
// (the year it ends in, and the year it begins in) moves on one year: "Fiscal Year Ended
// September 30, 2025" -> "... 2026", "FY 2024-2025" -> "FY 2025-2026" for a year ending
// 06/30/2025. Other numbers, and digits within a longer number, stay.
std::string NextYearLine2(const std::string& line2, const std::string& oldYearEnd,
                          const std::string& newYearEnd);

// The proposed name of next year's file: "<name><year>.cld" in the same folder, where
// <name> is the current file's name without its extension and <year> the new year end's
// year. A name that already ends in the old year end's year has that year replaced
// ("acme 2002.cld" -> "acme 2003.cld"); the current file's extension keeps its case
// (".CLD"), a name without ".cld" gets ".cld". When that file exists already, " (2)",
// " (3)", ... is put before the extension, so that saving never overwrites another year.
std::string NextYearFileName(const std::string& currentFile, const std::string& oldYearEnd,
                             const std::string& newYearEnd);

}  // namespace caldren::analysis
