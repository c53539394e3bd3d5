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

// A text as a part of a test's name: letters and digits kept, anything
// else dropped ("2.24" gives "224", "" gives "empty").
inline std::string nameOf(std::string_view text) {
    std::string name;
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            name += c;
        }
    }
    return name.empty() ? "empty" : name;
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
