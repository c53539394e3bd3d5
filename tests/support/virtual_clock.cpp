#include "support/virtual_clock.h"

#include <limits>

namespace orlix::test {

DateTime VirtualClock::localNow() const {
    // Good enough for tests that run a few simulated days at most: carry
    // seconds, minutes, hours into days without month rollover.
    DateTime t = m_wallOrigin;
    const std::int64_t ms = t.millisecond + m_now;
    t.millisecond = static_cast<int>(ms % 1000);
    std::int64_t seconds = t.second + t.minute * 60 + t.hour * 3600 + ms / 1000;
    t.day += static_cast<int>(seconds / 86400);
    seconds %= 86400;
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    return t;
}

void VirtualClock::start(TimerId id, int intervalMs) {
    Slot& s = slot(id);
    s.running = true;
    s.interval = intervalMs < 1 ? 1 : intervalMs;
    s.due = m_now + s.interval;
    s.order = ++m_order;
}

void VirtualClock::stop(TimerId id) {
    slot(id).running = false;
}

std::optional<std::int64_t> VirtualClock::dueAt(TimerId id) const {
    const Slot& s = slot(id);
    if (!s.running) {
        return std::nullopt;
    }
    return s.due;
}

std::optional<TimerId> VirtualClock::earliestDue(std::int64_t limit) const {
    std::optional<TimerId> best;
    for (std::size_t i = 0; i < kTimerCount; ++i) {
        const Slot& s = m_slots[i];
        if (!s.running || s.due > limit) {
            continue;
        }
        if (!best) {
            best = static_cast<TimerId>(i);
            continue;
        }
        const Slot& b = slot(*best);
        if (s.due < b.due || (s.due == b.due && s.order < b.order)) {
            best = static_cast<TimerId>(i);
        }
    }
    return best;
}

std::optional<std::int64_t> VirtualClock::nextDue() const {
    const auto id = earliestDue(std::numeric_limits<std::int64_t>::max());
    if (!id) {
        return std::nullopt;
    }
    return slot(*id).due;
}

void VirtualClock::advance(std::int64_t ms) {
    const std::int64_t target = m_now + ms;
    while (auto id = earliestDue(target)) {
        Slot& s = slot(*id);
        m_now = s.due;
        s.due += s.interval;
        s.order = ++m_order;
        m_ticks.push_back({m_now, *id});
        if (m_onTick) {
            m_onTick(*id);
        }
    }
    m_now = target;
}

} // namespace orlix::test
