#include "core/app/frm_rgblight.h"

#include "core/app/app.h"

#include <algorithm>

namespace orlix {

void FrmRGBlight::Form_Load() {
    App& app = m_app;
    Placement p = app.rgbView.placement;
    p.width = kWidthTwips;
    p.height = kHeightTwips;
    app.place(WindowId::frmRGBlight, p);
    // Neither option is chosen until the unit says which control it uses.
    app.rgbView.option = -1;
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
    sliderChanged(m_app.rgbView.HScroll, m_app.rgbView.lbl, "TYW3", value);
}

void FrmRGBlight::HScroll_analog_Change(int value) {
    sliderChanged(m_app.rgbView.HScroll_analog, m_app.rgbView.lbl_analog, "TYW4", value);
}

void FrmRGBlight::sliderChanged(int& slider, std::string& label, const char* command, int value) {
    value = std::clamp(value, 0, kSliderMax);
    slider = value;
    label = std::to_string(value);
    m_app.touch(WindowId::frmRGBlight);
    // The same level for the three channels, in their order.
    for (const char channel : {'1', '2', '3'}) {
        m_app.SendCommand(command + std::string(1, channel) + "B" + std::to_string(value) + "\r\n");
    }
}

void FrmRGBlight::controlModeReported(bool software) {
    App& app = m_app;
    app.load(WindowId::frmRGBlight);
    const int index = software ? 1 : 0;
    // Setting an option that is already chosen is no click.
    if (app.rgbView.option != index) {
        Option1_Click(index);
    }
}

} // namespace orlix
