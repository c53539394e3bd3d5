// The version window: the unit's firmware and EPROM versions beside this
// program's. It asks the unit for both each time it comes to the front.
#pragma once

namespace orlix {

class App;

class FrmVersion {
public:
    static constexpr double kWidthTwips = 4320;
    static constexpr double kHeightTwips = 2475;

    explicit FrmVersion(App& app) : m_app(app) {}

    void Form_Load();
    void Form_Activate();
    void btnReRead_Click();
    void btnOK_Click();
    void Form_Unload();

private:
    App& m_app;
};

} // namespace orlix
