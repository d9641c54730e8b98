#include "FormValues.h"

#include "ControlExtend.h"

namespace caldren::input {

namespace {

// The record's text properties the form edits.
const char* const kFormProperties[] = {
    "sName",
    "Line2",
    "EOYCurrent",
    "EOYNxtYr",
    "CurAssets",
    "Securities",
    "NotesFromShareholders",
    "CurLiab",
    "OtherWorkCapAdj",
    "InvBeg",
    "InvEnd",
    "InvPurchases",
    "NetSales",
    "COGS",
    "COGSNxtYr",
    "OperatingExpNxtYr",
    "IncTaxNxtYr",
    "DeprecNxtYr",
    "OtherCostAdjNxtYr",
    "Reasonableneeds",
    "Contingencies",
    "ARBeg",
    "AREnd",
    "APBegRel2Inv",
    "APEndRel2Inv",
};

}  // namespace

FormValues FormValues::Of(vesmora::_Caldren& engine) {
    FormValues values;
    const ControlExtend::CaldrenTarget target(&engine);
    for (const char* name : kFormProperties) values.record.push_back(target.Get(name));
    values.options = {engine.get_DoAveCycle(), engine.get_DoPeakCycle(),
                      engine.get_UseCurrentAmounts(), engine.get_DoPeakUseSalesAndPurch()};
    values.months = ReadMonths(engine);
    return values;
}

void FormValues::WriteTo(vesmora::_Caldren& engine, const FormValues& now) const {
    if (options != now.options) {
        engine.put_DoAveCycle(options[0]);
        engine.put_DoPeakCycle(options[1]);
        engine.put_UseCurrentAmounts(options[2]);
        engine.put_DoPeakUseSalesAndPurch(options[3]);
    }
    ControlExtend::CaldrenTarget target(&engine);
    for (std::size_t i = 0; i < record.size() && i < now.record.size(); ++i)
        if (record[i] != now.record[i]) target.Let(kFormProperties[i], record[i]);
    if (months != now.months) WriteMonths(engine, months);
}

std::vector<MonthValues> ReadMonths(vesmora::_Caldren& engine) {
    std::vector<MonthValues> months;
    if (auto collection = engine.get_colMonths()) {
        const long count = collection->get_Count();
        for (long n = 1; n <= count; ++n) {
            auto m = collection->get_Item(vesmora::IndexKey{n});
            months.push_back({m->get_MonthDate(), m->get_Inventory(), m->get_Receivables(),
                              m->get_Sales(), m->get_Purchases()});
        }
    }
    return months;
}

void WriteMonths(vesmora::_Caldren& engine, const std::vector<MonthValues>& months) {
    auto collection = engine.get_colMonths();
    if (!collection) return;
    const auto keptCount = static_cast<long>(months.size());
    while (collection->get_Count() > keptCount)
        collection->Remove(vesmora::IndexKey{collection->get_Count()});
    const long count = collection->get_Count();
    for (long n = 1; n <= count; ++n) {
        auto m = collection->get_Item(vesmora::IndexKey{n});
        const MonthValues& kept = months[static_cast<std::size_t>(n - 1)];
        if (kept == MonthValues{m->get_MonthDate(), m->get_Inventory(), m->get_Receivables(),
                                m->get_Sales(), m->get_Purchases()})
            continue;
        m->put_MonthDate(kept[0]);
        const bool computing = m->get_IsComputing();
        m->put_IsComputing(true);
        m->put_Inventory(kept[1]);
        m->put_IsComputing(computing);
        m->put_Receivables(kept[2]);
        m->put_Sales(kept[3]);
        m->put_Purchases(kept[4]);
    }
}

}  // namespace caldren::input
