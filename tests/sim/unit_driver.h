// Test helpers for the simulated unit: a driver that types command lines
// and runs the virtual clock until the answer is out, and the tool's rule
// for cutting the unit's character stream into replies.
#pragma once

#include "sim/simulated_unit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::sim::testing {

// A unit without wire-rate emulation or erase time: answers are due at once.
inline UnitOptions quickOptions(std::string firmware = "2.24") {
    UnitOptions o;
    o.firmwareVersion = std::move(firmware);
    o.wireRate = false;
    o.eraseTimeMs = 0;
    o.startTimeMs = 0;
    return o;
}

struct UnitDriver {
    explicit UnitDriver(UnitOptions options = quickOptions()) : unit(std::move(options)) {}

    // Writes `bytes` at the present time, then lets time run until every
    // byte the unit has to say is out; returns those bytes.
    std::string write(std::string_view bytes) {
        unit.receive(bytes, now);
        return drain();
    }
    // One command line with its CR LF.
    std::string command(std::string_view text) { return write(std::string(text) + "\r\n"); }

    std::string drain() {
        std::string out;
        while (auto due = unit.nextOutputTime()) {
            now = std::max(now, *due);
            out += unit.takeOutput(now);
        }
        return out;
    }

    void advance(std::int64_t ms) { now += ms; }

    SimulatedUnit unit;
    std::int64_t now = 0;
};

// The tool's reception: characters up to a prompt make one reply; LF and
// NUL are dropped, CR is written CR LF except right after a prompt, '!'
// throws the collected text away.
class Reception {
public:
    std::vector<std::string> feed(std::string_view bytes) {
        std::vector<std::string> replies;
        for (char c : bytes) {
            if (c == '\n' || c == '\0') {
                continue;
            }
            if (c == '\r') {
                if (m_afterPrompt) {
                    m_afterPrompt = false;
                } else {
                    m_buffer += "\r\n";
                }
                continue;
            }
            m_buffer += c;
            if (c == '#' || c == '$') {
                replies.push_back(std::move(m_buffer));
                m_buffer.clear();
                m_afterPrompt = true;
            } else if (c == '!') {
                m_buffer.clear();
                m_afterPrompt = true;
                ++rejects;
            }
        }
        return replies;
    }
    const std::string& pending() const { return m_buffer; }
    int rejects = 0;

private:
    std::string m_buffer;
    bool m_afterPrompt = false;
};

} // namespace orlix::sim::testing
