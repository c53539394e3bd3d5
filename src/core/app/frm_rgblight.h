// The RGB backlight window: software or hardware control of the backlight
// and two brightness levels, each change sent to the unit at once.
#pragma once

#include <string>

namespace orlix {

class App;

class FrmRGBlight {
public:
    static constexpr double kWidthTwips = 5115;
    static constexpr double kHeightTwips = 2700;
    static constexpr int kSliderMax = 16383;

    explicit FrmRGBlight(App& app) : m_app(app) {}

    void Form_Load();
    // Option1: 0 "Hardware", 1 "Software"; by the user or by the unit's
    // control mode reply.
    void Option1_Click(int index);
    void HScroll_Change(int value);
    void HScroll_analog_Change(int value);
    // The reply to "dy": selects the option as a click would.
    void controlModeReported(bool software);

private:
    void sliderChanged(int& slider, std::string& label, const char* command, int value);

    App& m_app;
};

} // namespace orlix
