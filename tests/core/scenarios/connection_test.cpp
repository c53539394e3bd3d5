// The tool and the simulated unit together on the virtual clock: finding
// the unit, keeping the link, losing it and getting it back. Times are the
// contract: each write follows its 100 ms pause, pings come after 5 s of
// quiet, the watchdog gives a ping 2 s.
#include "support/sim_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::SimHarness;

constexpr const char* kBase = "Orlix6 Backlight Adjustment Tool V6.0.3 -- ";

std::vector<std::int64_t> writeTimes(const SimHarness& h, std::string_view line) {
    std::vector<std::int64_t> times;
    for (const auto& w : h.port.writes()) {
        if (w.bytes == line) {
            times.push_back(w.at);
        }
    }
    return times;
}

TEST(Connection, FindsTheUnitAndAsksForItsFirmwareVersion) {
    SimHarness h;
    h.start();
    h.run(3000);
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"p", "df"}));
    EXPECT_EQ(writeTimes(h, "p\r\n"), (std::vector<std::int64_t>{100}));
    EXPECT_EQ(writeTimes(h, "df\r\n"), (std::vector<std::int64_t>{2100}))
        << "the first try (2 s) sees the answer; df follows its pause";
    EXPECT_TRUE(h.app.link.OnlineMode);
    EXPECT_EQ(h.app.connectView.lbl1, "Connected on the selected port.");
    EXPECT_EQ(h.app.connectView.btnInd, kColourGreen);
    EXPECT_EQ(h.app.commLogView.btnInd, kColourGreen);
    EXPECT_FALSE(h.app.isVisible(WindowId::frmTrying));
    EXPECT_EQ(h.app.data.FirmwareVersion, "V 2.24");
    EXPECT_EQ(h.app.data.FirmwareVersionCode, 224);
}

TEST(Connection, ABootLoaderAnswerGivesBootModeAndNoVersionRequest) {
    auto options = SimHarness::quickUnit();
    options.startInBootLoader = true;
    SimHarness h(options);
    h.start();
    h.run(3000);
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"p"}));
    EXPECT_EQ(h.app.mainView.caption, std::string(kBase) + "Backlight on Com1 -- BOOT MODE");
    EXPECT_TRUE(h.app.link.BootMode);

    // Run from BOOT MODE: the application's '#' brings the tool Online.
    h.act([&] { h.app.frmMain.mnuMonitorRun_Click(); });
    h.run(3000);
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"p", "g", "df"}));
    EXPECT_TRUE(h.app.link.OnlineMode);
    EXPECT_EQ(h.app.mainView.caption, std::string(kBase) + "Backlight on Com1");
    EXPECT_EQ(h.app.data.FirmwareVersionCode, 224);
    EXPECT_NE(h.app.commLogView.text.find("The application answers"), std::string::npos);
}

TEST(Connection, KeepAlivePingsOnlyAfterFiveSecondsWithoutAPromptAndWhileAutoPingIsOn) {
    SimHarness h;
    h.start();
    h.run(20000);
    // Connected at 2000 (keep-alive 2000), df's prompt at 2100 pushes the
    // ping to 7100; each ping's own prompt then pushes the next one.
    EXPECT_EQ(writeTimes(h, "p\r\n"), (std::vector<std::int64_t>{100, 7200, 12300, 17400}));

    h.act([&] { h.app.frmCommLog.btnDisableAutoping_Click(); });
    h.run(30000);
    EXPECT_EQ(writeTimes(h, "p\r\n").size(), 4u);
    // Switching it on pings 2 s later.
    h.act([&] { h.app.frmCommLog.btnDisableAutoping_Click(); });
    h.run(2200);
    EXPECT_EQ(writeTimes(h, "p\r\n").back(), 52100);
}

