// A clock and timer set that only moves when a test says so. advance(ms)
// fires every timer that falls due in that span, in time order (timers due
// at the same moment fire in the order they were started), re-arming each
// one for its next tick, exactly as a real event loop would deliver them.
#pragma once

#include "core/ports/clock.h"
#include "core/ports/timers.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace orlix::test {

class VirtualClock : public Clock, public Timers {
public:
    using TickHandler = std::function<void(TimerId)>;

    void setTickHandler(TickHandler handler) { m_onTick = std::move(handler); }

    // Clock
    std::int64_t nowMs() const override { return m_now; }
    DateTime localNow() const override;

    // Timers
    void start(TimerId id, int intervalMs) override;
    void stop(TimerId id) override;

    bool isRunning(TimerId id) const { return slot(id).running; }
    int interval(TimerId id) const { return slot(id).interval; }
    // When the timer fires next, if it runs.
    std::optional<std::int64_t> dueAt(TimerId id) const;

    // When the next running timer falls due.
    std::optional<std::int64_t> nextDue() const;

    // Moves time forward by `ms`, firing every timer due on the way.
    void advance(std::int64_t ms);

    // Every tick fired so far: (time, timer).
    struct Tick {
        std::int64_t at;
        TimerId id;
    };
    const std::vector<Tick>& ticks() const { return m_ticks; }

private:
    struct Slot {
        bool running = false;
        int interval = 0;
        std::int64_t due = 0;
        std::uint64_t order = 0;
    };
    Slot& slot(TimerId id) { return m_slots[static_cast<std::size_t>(id)]; }
    const Slot& slot(TimerId id) const { return m_slots[static_cast<std::size_t>(id)]; }
    std::optional<TimerId> earliestDue(std::int64_t limit) const;

    std::array<Slot, kTimerCount> m_slots{};
    std::int64_t m_now = 0;
    std::uint64_t m_order = 0;
    DateTime m_wallOrigin{2026, 12, 6, 9, 30, 0};
    TickHandler m_onTick;
    std::vector<Tick> m_ticks;
};

} // namespace orlix::test
