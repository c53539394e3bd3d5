// Start-up and close: what the load step leaves behind and what the close
// step saves.
#include "support/app_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::AppHarness;

TEST(Startup, LeavesTheToolOfflineWithTheCaptionAndWindowsOfAFreshStart) {
    AppHarness h;
    h.startSettled();
    const App& app = h.app;
    EXPECT_EQ(app.mainView.caption, "Orlix6 Backlight Adjustment Tool V6.0.3 -- No Backlight");
    EXPECT_TRUE(app.link.OfflineMode);
    EXPECT_FALSE(app.link.OnlineMode || app.link.BootMode || app.link.DemoMode);
    EXPECT_FALSE(app.link.MonitorConnected);
    EXPECT_EQ(app.link.AppMode, 0);
    EXPECT_TRUE(app.isVisible(WindowId::frmMain));
    EXPECT_TRUE(app.isVisible(WindowId::frmConnect));
    EXPECT_TRUE(app.isVisible(WindowId::frmCommLog));
    EXPECT_TRUE(app.isVisible(WindowId::frmTrying)) << "the attempt starts on the stored port";
    EXPECT_FALSE(app.mainView.enabled(MenuItem::mnuMonitorUpdate));
    EXPECT_FALSE(app.mainView.enabled(MenuItem::mnuMonitorOffline));
    EXPECT_FALSE(app.mainView.enabled(MenuItem::mnuMonitorRun));
    EXPECT_TRUE(app.mainView.enabled(MenuItem::mnuMonitorOnline));
    EXPECT_TRUE(app.mainView.enabled(MenuItem::mnuFileOpen));
    EXPECT_EQ(h.port.openedDevices.back(), "test-com1");
    // The port always opens with the same line settings.
    EXPECT_EQ(h.port.lastSettings.baudRate, 19200);
    EXPECT_EQ(h.port.lastSettings.parity, 'N');
    EXPECT_EQ(h.port.lastSettings.dataBits, 8);
    EXPECT_EQ(h.port.lastSettings.stopBits, 1);
    EXPECT_FALSE(h.port.lastSettings.dataTerminalReady);
    EXPECT_FALSE(h.port.lastSettings.requestToSend);
    EXPECT_FALSE(h.port.lastSettings.hardwareHandshake);
}

TEST(Startup, FirstRunIsMarkedAndSkippedNextTime) {
    AppHarness h;
    h.startSettled();
    EXPECT_EQ(h.setting("StartUp", "RunType"), "1");
    EXPECT_TRUE(h.app.link.CommLogWindowEnabled == h.app.commLogView.ckWindowEnabled);
}

TEST(Startup, StoredValuesAndTheirDefaults) {
    struct Case {
        const char* commPort; // nullptr: missing
        const char* retryLimit;
        int expectedPort;
        int expectedLimit;
    };
    const Case cases[] = {
        // A limit of 0 or below is kept: the attempt gives up at its first tick.
        {nullptr, nullptr, 1, 5}, {"3", "7", 3, 7}, {"0", "0", 1, 0},     {"-4", "-1", 1, -1},
        {"9", "abc", 1, 5},       {"x", "", 1, 5},  {"2.4", "3.5", 2, 4}, {" 8 ", "99999", 8, 5},
    };
    for (const auto& c : cases) {
        AppHarness h;
        if (c.commPort) {
            h.store.set("Configs", "CommPort", c.commPort);
        }
        if (c.retryLimit) {
            h.store.set("Configs", "ConnectRetryLimit", c.retryLimit);
        }
        h.startSettled();
        EXPECT_EQ(h.app.link.CommPortNumber, c.expectedPort) << (c.commPort ? c.commPort : "-");
        EXPECT_EQ(h.app.link.ConnectRetryLimit, c.expectedLimit)
            << (c.retryLimit ? c.retryLimit : "-");
        EXPECT_EQ(h.port.openedDevices.back(), "test-com" + std::to_string(c.expectedPort));
        h.close();
        EXPECT_EQ(h.setting("Configs", "CommPort"), std::to_string(c.expectedPort));
        EXPECT_EQ(h.setting("Configs", "ConnectRetryLimit"), std::to_string(c.expectedLimit));
    }
}

TEST(Startup, InitialModeNeverLeavesUserMode) {
    for (const char* mode : {"UserMode", "ServiceMode", "FactoryMode", "servicemode", "junk"}) {
        AppHarness h;
        h.store.set("StartUp", "InitialMode", mode);
        h.startSettled();
        EXPECT_EQ(h.app.link.AppMode, 0) << mode;
    }
}

TEST(Startup, CommLogFlagFromTheSettingsIsWhatTheCheckBoxShows) {
    for (const char* stored : {"False", "True", "0", "1", "junk"}) {
        AppHarness h;
        h.store.set("StartUp", "RunType", "1");
        h.store.set("Configs", "CommLogEnabled", stored);
        h.startSettled();
        const bool expected = std::string(stored) == "True" || std::string(stored) == "1";
        EXPECT_EQ(h.app.link.CommLogWindowEnabled, expected) << stored;
        EXPECT_EQ(h.app.commLogView.ckWindowEnabled, expected) << stored;
    }
}

TEST(Startup, CloseSavesPlacementSettingsAndClosesThePort) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.link.CommLogWindowEnabled = true; });
    h.app.mainView.placement = Placement{120, 240, 9000, 6000, WindowState::Maximized};
    h.close();
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_TRUE(h.app.quitRequested());
    EXPECT_EQ(h.setting("Configs", "CommLogEnabled"), "True");
    EXPECT_EQ(h.setting("Configs", "ConnectRetryLimit"), "5");
    EXPECT_EQ(h.setting("Locations", "frmMainTop"), "120");
    EXPECT_EQ(h.setting("Locations", "frmMainLeft"), "240");
    EXPECT_EQ(h.setting("Locations", "frmMainWidth"), "9000");
    EXPECT_EQ(h.setting("Locations", "frmMainHeight"), "6000");
    EXPECT_EQ(h.setting("Locations", "frmMainWindowstate"), "2");
    // Every loaded window saved its own placement on the way out.
    EXPECT_NE(h.setting("Locations", "frmConnectTop"), "<missing>");
    EXPECT_NE(h.setting("Locations", "frmCommLogTop"), "<missing>");
    EXPECT_EQ(h.setting("Configs", "CommLogOpen"), "1");
}

} // namespace
} // namespace orlix
