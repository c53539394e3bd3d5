// When each byte the unit sends reaches the other end of the line. With
// wire-rate emulation a character occupies the line for 1/1920 s (ten bits
// at 19200 baud), so bytes queue behind each other; without it they are due
// as soon as they are sent.
//
// Time is kept in ticks of 1/48000 s: a millisecond is 48 ticks and a
// character 25, so no rounding error piles up over a long reply.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace orlix::sim {

class OutputPacer {
public:
    static constexpr std::int64_t kTicksPerMs = 48;
    static constexpr std::int64_t kTicksPerChar = 25;

    explicit OutputPacer(bool wireRate = true) : m_wireRate(wireRate) {}

    void setWireRate(bool on) { m_wireRate = on; }
    bool wireRate() const { return m_wireRate; }

    // Queues bytes that start no earlier than `earliestTick`, behind
    // everything queued before.
    void send(std::string_view bytes, std::int64_t earliestTick);
    // The bytes due by `nowMs`, removed from the queue.
    std::string take(std::int64_t nowMs);
    // The millisecond at which the next byte is due (rounded up).
    std::optional<std::int64_t> nextDueMs() const;
    // Forgets every queued byte (the line was closed).
    void clear();
    bool empty() const { return m_queue.empty(); }
    // When the line is next free, in ticks.
    std::int64_t lineFreeTick() const { return m_lineFree; }

    static std::int64_t toTicks(std::int64_t ms) { return ms * kTicksPerMs; }

private:
    struct Pending {
        char byte;
        std::int64_t dueTick;
    };
    bool m_wireRate;
    std::int64_t m_lineFree = 0;
    std::deque<Pending> m_queue;
};

// The same arithmetic for the other direction: when the characters the tool
// writes have arrived at the unit.
class InputClock {
public:
    explicit InputClock(bool wireRate = true) : m_wireRate(wireRate) {}
    void setWireRate(bool on) { m_wireRate = on; }
    // The tick at which the next character written at `nowMs` has arrived.
    std::int64_t arrival(std::int64_t nowMs);

private:
    bool m_wireRate;
    std::int64_t m_lineFree = 0;
};

} // namespace orlix::sim
