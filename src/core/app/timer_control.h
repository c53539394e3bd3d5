// Core's side of the Timers port. It knows which timers run, holds back
// start/stop requests made during a write pause (EventGate), and tells
// whether a tick that fired is still wanted: a tick that fired before its
// timer was stopped or restarted is stale and is dropped, as a window
// system drops the tick of a timer that was reset before the tick arrived.
#pragma once

#include "core/app/event_gate.h"
#include "core/ports/timers.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orlix {

class TimerControl {
public:
    TimerControl(Timers& port, const EventGate& gate) : m_port(port), m_gate(gate) {}

    void start(TimerId id, int intervalMs);
    void stop(TimerId id);

    bool isRunning(TimerId id) const { return m_state[index(id)].running; }
    int interval(TimerId id) const { return m_state[index(id)].interval; }

    // A stamp to take when a tick arrives; still current at replay means
    // the tick is still wanted.
    std::uint64_t stamp(TimerId id) const { return m_state[index(id)].applied; }
    bool wanted(TimerId id, std::uint64_t stampAtFire) const {
        const auto& s = m_state[index(id)];
        return s.running && s.applied == stampAtFire;
    }

    // A tick that must wait (a write pause, a modal dialog): true for the
    // first of its timer to wait, which the caller queues; a later one only
    // joins it, so that a timer that fired several times while held fires
    // once, as the window system fires a timer whose ticks are overdue.
    bool holdTick(TimerId id);
    // The held tick of `id` runs now: whether its timer still wants it
    // (not stopped or restarted since it last fired).
    bool releaseTick(TimerId id);

    // Sends the requests held during a write pause to the port.
    void applyHeld();

private:
    struct Op {
        TimerId id;
        bool start;
        int interval;
    };
    // As the port was told: requests held during a write pause count from
    // the moment they reach the port, in the order a blocking pause gives.
    struct State {
        bool running = false;
        int interval = 0;
        std::uint64_t applied = 0; // bumped on each request the port receives
        bool tickHeld = false;
        std::uint64_t heldStamp = 0; // stamp of the latest tick that joined it
    };
    static std::size_t index(TimerId id) { return static_cast<std::size_t>(id); }
    void apply(const Op& op);

    Timers& m_port;
    const EventGate& m_gate;
    std::array<State, kTimerCount> m_state{};
    std::vector<Op> m_held;
};

} // namespace orlix
