// The four link states: flags, caption, Monitor menu and indicators.
#include "support/app_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::AppHarness;

constexpr const char* kBase = "Orlix6 Backlight Adjustment Tool V6.0.3";

struct MenuRow {
    bool update, online, offline, demo, run;
};

MenuRow menus(const App& app) {
    const auto& m = app.mainView;
    return {m.enabled(MenuItem::mnuMonitorUpdate), m.enabled(MenuItem::mnuMonitorOnline),
            m.enabled(MenuItem::mnuMonitorOffline), m.enabled(MenuItem::mnuMonitorDemo),
            m.enabled(MenuItem::mnuMonitorRun)};
}

TEST(LinkStates, EachStateSetsFlagsCaptionMenusAndIndicators) {
    struct Case {
        const char* name;
        void (App::*change)();
        const char* caption;
        bool online, boot, offline, demo, connected;
        MenuRow menu;
        std::uint32_t connectIndicator;
    };
    const Case cases[] = {
        {"online",
         &App::GoOnline,
         " -- Backlight on Com3",
         true,
         false,
         false,
         false,
         true,
         {true, false, true, true, false},
         kColourGreen},
        {"boot",
         &App::GoBootMode,
         " -- Backlight on Com3 -- BOOT MODE",
         false,
         true,
         false,
         false,
         true,
         {false, false, true, true, true},
         kColourRed},
        {"offline",
         &App::GoOffline,
         " -- No Backlight",
         false,
         false,
         true,
         false,
         false,
         {false, true, false, true, false},
         kColourRed},
        {"demo",
         &App::GoDemoMode,
         " -- No monitor - Offline Demo Mode",
         false,
         false,
         false,
         true,
         false,
         {true, true, true, true, true},
         kColourRed},
    };
    for (const auto& c : cases) {
        AppHarness h;
        h.startSettled();
        App& app = h.app;
        h.act([&] {
            app.link.CommPortNumber = 3;
            (app.*c.change)();
        });
        EXPECT_EQ(app.mainView.caption, std::string(kBase) + c.caption) << c.name;
        EXPECT_EQ(app.link.OnlineMode, c.online) << c.name;
        EXPECT_EQ(app.link.BootMode, c.boot) << c.name;
        EXPECT_EQ(app.link.OfflineMode, c.offline) << c.name;
        EXPECT_EQ(app.link.DemoMode, c.demo) << c.name;
        EXPECT_EQ(app.link.MonitorConnected, c.connected) << c.name;
        const MenuRow m = menus(app);
        EXPECT_EQ(m.update, c.menu.update) << c.name;
        EXPECT_EQ(m.online, c.menu.online) << c.name;
        EXPECT_EQ(m.offline, c.menu.offline) << c.name;
        EXPECT_EQ(m.demo, c.menu.demo) << c.name;
        EXPECT_EQ(m.run, c.menu.run) << c.name;
        EXPECT_EQ(app.connectView.btnInd, c.connectIndicator) << c.name;
    }
}

TEST(LinkStates, DemoEnablesEveryMenuItemAndOfflineTwiceIsOfflineOnce) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.GoDemoMode(); });
    for (bool on : h.app.mainView.menuEnabled) {
        EXPECT_TRUE(on);
    }
    EXPECT_EQ(h.app.commLogView.btnInd, kColourRed);

    h.act([&] { h.app.GoOffline(); });
    const MainView once = h.app.mainView;
    h.act([&] { h.app.GoOffline(); });
    EXPECT_EQ(h.app.mainView.caption, once.caption);
    EXPECT_EQ(h.app.mainView.menuEnabled, once.menuEnabled);
}

TEST(LinkStates, BootModeForgetsTheFirmwareVersionCodeAndOfflineTheVersionTexts) {
    AppHarness h;
    h.startSettled();
    h.act([&] {
        h.app.data.FirmwareVersionCode = 224;
        h.app.GoBootMode();
    });
    EXPECT_EQ(h.app.data.FirmwareVersionCode, 0);
    h.act([&] {
        h.app.data.FirmwareVersion = "V 2.24";
        h.app.data.RomVersion = "V 1.05";
        h.app.versionView.lblMonitorFirmwareVersionValue = "V 2.24";
        h.app.GoOffline();
    });
    EXPECT_EQ(h.app.data.FirmwareVersion, "");
    EXPECT_EQ(h.app.data.RomVersion, "");
    EXPECT_EQ(h.app.versionView.lblMonitorFirmwareVersionValue, "");
    EXPECT_TRUE(h.app.isLoaded(WindowId::frmVersion));
    EXPECT_FALSE(h.app.isVisible(WindowId::frmVersion));
}

TEST(LinkStates, CaptionWithoutTextNamesNoFile) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.SetMainCaption(""); });
    EXPECT_EQ(h.app.mainView.caption, std::string(kBase) + " -- (No File)");
    h.act([&] { h.app.SetMainCaption("unit7.mdv"); });
    EXPECT_EQ(h.app.mainView.caption, std::string(kBase) + " -- unit7.mdv");
}

TEST(LinkStates, OnlyAppModesZeroToTwoAreAccepted) {
    for (int mode : {0, 1, 2, 3, -1}) {
        AppHarness h;
        h.startSettled();
        h.dialogs.messages.clear();
        h.act([&] {
            h.app.link.AppMode = mode;
            h.app.GoOnline();
        });
        const bool bad = mode < 0 || mode > 2;
        ASSERT_EQ(h.dialogs.messages.size(), bad ? 1u : 0u) << mode;
        if (bad) {
            EXPECT_EQ(h.dialogs.messages[0].text, "Setting Appmode with bad value");
            EXPECT_EQ(h.dialogs.messages[0].title, "Orlix6");
        }
    }
}

} // namespace
} // namespace orlix