TEST(Connection, KeepAliveTicksHeldByAModalDialogGiveOnePing) {
    SimHarness h;
    h.start();
    h.run(3000);
    const auto before = writeTimes(h, "p\r\n").size();
    // A dialog left open for 30 s: its event holds six keep-alive ticks.
    h.act([&] { h.clock.advance(30'000); });
    h.run(1000);
    EXPECT_EQ(writeTimes(h, "p\r\n").size(), before + 1) << "one ping, not a burst of six";
    EXPECT_EQ(h.app.gate.heldCount(), 0u);
}

TEST(Connection, ASilentUnitIsNoticedAndTheToolKeepsTrying) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.unit.setSilent(true);
    h.run(7000); // ping at 7200, watchdog from 7200
    EXPECT_EQ(writeTimes(h, "p\r\n").back(), 7200);
    h.run(1000); // t = 11000 > 9200
    EXPECT_FALSE(h.clock.isRunning(TimerId::tmrConnect));
    EXPECT_FALSE(h.clock.isRunning(TimerId::tmrKeepAlive)) << "no keep-alive while offline";
    EXPECT_TRUE(h.app.link.OfflineMode);
    EXPECT_TRUE(h.app.isVisible(WindowId::frmConnect));
    EXPECT_TRUE(h.app.isVisible(WindowId::frmTrying));

    // Auto ReConnect: past its limit, each ping drops the unanswered line (beep).
    h.dialogs.beeps.clear();
    h.run(20000);
    EXPECT_TRUE(h.app.isVisible(WindowId::frmTrying));
    EXPECT_FALSE(h.dialogs.beeps.empty());
    EXPECT_EQ(h.app.tryingView.lblToGo, "") << "no negative counts under Auto ReConnect";

    h.unit.setSilent(false);
    h.run(4000);
    EXPECT_EQ(h.app.mainView.caption, std::string(kBase) + "Backlight on Com1");
}

TEST(Connection, WithoutAutoReConnectTheAttemptGivesUpAfterItsLimit) {
    // Each try restarts the 2 s count after its ping's pause: 2000, 4100, 6200.
    struct Case {
        const char* limit;
        std::vector<std::int64_t> pings;
        std::int64_t givesUpAt;
    };
    for (const auto& [limit, pings, givesUpAt] :
         {Case{"1", {100}, 2000}, Case{"3", {100, 2100, 4200}, 6200}}) {
        SCOPED_TRACE(limit);
        SimHarness h;
        h.unit.setSilent(true);
        h.store.set("Configs", "ConnectRetryLimit", limit);
        h.start();
        h.act([&] { h.app.frmConnect.ckAutoReConnect_Click(false); });
        h.run(givesUpAt - 1);
        EXPECT_TRUE(h.app.isVisible(WindowId::frmTrying));
        h.run(1);
        EXPECT_EQ(writeTimes(h, "p\r\n"), pings);
        EXPECT_FALSE(h.app.isVisible(WindowId::frmTrying));
        EXPECT_TRUE(h.app.isVisible(WindowId::frmTimedOut));
        EXPECT_EQ(h.app.connectView.lbl1.substr(0, 44),
                  "Unable to connect to monitor. Make sure the ");
        h.run(4999);
        EXPECT_TRUE(h.app.isVisible(WindowId::frmTimedOut));
        h.run(1);
        EXPECT_FALSE(h.app.isVisible(WindowId::frmTimedOut))
            << "the notice closes itself after 5 s";
        h.run(10000);
        EXPECT_EQ(writeTimes(h, "p\r\n"), pings) << "nothing more after giving up";
    }
}

TEST(Connection, GoingOfflineStopsTheAttemptForGood) {
    for (int way = 0; way < 2; ++way) {
        SimHarness h;
        h.unit.setSilent(true);
        h.start();
        h.run(3000);
        h.act([&] {
            if (way == 0) {
                h.app.frmMain.mnuMonitorOffline_Click();
            } else {
                h.app.frmConnect.btnOffline_Click();
            }
        });
        EXPECT_FALSE(h.app.isVisible(WindowId::frmTrying)) << way;
        EXPECT_FALSE(h.app.isVisible(WindowId::frmConnect)) << way;
        const auto pings = writeTimes(h, "p\r\n").size();
        h.unit.setSilent(false);
        h.run(20000);
        EXPECT_EQ(writeTimes(h, "p\r\n").size(), pings) << way;
        EXPECT_TRUE(h.app.link.OfflineMode) << way << ": the hidden attempt must not reconnect";
    }
}

TEST(Connection, ReActivatingTheAttemptWindowOrReConnectStartsAFreshCount) {
    for (const bool reconnect : {false, true}) {
        SimHarness h;
        h.unit.setSilent(true);
        h.start();
        h.run(4500);
        EXPECT_EQ(h.app.tryingView.lblToGo, "3") << reconnect;
        if (reconnect) {
            h.act([&] { h.app.frmCommLog.btnReConnect_Click(); });
        } else {
            h.app.windowActivated(WindowId::frmCommLog);
            h.app.windowActivated(WindowId::frmTrying);
        }
        EXPECT_EQ(h.app.tryingView.lblToGo, "5") << reconnect;
    }
}

TEST(Connection, ReConnectInTheCommLogGoesOfflineAndFindsTheUnitAgain) {
    SimHarness h;
    h.start();
    h.run(3000);
    ASSERT_TRUE(h.app.link.OnlineMode);
    const auto pings = writeTimes(h, "p\r\n").size();
    h.act([&] { h.app.frmCommLog.btnReConnect_Click(); });
    EXPECT_TRUE(h.app.link.OfflineMode);
    EXPECT_TRUE(h.app.isVisible(WindowId::frmConnect));
    EXPECT_TRUE(h.app.isVisible(WindowId::frmTrying));
    h.run(2500);
    EXPECT_EQ(writeTimes(h, "p\r\n").size(), pings + 1);
    EXPECT_TRUE(h.app.link.OnlineMode);
    EXPECT_FALSE(h.app.isVisible(WindowId::frmTrying));
}

// The attempt window takes its position but keeps its own size; the notice
// and the retry limit window keep their places under keys of their own.
TEST(Connection, TheAttemptNoticeAndRetryLimitWindowsKeepTheirPlacesUnderTheirOwnKeys) {
    SimHarness h;
    h.storeSettings("Locations", {{"frmTryingTop", "300"},
                                  {"frmTryingLeft", "600"},
                                  {"frmTryingWidth", "9000"},
                                  {"frmTryingHeight", "7000"}});
    h.storeSettings("Configs", {{"TimedOutWidth", "5000"},
                                {"TimedOutHeight", "3000"},
                                {"TimedOutTop", "100"},
                                {"TimedOutLeft", "200"},
                                {"TriesTop", "300"},
                                {"TriesLeft", "400"}});
    h.start();
    EXPECT_EQ(h.app.tryingView.placement, (Placement{300, 600, 3825, 1470, WindowState::Normal}));
    h.run(200);
    h.act([&] {
        h.app.show(WindowId::frmTimedOut);
        h.app.frmTrying.btnChange_Click();
    });
    EXPECT_EQ(h.app.timedOutView.placement, (Placement{100, 200, 5000, 3000}));
    EXPECT_EQ(h.app.changeTriesView.placement, (Placement{300, 400, 0, 0}));

    h.app.windowPlaced(WindowId::frmTimedOut, {110, 210, 5100, 3100, WindowState::Normal});
    h.app.windowPlaced(WindowId::frmChangeTries, {310, 410, 0, 0, WindowState::Minimized});
    h.close();
    const std::pair<const char*, const char*> saved[] = {
        {"TimedOutWindowState", "0"}, {"TimedOutTop", "110"},     {"TimedOutLeft", "210"},
        {"TimedOutWidth", "5100"},    {"TimedOutHeight", "3100"}, {"TriesWindowState", "1"},
        {"TriesTop", "310"},          {"TriesLeft", "410"},
    };
    for (const auto& [key, value] : saved) {
        EXPECT_EQ(h.setting("Configs", key), value) << key;
    }
}

// Another port reopens (the gui test's click); the open one does nothing.
TEST(Connection, APortThatCannotBeOpenedSaysWhyAndLeavesOnline) {
    SimHarness h;
    h.start();
    h.run(3000);
    const auto opens = h.port.openedDevices.size();
    h.act([&] { h.app.frmConnect.optCommPort_Click(0); });
    EXPECT_EQ(h.port.openedDevices.size(), opens);
    EXPECT_TRUE(h.app.link.OnlineMode);

    h.port.refuse["test-com4"] = "Permission denied";
    h.dialogs.messages.clear();
    h.act([&] { h.app.frmConnect.optCommPort_Click(3); });
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].text, "Comm Port Error  on Com4 -> try another port");
    EXPECT_EQ(h.app.connectView.lbl1, "Cannot open Com4: test-com4: Permission denied");
    EXPECT_NE(h.app.commLogView.text.find("Permission denied"), std::string::npos);
    EXPECT_TRUE(h.app.link.OfflineMode) << "a closed port is not Online";
    EXPECT_EQ(h.app.link.CommPortNumber, 4);
}

