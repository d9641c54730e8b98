// InputChanges: the program-wide notice "the analysis's inputs have changed", so that the
// results panel and the lists of checks follow the figures while they are typed.
//
// Whoever changes the run state's engine (the input form after each accepted change, the
// file commands after New and Open, the checks' own actions) calls Notify(); the views
// subscribe. Listeners run at once, in the order they subscribed, on the calling thread; a
// listener may unsubscribe itself or another one while being called.
#pragma once

#include <functional>
#include <vector>

namespace caldren::analysis {

class ChangeNotifier {
public:
    using Listener = std::function<void()>;

    // Returns the subscription's number, for Unsubscribe.
    int Subscribe(Listener listener);
    void Unsubscribe(int subscription);
    void Notify();

private:
    struct Entry {
        int id;
        Listener listener;
    };
    std::vector<Entry> m_entries;
    int m_next = 1;
};

// The one notifier of the program.
ChangeNotifier& InputChanges();

}  // namespace caldren::analysis
