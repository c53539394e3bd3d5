#include "core/app/placement.h"

#include <algorithm>

namespace orlix {

namespace {

// How much of a window must lie on the screen to grab and drag it: this
// much of its width, and its top edge this far above the screen's bottom.
constexpr double kGrip = 720; // 48 pixels at 96 dpi
// Frames may overhang the screen's edge a little (a maximised window's do).
constexpr double kOverhang = 480;

std::string keyOf(std::string_view windowName, std::string_view suffix) {
    std::string key(windowName);
    key += suffix;
    return key;
}

} // namespace

WindowState WindowPlacement::stateFrom(std::int16_t value) {
    switch (value) {
    case 1:
        return WindowState::Minimized;
    case 2:
        return WindowState::Maximized;
    default:
        return WindowState::Normal;
    }
}

Placement WindowPlacement::restore(std::string_view windowName) const {
    return restore(windowName, {m_screen.widthTwips / 2, m_screen.heightTwips / 2});
}

Placement WindowPlacement::restore(std::string_view windowName, ScreenSize defaultSize) const {
    Placement p;
    const auto section = keys::kLocations;
    const double width = defaultSize.widthTwips;
    const double height = defaultSize.heightTwips;
    p.top = m_settings.readSingle(section, keyOf(windowName, "Top"), 0);
    p.left = m_settings.readSingle(section, keyOf(windowName, "Left"), 0);
    p.width = m_settings.readSingle(section, keyOf(windowName, "Width"), width);
    p.height = m_settings.readSingle(section, keyOf(windowName, "Height"), height);
    p.state = stateFrom(m_settings.readInt16(section, keyOf(windowName, "Windowstate"), 0));
    return fit(p, {0, 0, width, height, p.state});
}

Placement WindowPlacement::restoreFixed(const FixedPlacementKeys& k) const {
    Placement p;
    p.state = stateFrom(m_settings.readInt16(*k.state));
    if (p.state != WindowState::Normal) {
        return p;
    }
    if (k.width && k.height) {
        p.width = m_settings.readSingle(*k.width, k.defaultWidth);
        p.height = m_settings.readSingle(*k.height, k.defaultHeight);
    }
    p.top = m_settings.readSingle(*k.top, 0);
    p.left = m_settings.readSingle(*k.left, 0);
    return fit(p, {0, 0, k.defaultWidth, k.defaultHeight, p.state});
}

Placement WindowPlacement::fit(Placement p, const Placement& defaults) const {
    const ScreenSize& s = m_screen;
    const bool wholeDesktop = s.desktopWidth > 0 && s.desktopHeight > 0;
    const double left = wholeDesktop ? s.desktopLeft : 0;
    const double top = wholeDesktop ? s.desktopTop : 0;
    const double width = wholeDesktop ? s.desktopWidth : s.widthTwips;
    const double height = wholeDesktop ? s.desktopHeight : s.heightTwips;

    if (!(p.width > 0 && p.width <= width + kOverhang)) {
        p.width = defaults.width;
    }
    if (!(p.height > 0 && p.height <= height + kOverhang)) {
        p.height = defaults.height;
    }
    // A window of its own size counts as just wide enough to grab.
    const double grabbed = std::max(p.width, kGrip);
    const bool usable = p.left + grabbed >= left + kGrip && p.left <= left + width - kGrip &&
                        p.top >= top - kOverhang && p.top <= top + height - kGrip;
    if (!usable) {
        p.top = defaults.top;
        p.left = defaults.left;
    }
    return p;
}

void saveFixedPlacement(Settings& settings, const FixedPlacementKeys& k, const Placement& p) {
    settings.save(*k.state, static_cast<int>(p.state));
    if (k.width && k.height) {
        settings.save(*k.width, singleText(p.width));
        settings.save(*k.height, singleText(p.height));
    }
    settings.save(*k.top, singleText(p.top));
    settings.save(*k.left, singleText(p.left));
}

void WindowPlacement::save(std::string_view windowName, const Placement& p) {
    const auto section = keys::kLocations;
    m_settings.save(section, keyOf(windowName, "Top"), singleText(p.top));
    m_settings.save(section, keyOf(windowName, "Left"), singleText(p.left));
    m_settings.save(section, keyOf(windowName, "Height"), singleText(p.height));
    m_settings.save(section, keyOf(windowName, "Width"), singleText(p.width));
    m_settings.save(section, keyOf(windowName, "Windowstate"),
                    std::to_string(static_cast<int>(p.state)));
}

} // namespace orlix
