#include "core/app/placement.h"

namespace orlix {

namespace {

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
    p.top = m_settings.readSingle(section, keyOf(windowName, "Top"), 0);
    p.left = m_settings.readSingle(section, keyOf(windowName, "Left"), 0);
    const double width = defaultSize.widthTwips;
    const double height = defaultSize.heightTwips;
    p.width = m_settings.readSingle(section, keyOf(windowName, "Width"), width);
    p.height = m_settings.readSingle(section, keyOf(windowName, "Height"), height);
    if (!(p.width > 0)) {
        p.width = width;
    }
    if (!(p.height > 0)) {
        p.height = height;
    }
    p.state = stateFrom(m_settings.readInt16(section, keyOf(windowName, "Windowstate"), 0));
    return p;
}

Placement restoreFixedPlacement(const Settings& settings, const FixedPlacementKeys& k) {
    Placement p;
    p.state = WindowPlacement::stateFrom(settings.readInt16(*k.state));
    if (p.state != WindowState::Normal) {
        return p;
    }
    if (k.width && k.height) {
        p.width = settings.readSingle(*k.width, k.defaultWidth);
        p.height = settings.readSingle(*k.height, k.defaultHeight);
        if (!(p.width > 0) || !(p.height > 0)) {
            p.width = k.defaultWidth;
            p.height = k.defaultHeight;
        }
    }
    p.top = settings.readSingle(*k.top, 0);
    p.left = settings.readSingle(*k.left, 0);
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