TEST(Connection, ALostDeviceGoesOfflineAndComesBackByItselfUnderAutoReConnect) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.port.refuse["test-com1"] = "No such file or directory";
    h.unit.hangUp();
    h.run(10);
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_TRUE(h.app.link.OfflineMode);
    EXPECT_TRUE(h.app.isVisible(WindowId::frmTrying));
    EXPECT_NE(h.app.commLogView.text.find("Serial port lost"), std::string::npos);
    h.run(10000);
    EXPECT_FALSE(h.port.isOpen()) << "the device is still gone";
    // One line in the log per reason and per outage, not one per try.
    const auto& log = h.app.commLogView.text;
    EXPECT_EQ(log.find("No such file"), log.rfind("No such file"));
    EXPECT_NE(log.find("Not sent, the port is not open: p"), std::string::npos);
    EXPECT_EQ(log.find("Not sent"), log.rfind("Not sent"));

    h.port.refuse.clear();
    h.unit.reconnectLine();
    h.run(5000);
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.app.mainView.caption, std::string(kBase) + "Backlight on Com1");

    // The next outage is told again.
    const auto told = log.rfind("Not sent");
    h.port.refuse["test-com1"] = "No such file or directory";
    h.unit.hangUp();
    h.run(10'000);
    EXPECT_GT(log.rfind("Not sent"), told);
}

