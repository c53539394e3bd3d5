// The bugeye test window: puts the unit into its bugeye test mode ("CB")
// and drives one brightness with a slider. The slider's values go to the
// port as raw two-byte blocks (value, 0), outside the command protocol;
// the keep-alive ping stops while the test runs, since a ping would be
// taken as a block.
#pragma once

namespace orlix {

class App;

class FrmBugeyeMode {
public:
    static constexpr int kSliderMax = 255;

    explicit FrmBugeyeMode(App& app) : m_app(app) {}

    void Form_Load();
    void HScrollBugeye_Change(int value);
    void Form_Unload();

private:
    App& m_app;
    // A level was lost to a closed port and the log said so; said again
    // only after a level has gone out.
    bool m_notSentNoticeGiven = false;
};

} // namespace orlix
