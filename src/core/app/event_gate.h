// Holds back events while a line waits for its write.
//
// The tool pauses 100 ms before it writes each command line. A blocking
// sleep would freeze the windows, so instead core marks the pause as held
// and queues every event that arrives meanwhile (received bytes, timer
// ticks, user actions). When the line has been written the queued events
// run in arrival order, so what the tool does is exactly what it would do
// after a blocking sleep, while the windows keep painting.
//
// Timer starts and stops that the interrupted handler makes after it asked
// for the write are held too (see TimerControl), so a timer started after a
// write counts from the write, as it would after a sleep.
#pragma once

#include <deque>
#include <functional>

namespace orlix {

class EventGate {
public:
    using Event = std::function<void()>;

    bool holding() const { return m_holding; }

    // A write pause begins.
    void hold() { m_holding = true; }
    // The pause is over; the caller writes, then calls replay().
    void endHold() { m_holding = false; }

    // Queue an event that arrived during the pause.
    void defer(Event event) { m_held.push_back(std::move(event)); }
    // Queue the unprocessed rest of an event that began a pause; it goes
    // before everything that arrived later.
    void deferFirst(Event event) { m_held.push_front(std::move(event)); }

    // Runs held events in order until none is left or one begins a new pause.
    void replay();

    std::size_t heldCount() const { return m_held.size(); }

private:
    bool m_holding = false;
    bool m_replaying = false;
    std::deque<Event> m_held;
};

} // namespace orlix
