// Keeping the link: a ping when the line has been quiet, a 2 s watchdog on
// the ping's prompt, and going Offline with a new attempt when the prompt
// does not come or the device disappears. Also the time-out notice that an
// attempt shows when it gives up.
#pragma once

#include <string>

namespace orlix {

class App;

class KeepAlive {
public:
    static constexpr int kAfterConnectMs = 2000;
    static constexpr int kWatchdogMs = 2000;
    static constexpr int kAfterAutoPingOnMs = 2000;

    explicit KeepAlive(App& app) : m_app(app) {}

    void tmrKeepAlive_Timer();
    // No prompt within 2 s of the ping: the link is lost.
    void tmrConnect_Timer();
    // The port reported that its device is gone.
    void onPortLost(const std::string& reason);

private:
    void linkLost();

    App& m_app;
    std::string m_lastLost;
};

class FrmTimedOut {
public:
    static constexpr int kShowMs = 5000;
    static constexpr double kWidthTwips = 4800;
    static constexpr double kHeightTwips = 2475;

    explicit FrmTimedOut(App& app) : m_app(app) {}

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Timer1_Timer();
    void btnOK_Click();

private:
    App& m_app;
};

} // namespace orlix
