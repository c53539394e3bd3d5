// Keeps a window's position, size and state between runs in settings
// section "Locations", under the window's name followed by "Top", "Left",
// "Width", "Height" and "Windowstate". Coordinates are twips.
//
// A stored value that is not a number, or a width or height that is not
// positive, gives the default, so a damaged settings file cannot make a
// window vanish; the windows layer pulls a window that lies off every
// screen back onto one.
#pragma once

#include "core/app/settings.h"
#include "core/app/views.h"

#include <string>
#include <string_view>

namespace orlix {

struct ScreenSize {
    double widthTwips = 28800; // 1920 pixels at 96 dpi
    double heightTwips = 16200;
};

// A window that keeps its placement under fixed keys of its own in
// "Configs" (state, top, left, and for some width and height). Position
// and size are read only when the stored state is normal.
struct FixedPlacementKeys {
    const SettingKey* state;
    const SettingKey* top;
    const SettingKey* left;
    const SettingKey* width = nullptr; // none: the window keeps its own size
    const SettingKey* height = nullptr;
    double defaultWidth = 0;
    double defaultHeight = 0;
};

Placement restoreFixedPlacement(const Settings& settings, const FixedPlacementKeys& keys);
// Writes state, width, height, top and left (those the window has).
void saveFixedPlacement(Settings& settings, const FixedPlacementKeys& keys, const Placement& p);

class WindowPlacement {
public:
    explicit WindowPlacement(Settings& settings) : m_settings(settings) {}

    void setScreen(ScreenSize screen) { m_screen = screen; }
    const ScreenSize& screen() const { return m_screen; }

    // RestoreWindowPlacement: the five keys, with defaults top 0, left 0,
    // half the screen's width and height, normal state.
    Placement restore(std::string_view windowName) const;
    // The same with a default size of the window's own (a window that
    // shows much wants more than half the screen on its first run).
    Placement restore(std::string_view windowName, ScreenSize defaultSize) const;
    // SaveWindowPlacement: Top, Left, Height, Width, Windowstate.
    void save(std::string_view windowName, const Placement& placement);

    // Window state from a stored number; anything but 1 or 2 is normal.
    static WindowState stateFrom(std::int16_t value);

private:
    Settings& m_settings;
    ScreenSize m_screen;
};

} // namespace orlix
