// Keeping the link: a ping when the line has been quiet, a 2 s watchdog on
// the ping's prompt, and going Offline with a new attempt when the prompt
// does not come, a line goes unanswered after its second write, the unit
// rejects every line, or the device disappears (the log says which). The
// link also follows the unit into its boot loader and back. Also the
// time-out notice that an attempt shows when it gives up.
#pragma once

#include <string>
#include <string_view>

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
    // A line had no prompt after its second write: judged as the watchdog
    // judges a ping without a prompt, whether or not pings are on.
    void onLineLost();
    // Line after line is rejected: judged the same way.
    void onUnitRefuses();
    // The port reported that its device is gone.
    void onPortLost(const std::string& reason);
    // Why the unit was last judged lost (empty: never), as the log says it.
    const std::string& lossReason() const { return m_lossReason; }
    // A reply's prompt says the unit runs the other program now; true: its
    // boot loader.
    void onUnitMode(bool bootLoader);

private:
    void linkLost();
    // The unit does not answer as it should (`why` goes to the log):
    // offline and a new attempt.
    void unitGone(std::string_view why);

    App& m_app;
    std::string m_lossReason;
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
