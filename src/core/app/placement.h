// Keeps a window's position, size and state between runs in settings
// section "Locations", under the window's name followed by "Top", "Left",
// "Width", "Height" and "Windowstate". Coordinates are twips.
//
// A stored value that is not a number, a width or height that is not
// positive or larger than the screen, or a position that leaves too little
// of the window on the screen to grab it, gives the default. So a damaged
// settings file can neither hide a window nor make one so large that
// drawing it eats the machine; and as the window then stands at its
// default, its unload writes the sound values over the damaged ones. The
// windows layer still pulls a window that lies off every screen back onto
// one.
#pragma once

#include "core/app/settings.h"
#include "core/app/views.h"

#include <string>
#include <string_view>

namespace orlix {

struct ScreenSize {
    // The primary screen: a window's default size is half of it.
    double widthTwips = 28800; // 1920 pixels at 96 dpi
    double heightTwips = 16200;
    // Where windows may lie: the box around every screen. Empty: the
    // primary screen alone.
    double desktopLeft = 0;
    double desktopTop = 0;
    double desktopWidth = 0;
    double desktopHeight = 0;
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

    // A window with keys of its own in "Configs"; defaults top 0, left 0
    // and the keys' size.
    Placement restoreFixed(const FixedPlacementKeys& keys) const;

    // `p` with each size that is not positive or is larger than the screen,
    // and a position that leaves too little of the window on the screen,
    // replaced by the one of `defaults` (a default size of 0: the window's
    // own).
    Placement fit(Placement p, const Placement& defaults) const;

    // Window state from a stored number; anything but 1 or 2 is normal.
    static WindowState stateFrom(std::int16_t value);

private:
    Settings& m_settings;
    ScreenSize m_screen;
};

} // namespace orlix
