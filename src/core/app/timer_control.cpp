#include "core/app/timer_control.h"

namespace orlix {

void TimerControl::start(TimerId id, int intervalMs) {
    const Op op{id, true, intervalMs};
    if (m_gate.holding() && id != TimerId::WritePause) {
        m_held.push_back(op);
        return;
    }
    apply(op);
}

void TimerControl::stop(TimerId id) {
    const Op op{id, false, 0};
    if (m_gate.holding() && id != TimerId::WritePause) {
        m_held.push_back(op);
        return;
    }
    apply(op);
}

bool TimerControl::holdTick(TimerId id) {
    auto& s = m_state[index(id)];
    s.heldStamp = s.applied;
    if (s.tickHeld) {
        return false;
    }
    s.tickHeld = true;
    return true;
}

bool TimerControl::releaseTick(TimerId id) {
    auto& s = m_state[index(id)];
    s.tickHeld = false;
    return wanted(id, s.heldStamp);
}

void TimerControl::applyHeld() {
    std::vector<Op> held;
    held.swap(m_held);
    for (const Op& op : held) {
        apply(op);
    }
}

void TimerControl::apply(const Op& op) {
    auto& s = m_state[index(op.id)];
    ++s.applied;
    s.running = op.start;
    if (op.start) {
        s.interval = op.interval;
    }
    if (op.start) {
        m_port.start(op.id, op.interval);
    } else {
        m_port.stop(op.id);
    }
}

} // namespace orlix
