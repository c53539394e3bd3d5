// Start-up and close: what the load step leaves behind, what close saves.
#include "support/app_harness.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orlix {
namespace {

using test::AppHarness;

// The caption, flags and menus of the Offline state are the link states' test.
TEST(Startup, LeavesTheToolOfflineWithTheWindowsOfAFreshStart) {
    AppHarness h;
    h.startSettled();
    const App& app = h.app;
    EXPECT_TRUE(app.link.OfflineMode);
    EXPECT_EQ(app.link.AppMode, 0);
    for (const WindowId id :
         {WindowId::frmMain, WindowId::frmConnect, WindowId::frmCommLog, WindowId::frmTrying}) {
        EXPECT_TRUE(app.isVisible(id)) << int(id);
    }
    EXPECT_EQ(h.port.openedDevices.back(), "test-com1");
    // The port always opens with the same line settings.
    const SerialLineSettings& s = h.port.lastSettings;
    EXPECT_EQ(std::tuple(s.baudRate, s.parity, s.dataBits, s.stopBits),
              std::tuple(19200, 'N', 8, 1));
    EXPECT_FALSE(s.dataTerminalReady || s.requestToSend || s.hardwareHandshake);
}

TEST(Startup, FirstRunTurnsTheEchoOnOnceAndIsSkippedNextTime) {
    AppHarness first;
    first.startSettled();
    EXPECT_EQ(first.setting("StartUp", "RunType"), "1");
    EXPECT_EQ(first.setting("Configs", "CommLogEnabled"), "True") << "stored at start";
    EXPECT_TRUE(first.app.link.CommLogWindowEnabled);
    EXPECT_TRUE(first.app.commLogView.ckWindowEnabled);

    // The next start skips the step: the echo is what is stored, or off (and
    // not stored) without the key.
    for (const char* stored : {"", "False", "True", "0", "1", "junk"}) {
        AppHarness second;
        second.store.values = first.store.values;
        second.store.values.erase({"Configs", "CommLogEnabled"});
        if (*stored) {
            second.store.set("Configs", "CommLogEnabled", stored);
        }
        second.startSettled();
        const bool on = std::string(stored) == "True" || std::string(stored) == "1";
        EXPECT_EQ(second.app.link.CommLogWindowEnabled, on) << stored;
        EXPECT_EQ(second.app.commLogView.ckWindowEnabled, on) << stored;
        EXPECT_EQ(second.setting("Configs", "CommLogEnabled"), *stored ? stored : "<missing>");
    }
}

TEST(Startup, InitGlobalDataPutsTheMonitorDataInItsFirstState) {
    AppHarness h;
    h.startSettled();
    h.store.set("Configs", "CommPort", "4");
    h.store.set("Configs", "CommLogEnabled", "True");
    App& app = h.app;
    MonitorData& d = app.data;
    // Everything the step sets, set otherwise first.
    for (DacGroup* g : {&d.L, &d.B, &d.H, &d.V, &d.N, &d.DayNight}) {
        g->count = 1;
        g->names.fill("x");
    }
    d.NumScanSets = 2;
    d.CurrentScanSet = 4;
    d.DataFileExt = d.DataFileHeader = d.DataFileVersion = "x";
    d.FileIsOpen = d.DataChanged = d.IdentityFromFile = true;
    d.DataFilePath = d.ModelNumber = d.SerialNumber = d.FirmwareVersion = "x";
    d.Capability.fill(3);
    app.link.AutoPingEnabled = false;
    app.link.CommPortNumber = 2;
    app.download.RecordRetries = 9;
    app.download.RecordRetryLimit = 9;
    h.act([&] {
        app.GoOnline();
        app.InitGlobalData();
    });

    MonitorData fresh;
    SetDefaultCountsAndNames(fresh);
    for (const GroupId g :
         {GroupId::L, GroupId::B, GroupId::H, GroupId::V, GroupId::N, GroupId::DayNight}) {
        EXPECT_EQ(d.group(g).count, fresh.group(g).count) << int(g);
        EXPECT_EQ(d.group(g).names, fresh.group(g).names) << int(g);
    }
    const std::pair<std::string, std::string> texts[] = {
        {d.DataFileExt, ".mdv"},
        {d.DataFileHeader, "Norvique Monitor DAC Value File"},
        {d.DataFileVersion, "Version 3.0"},
        {d.DataFilePath, ""},
        {d.ModelNumber, ""},
        {d.SerialNumber, ""},
        {d.FirmwareVersion, ""},
    };
    for (const auto& [got, expected] : texts) {
        EXPECT_EQ(got, expected);
    }
    EXPECT_EQ(d.NumScanSets, 6);
    EXPECT_EQ(d.CurrentScanSet, 0);
    EXPECT_FALSE(d.FileIsOpen);
    EXPECT_FALSE(d.DataChanged);
    EXPECT_EQ(d.Capability, (std::array<std::int16_t, 8>{}));
    EXPECT_TRUE(app.link.OfflineMode);
    EXPECT_FALSE(app.link.MonitorConnected);
    EXPECT_TRUE(app.link.AutoPingEnabled);
    EXPECT_TRUE(app.link.CommLogWindowEnabled);
    EXPECT_EQ(app.link.CommPortNumber, 4);
    EXPECT_EQ(app.download.RecordRetries, 0);
    EXPECT_EQ(app.download.RecordRetryLimit, 5);
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
        EXPECT_EQ(h.app.connectView.selectedPort, c.expectedPort - 1);
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
