#include "CancelSnapshot.h"

#include "app/core/Document.h"

#include <activation/Com.h>

namespace caldren::input {

void CancelSnapshot::Take(const Document& document) {
    m_saved = document.IsSaved();
    m_months.clear();
    if (auto months = document.engine->get_colMonths()) {
        const long count = months->get_Count();
        for (long n = 1; n <= count; ++n) {
            auto m = months->get_Item(vesmora::IndexKey{n});
            m_months.push_back({m->get_MonthDate(), m->get_Inventory(), m->get_Receivables(),
                                m->get_Sales(), m->get_Purchases()});
        }
    }
}

void CancelSnapshot::Restore(Document& document) const {
    vesmora::_Caldren& engine = *document.engine;
    // The record goes back to the snapshot its edit took when the form opened (or when the
    // file-name button last saved it); the months, which the snapshot does not hold, to the
    // copy kept at the same moment.
    try {
        engine.CancelEdit();
    } catch (const activation::ComError&) {
        // No edit open: nothing was changed through the form.
    }
    if (auto months = engine.get_colMonths()) {
        const auto keptCount = static_cast<long>(m_months.size());
        while (months->get_Count() > keptCount)
            months->Remove(vesmora::IndexKey{months->get_Count()});
        const long count = months->get_Count();
        for (long n = 1; n <= count; ++n) {
            auto m = months->get_Item(vesmora::IndexKey{n});
            const auto& kept = m_months[static_cast<std::size_t>(n - 1)];
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
    document.SetSaved(m_saved);
}

}  // namespace caldren::input
