#include "CancelSnapshot.h"

#include "app/core/Document.h"

#include <activation/Com.h>

namespace caldren::input {

void CancelSnapshot::Take(const Document& document) {
    m_saved = document.IsSaved();
    m_months = ReadMonths(*document.engine);
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
    WriteMonths(engine, m_months);
    document.SetSaved(m_saved);
}

}  // namespace caldren::input