TEST(Connection, WithoutAutoReConnectOkReopensALostDevice) {
    SimHarness h;
    h.start();
    h.act([&] { h.app.frmConnect.ckAutoReConnect_Click(false); });
    h.run(3000);
    h.unit.hangUp();
    h.run(20000);
    EXPECT_FALSE(h.port.isOpen());
    h.unit.reconnectLine();
    h.app.windowActivated(WindowId::frmConnect);
    h.act([&] { h.app.frmConnect.btnOK_Click(); });
    h.run(3000);
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_TRUE(h.app.link.OnlineMode);
}

TEST(Connection, ChangeTriesTakesAValidLimitAndRefusesAnythingElse) {
    SimHarness h;
    h.start();
    h.run(100);
    h.act([&] { h.app.frmTrying.btnChange_Click(); });
    EXPECT_EQ(h.app.changeTriesView.txtConnectRetryLimit, "5");
    for (const char* bad : {"", "abc", "0", "-2", "3x", "99999"}) {
        h.dialogs.messages.clear();
        h.act([&] { h.app.frmChangeTries.btnOK_Click(bad); });
        EXPECT_EQ(h.dialogs.messages.size(), 1u) << bad;
        EXPECT_EQ(h.app.link.ConnectRetryLimit, 5) << bad;
        EXPECT_TRUE(h.app.isVisible(WindowId::frmChangeTries)) << bad;
    }
    h.act([&] { h.app.frmChangeTries.btnOK_Click(" 12 "); });
    EXPECT_EQ(h.app.link.ConnectRetryLimit, 12);
    EXPECT_FALSE(h.app.isVisible(WindowId::frmChangeTries));
    h.close();
    EXPECT_EQ(h.setting("Configs", "ConnectRetryLimit"), "12");
}

} // namespace
} // namespace orlix
