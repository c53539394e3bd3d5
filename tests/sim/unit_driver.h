// Test helper for the simulated unit: a driver that types command lines and
// runs the virtual clock until the answer is out.
#pragma once

#include "sim/simulated_unit.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

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

    // Writes `bytes` now, then lets time run until every byte the unit has
    // to say is out; returns those bytes.
    std::string write(std::string_view bytes) {
        unit.receive(bytes, now);
        return drain();
    }
    std::string command(std::string_view text) { return write(std::string(text) + "\r\n"); }

    std::string drain() {
        std::string out;
        while (auto due = unit.nextOutputTime()) {
            now = std::max(now, *due);
            out += unit.takeOutput(now);
        }
        return out;
    }

    SimulatedUnit unit;
    std::int64_t now = 0;
};

} // namespace orlix::sim::testing
