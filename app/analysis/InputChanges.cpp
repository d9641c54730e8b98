#include "InputChanges.h"

#include <algorithm>

namespace caldren::analysis {

int ChangeNotifier::Subscribe(Listener listener) {
    m_entries.push_back({m_next, std::move(listener)});
    return m_next++;
}

void ChangeNotifier::Unsubscribe(int subscription) {
    std::erase_if(m_entries, [subscription](const Entry& e) { return e.id == subscription; });
}

void ChangeNotifier::Notify() {
    // By number, so that a listener removed meanwhile is not called.
    std::vector<int> ids;
    for (const Entry& e : m_entries) ids.push_back(e.id);
    for (int id : ids) {
        auto it = std::find_if(m_entries.begin(), m_entries.end(),
                               [id](const Entry& e) { return e.id == id; });
        if (it == m_entries.end()) continue;
        Listener copy = it->listener;  // the entry may go while it runs
        copy();
    }
}

ChangeNotifier& InputChanges() {
    static ChangeNotifier notifier;
    return notifier;
}

}  // namespace caldren::analysis
