#include "core/app/event_gate.h"

namespace orlix {

void EventGate::replay() {
    // A replayed event may end another pause and call replay() again from
    // inside; the outer loop already drains the queue.
    if (m_replaying) {
        return;
    }
    m_replaying = true;
    while (!m_holding && !m_held.empty()) {
        Event next = std::move(m_held.front());
        m_held.pop_front();
        next();
    }
    m_replaying = false;
}

} // namespace orlix
