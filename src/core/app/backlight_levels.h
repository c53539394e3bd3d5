// Sends the RGB backlight's two brightness levels to the unit, each as its
// three channel lines ("TYW31B<v>", "TYW32B<v>", "TYW33B<v>" for the
// digital level, "TYW4xB<v>" for the maximum), always whole.
//
// A slider can change far faster than the line takes three lines (each
// waits 100 ms and a prompt), so a level is queued only when no line is
// waiting in the transmit queue: its three lines then go in together and
// nothing else can be dropped between them. A level set while lines still
// wait is held, and a newer one replaces it; the held levels go out as soon
// as the queue has emptied. However fast the user moves, the unit ends at
// each slider's last level with the three channels equal, and the queue
// never holds more than one level per slider.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace orlix {

class BacklightLevels {
public:
    enum class Slider { Digital, Maximum };

    struct Deps {
        // Lines in the transmit queue that have not been taken to be written.
        std::function<std::size_t()> linesWaiting;
        std::function<void(std::string_view)> send;
    };

    explicit BacklightLevels(Deps deps) : m_deps(std::move(deps)) {}

    // The slider's new level: queued now when the queue is empty, else held.
    void set(Slider slider, int value);
    // The queue may have moved on (a reply came): sends the held levels once
    // it has emptied.
    void sendHeld();
    bool holding() const { return m_held[0] || m_held[1]; }

private:
    void send(Slider slider, int value);

    Deps m_deps;
    std::array<std::optional<int>, 2> m_held{};
};

} // namespace orlix
