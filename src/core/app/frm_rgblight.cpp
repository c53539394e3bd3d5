#include "core/app/frm_rgblight.h"

#include "core/app/app.h"

#include <algorithm>

namespace orlix {

FrmRGBlight::FrmRGBlight(App& app)
    : m_app(app),
      m_levels(BacklightLevels::Deps{[&app] { return app.xmit.queuedLines(); },
                                     [&app](std::string_view line) { app.SendCommand(line); }}) {}

void FrmRGBlight::Form_Load() {
    App& app = m_app;
    Placement p = app.rgbView.placement;
    p.width = kWidthTwips;
    p.height = kHeightTwips;
    app.place(WindowId::frmRGBlight, p);
    // Neither option is chosen until the unit says which control it uses;
    // the sliders start where they started at the first load.
    RGBlightView& v = app.rgbView;
    v.option = -1;
    v.HScroll = v.HScroll_analog = 0;
    v.lbl = v.lbl_analog = "0";
    app.touch(WindowId::frmRGBlight);
    app.SendCommand("dy\r\n");
}

void FrmRGBlight::Option1_Click(int index) {
    App& app = m_app;
    RGBlightView& v = app.rgbView;
    if (index != 0 && index != 1) {
        return;
    }
    v.option = index;
    v.slidersEnabled = index == 1;
    app.touch(WindowId::frmRGBlight);
    app.SendCommand(index == 1 ? "TAS\r\n" : "TAH\r\n");
}

void FrmRGBlight::HScroll_Change(int value) {
    sliderChanged(m_app.rgbView.HScroll, m_app.rgbView.lbl, BacklightLevels::Slider::Digital,
                  value);
}

void FrmRGBlight::HScroll_analog_Change(int value) {
    sliderChanged(m_app.rgbView.HScroll_analog, m_app.rgbView.lbl_analog,
                  BacklightLevels::Slider::Maximum, value);
}

void FrmRGBlight::sliderChanged(int& slider, std::string& label, BacklightLevels::Slider which,
                                int value) {
    value = std::clamp(value, 0, kSliderMax);
    slider = value;
    label = std::to_string(value);
    m_app.touch(WindowId::frmRGBlight);
    m_levels.set(which, value);
}

void FrmRGBlight::controlModeReported(bool software) {
    App& app = m_app;
    app.load(WindowId::frmRGBlight);
    // Even an option already chosen counts as chosen again: the unit is
    // told the mode once more.
    Option1_Click(software ? 1 : 0);
}

} // namespace orlix
