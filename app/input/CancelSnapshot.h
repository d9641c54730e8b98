// CancelSnapshot: what Cancel, Esc and the close box of the input form come back to.
//
// The engine's edit keeps a snapshot of the record itself (BeginEdit, CancelEdit); the
// months and the program's saved flag are not in it. This keeps them from the moment the
// form opened, or from the last save through the file-name button.
#pragma once

#include "FormValues.h"

#include <vector>

namespace caldren {
struct Document;
}

namespace caldren::input {

class CancelSnapshot {
public:
    // The months as they are now and the saved flag.
    void Take(const Document& document);
    // The engine's edit cancelled (no edit open: nothing to cancel), the months and the
    // saved flag as taken.
    void Restore(Document& document) const;

private:
    bool m_saved = true;
    std::vector<MonthValues> m_months;
};

}  // namespace caldren::input
