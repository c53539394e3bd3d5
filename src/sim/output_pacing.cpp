#include "sim/output_pacing.h"

#include <algorithm>

namespace orlix::sim {

void OutputPacer::send(std::string_view bytes, std::int64_t earliestTick) {
    for (char c : bytes) {
        const std::int64_t start = std::max(earliestTick, m_lineFree);
        const std::int64_t due = m_wireRate ? start + kTicksPerChar : start;
        m_queue.push_back({c, due});
        m_lineFree = due;
    }
}

std::string OutputPacer::take(std::int64_t nowMs) {
    const std::int64_t now = toTicks(nowMs);
    std::string out;
    while (!m_queue.empty() && m_queue.front().dueTick <= now) {
        out += m_queue.front().byte;
        m_queue.pop_front();
    }
    return out;
}

std::optional<std::int64_t> OutputPacer::nextDueMs() const {
    if (m_queue.empty()) {
        return std::nullopt;
    }
    const auto due = m_queue.front().dueTick;
    return (due + kTicksPerMs - 1) / kTicksPerMs;
}

void OutputPacer::clear() {
    m_queue.clear();
}

std::int64_t InputClock::arrival(std::int64_t nowMs) {
    const std::int64_t now = OutputPacer::toTicks(nowMs);
    if (!m_wireRate) {
        return now;
    }
    m_lineFree = std::max(now, m_lineFree) + OutputPacer::kTicksPerChar;
    return m_lineFree;
}

} // namespace orlix::sim
