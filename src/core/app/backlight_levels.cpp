#include "core/app/backlight_levels.h"

#include <string>

namespace orlix {

void BacklightLevels::set(Slider slider, int value) {
    m_held[static_cast<std::size_t>(slider)] = value;
    sendHeld();
}

void BacklightLevels::sendHeld() {
    if (!holding() || m_deps.linesWaiting() != 0) {
        return;
    }
    for (const Slider slider : {Slider::Digital, Slider::Maximum}) {
        auto& held = m_held[static_cast<std::size_t>(slider)];
        if (held) {
            const int value = *held;
            held.reset();
            send(slider, value);
        }
    }
}

void BacklightLevels::send(Slider slider, int value) {
    const char* command = slider == Slider::Digital ? "TYW3" : "TYW4";
    // The same level for the three channels, in their order.
    for (const char channel : {'1', '2', '3'}) {
        m_deps.send(command + std::string(1, channel) + "B" + std::to_string(value) + "\r\n");
    }
}

} // namespace orlix
