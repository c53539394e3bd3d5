// Everything about the simulated unit that commands read and change. The
// options it was built with stay inside, so that the reply layouts have one
// place to read from.
#pragma once

#include "sim/firmware_version.h"
#include "sim/unit_options.h"

#include <array>
#include <cstdint>

namespace orlix::sim {

struct UnitState {
    UnitOptions config; // identity, readings, DAC sets, panel settings...
    FirmwareVersion firmware;
    bool inBootLoader = false;

    std::array<int, 3> digitalBrightness{};
    std::array<int, 3> analogBrightness{};
    bool softwareControl = false;
    bool bugeyeMode = false; // raw two-byte brightness blocks follow "CB"
    int bugeyeBrightness = 0;
    bool verbose = true;      // "CV" / "CU"
    bool lineChecking = true; // "cz1" / "cz0": reject garbled lines with '!'

    // Operating time: what was stored before this power-on, plus the time
    // since powerOnMs.
    std::int64_t storedOperatingSeconds = 0;
    std::int32_t operatingCycles = 0;
    std::int64_t powerOnMs = 0;

    std::int64_t sessionSeconds(std::int64_t nowMs) const {
        return nowMs > powerOnMs ? (nowMs - powerOnMs) / 1000 : 0;
    }
    std::int64_t totalOperatingSeconds(std::int64_t nowMs) const {
        return storedOperatingSeconds + sessionSeconds(nowMs);
    }
    // Power cycle: the session's time is stored and the cycle counted.
    void powerCycle(std::int64_t nowMs) {
        storedOperatingSeconds = totalOperatingSeconds(nowMs);
        ++operatingCycles;
        powerOnMs = nowMs;
        bugeyeMode = false;
    }
};

} // namespace orlix::sim
