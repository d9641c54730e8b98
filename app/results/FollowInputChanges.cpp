#include "FollowInputChanges.h"

#include <analysis/InputChanges.h>

#include <QTimer>

namespace caldren::results {

FollowInputChanges::FollowInputChanges(QObject* context, std::function<void()> refresh)
    : m_context(context), m_refresh(std::move(refresh)) {
    m_subscription = analysis::InputChanges().Subscribe([this] {
        if (m_pending) return;
        m_pending = true;
        QTimer::singleShot(0, m_context, [this] {
            m_pending = false;
            m_refresh();
        });
    });
}

FollowInputChanges::~FollowInputChanges() { analysis::InputChanges().Unsubscribe(m_subscription); }

}  // namespace caldren::results
