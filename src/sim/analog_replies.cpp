// The analog reading report ("da"), whose layout changed with every
// firmware generation.
#include "sim/layout_text.h"
#include "sim/reply_layouts.h"

namespace orlix::sim::layouts {

std::string analogReadings(const UnitState& state) {
    const auto& a = state.config.analog;
    switch (state.firmware.generation()) {
    case 1:
        return line(joined(a.gen1, 0, static_cast<int>(a.gen1.size())));
    case 2: {
        std::string out = line(joined(a.gen2Leading, 0, static_cast<int>(a.gen2Leading.size())));
        for (const auto& reading : a.gen2Labelled) {
            out += line(reading.label + " " + std::to_string(reading.raw));
        }
        return out;
    }
    default:
        return line(joined(a.gen3, 0, static_cast<int>(a.gen3.size())));
    }
}

} // namespace orlix::sim::layouts
