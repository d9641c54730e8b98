// FollowInputChanges: refreshes a view once after one or more InputChanges notices, when the
// event loop next runs, so the notices of one event (a paste into the monthly grid sends
// one per cell) cost one refresh. Unsubscribes when it goes.
#pragma once

#include <functional>

class QObject;

namespace caldren::results {

class FollowInputChanges {
public:
    // `context` is the view: no refresh runs after it is gone.
    FollowInputChanges(QObject* context, std::function<void()> refresh);
    ~FollowInputChanges();
    FollowInputChanges(const FollowInputChanges&) = delete;
    FollowInputChanges& operator=(const FollowInputChanges&) = delete;

private:
    QObject* m_context;
    std::function<void()> m_refresh;
    int m_subscription = 0;
    bool m_pending = false;
};

}  // namespace caldren::results
