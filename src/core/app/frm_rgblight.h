// The RGB backlight window: software or hardware control of the backlight
// and two brightness levels, each change sent to the unit at once, or, when
// the line is busy, as soon as the lines before it have gone out
// (BacklightLevels).
#pragma once

#include "core/app/backlight_levels.h"

#include <string>

namespace orlix {

class App;

class FrmRGBlight {
public:
    static constexpr double kWidthTwips = 5115;
    static constexpr double kHeightTwips = 2700;
    static constexpr int kSliderMax = 16383;

    explicit FrmRGBlight(App& app);

    void Form_Load();
    // Option1: 0 "Hardware", 1 "Software"; by the user or by the unit's
    // control mode reply.
    void Option1_Click(int index);
    void HScroll_Change(int value);
    void HScroll_analog_Change(int value);
    // The reply to "dy": chooses the option as a click does, even when it
    // is already chosen.
    void controlModeReported(bool software);
    // A reply came: levels held back while the line was busy may go now.
    void sendHeldLevels() { m_levels.sendHeld(); }

private:
    void sliderChanged(int& slider, std::string& label, BacklightLevels::Slider which, int value);

    App& m_app;
    BacklightLevels m_levels;
};

} // namespace orlix
