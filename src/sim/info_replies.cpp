// Configuration, version, limit, time and frequency reports of the
// application firmware.
#include "sim/layout_text.h"
#include "sim/reply_layouts.h"

namespace orlix::sim::layouts {

std::string bootParameters(const UnitState& state) {
    std::string out;
    int index = 0;
    for (int value : state.config.bootParameters) {
        out += line("Boot Param " + std::to_string(index++) + " = " + hex2(value));
    }
    out += line(std::string("auto boot ") + (state.config.autoBoot ? "ON" : "OFF"));
    return out;
}

std::string configuration(const UnitState& state) {
    const auto& id = state.config.identity;
    return line("Config Number = " + std::to_string(id.configNumber)) +
           line("Config Name = " + id.configName);
}

std::string romVersion(const UnitState& state) {
    return line("V " + state.config.identity.romVersion);
}

std::string firmwareVersion(const UnitState& state) {
    return line("V " + state.firmware.text);
}

std::string limits(const UnitState& state) {
    const auto& hv = state.config.highVoltage;
    auto pair = [](const std::pair<int, int>& p) {
        return std::to_string(p.first) + ", " + std::to_string(p.second);
    };
    return line("Current Limit = " + std::to_string(hv.currentLimit)) +
           line("Upper Limit = " + std::to_string(hv.upperLimit)) +
           line("Lower Limit = " + std::to_string(hv.lowerLimit)) +
           line("HV Control Value = " + pair(hv.hvControl)) +
           line("Focus Control Value = " + pair(hv.focusControl)) +
           line("Focus H Control Value = " + std::to_string(hv.focusHControl)) +
           line("Focus V Control Value = " + std::to_string(hv.focusVControl)) +
           line("G2 Control Value = " + pair(hv.g2Control)) +
           line("Video +80V Control Value = " + pair(hv.video80Control));
}

namespace {

std::string daysHoursMinutesSeconds(std::int64_t seconds) {
    const auto s = static_cast<int>(seconds % 60);
    const auto m = static_cast<int>(seconds / 60 % 60);
    const auto h = static_cast<int>(seconds / 3600 % 24);
    const auto d = static_cast<int>(seconds / 86400);
    return joined({d, h, m, s});
}

} // namespace

// The unit keeps the total of earlier power-ons in its EEPROM and counts
// the present one in RAM; it reports both and leaves the sum to the tool.
std::string operatingTime(const UnitState& state, std::int64_t nowMs) {
    return line(daysHoursMinutesSeconds(state.storedOperatingSeconds)) +
           line(daysHoursMinutesSeconds(state.sessionSeconds(nowMs))) +
           line(std::to_string(state.operatingCycles));
}

std::string syncFrequency(const UnitState& state) {
    const auto& id = state.config.identity;
    return line("Vsync Frequency = " + fixed(id.vsyncHz, 1)) +
           line("Hsync Frequency = " + fixed(id.hsyncKHz, 2));
}

std::string modelType(const UnitState& state) {
    return line("Model Type = " + hex2(state.config.identity.modelType));
}

std::string capability(const UnitState& state) {
    return line("Capability = " + hex2(state.config.identity.capability));
}

std::string controlMode(const UnitState& state) {
    return line(state.softwareControl ? "control=1;" : "control=0;");
}

// Four pairs to a line, in the stored order (a key that is the tail of a
// longer one, such as hor_width of short_defined_hor_width, comes first).
std::string parameterList(const UnitState& state) {
    std::string out;
    std::string current;
    int onLine = 0;
    for (const auto& [key, value] : state.config.parameterList) {
        current += key + "=" + value + ";";
        if (++onLine == 4) {
            out += line(current);
            current.clear();
            onLine = 0;
        }
    }
    if (!current.empty()) {
        out += line(current);
    }
    return out;
}

} // namespace orlix::sim::layouts
