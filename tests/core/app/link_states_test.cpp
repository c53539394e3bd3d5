// The four link states: flags, caption, Monitor menu and indicators.
#include "support/app_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::AppHarness;

constexpr const char* kBase = "Orlix6 Backlight Adjustment Tool V6.0.3";

// One letter per item that is on: Update, oNline, oFfline, Demo, Run; and
// the flags OnlineMode, BootMode, OfflineMode, DemoMode, MonitorConnected.
std::string menus(const App& app) {
    std::string on;
    const std::pair<MenuItem, char> items[] = {{MenuItem::mnuMonitorUpdate, 'U'},
                                               {MenuItem::mnuMonitorOnline, 'N'},
                                               {MenuItem::mnuMonitorOffline, 'F'},
                                               {MenuItem::mnuMonitorDemo, 'D'},
                                               {MenuItem::mnuMonitorRun, 'R'}};
    for (const auto& [item, letter] : items) {
        on += app.mainView.enabled(item) ? letter : '-';
    }
    return on;
}

std::string flags(const LinkFlags& l) {
    return {l.OnlineMode ? 'O' : '-', l.BootMode ? 'B' : '-', l.OfflineMode ? 'F' : '-',
            l.DemoMode ? 'D' : '-', l.MonitorConnected ? 'C' : '-'};
}

TEST(LinkStates, EachStateSetsFlagsCaptionMenusAndIndicators) {
    struct Case {
        void (App::*change)();
        const char* caption;
        const char* flags;
        const char* menus;
        std::uint32_t connectIndicator;
    };
    const Case cases[] = {
        {&App::GoOnline, " -- Backlight on Com3", "O---C", "U-FD-", kColourGreen},
        {&App::GoBootMode, " -- Backlight on Com3 -- BOOT MODE", "-B--C", "--FDR", kColourRed},
        {&App::GoOffline, " -- No Backlight", "--F--", "-N-D-", kColourRed},
        {&App::GoDemoMode, " -- No monitor - Offline Demo Mode", "---D-", "UNFDR", kColourRed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        AppHarness h;
        h.startSettled();
        h.act([&] {
            h.app.link.CommPortNumber = 3;
            (h.app.*c.change)();
        });
        EXPECT_EQ(h.app.mainView.caption, std::string(kBase) + c.caption);
        EXPECT_EQ(flags(h.app.link), c.flags);
        EXPECT_EQ(menus(h.app), c.menus);
        EXPECT_EQ(h.app.connectView.btnInd, c.connectIndicator);
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
