// The backlight, bugeye, version and About windows against the simulated
// unit: what each sends, and what the unit's answers do to them.
#include "support/sim_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::SimHarness;

struct AdjustmentWindows : ::testing::Test {
    AdjustmentWindows() {
        h.start();
        h.run(3000); // online
        h.port.clearWrites();
    }
    void act(const std::function<void()>& action) {
        h.act(action);
        h.run(1000);
    }
    SimHarness h;
};

TEST_F(AdjustmentWindows, TheBacklightWindowAsksForTheControlModeAndFollowsTheAnswer) {
    act([&] { h.app.frmMain.mnuRGBbacklight_Click(); });
    // The unit starts in hardware control: "dy"'s answer chooses "Hardware".
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"dy", "TAH"}));
    EXPECT_EQ(h.app.rgbView.option, 0);
    EXPECT_FALSE(h.app.rgbView.slidersEnabled);
    EXPECT_FALSE(h.unit.softwareControl());

    act([&] { h.app.frmRGBlight.Option1_Click(1); });
    EXPECT_EQ(h.linesWritten().back(), "TAS");
    EXPECT_TRUE(h.app.rgbView.slidersEnabled);
    EXPECT_TRUE(h.unit.softwareControl());

    h.port.clearWrites();
    act([&] { h.app.frmRGBlight.HScroll_Change(100); });
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"TYW31B100", "TYW32B100", "TYW33B100"}));
    EXPECT_EQ(h.app.rgbView.lbl, "100");
    act([&] { h.app.frmRGBlight.HScroll_analog_Change(16383); });
    EXPECT_EQ(h.unit.analogBrightness(2), 16383);
    EXPECT_EQ(h.unit.digitalBrightness(0), 100);

    // Opening it again while it is open does not load it again.
    h.port.clearWrites();
    act([&] { h.app.frmMain.mnuRGBbacklight_Click(); });
    EXPECT_TRUE(h.linesWritten().empty());

    // A "dy" answer that repeats the chosen mode chooses it again.
    act([&] { h.app.SendCommand("dy\r\n"); });
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"dy", "TAS"}));

    // Its title-bar close unloads it: reopened, it asks again and starts afresh.
    h.app.windowClosed(WindowId::frmRGBlight);
    EXPECT_FALSE(h.app.isLoaded(WindowId::frmRGBlight));
    h.port.clearWrites();
    act([&] { h.app.frmMain.mnuRGBbacklight_Click(); });
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"dy", "TAS"}));
    EXPECT_EQ(h.app.rgbView.HScroll, 0);
    EXPECT_EQ(h.app.rgbView.lbl_analog, "0");
}

// Held arrow keys on a line at its real rate: the tool can write about
// three lines a second while the sliders move fifty times a second.
TEST(BacklightSliders, MovedFasterThanTheLineTheUnitEndsAtTheLastLevelsWithEqualChannels) {
    SimHarness h{sim::UnitOptions{}};
    h.start();
    h.run(3000);
    h.act([&] { h.app.frmMain.mnuRGBbacklight_Click(); });
    h.act([&] { h.app.frmRGBlight.Option1_Click(1); });
    h.run(2000);
    h.port.clearWrites();

    int digital = 0;
    int maximum = 0;
    for (int step = 1; step <= 500; ++step) {
        if (step % 3 == 0) {
            maximum = (step * 37) % 16384;
            h.act([&] { h.app.frmRGBlight.HScroll_analog_Change(maximum); });
        } else {
            digital = step * 5;
            h.act([&] { h.app.frmRGBlight.HScroll_Change(digital); });
        }
        h.run(20);
    }
    h.run(10000);

    for (int channel = 0; channel < 3; ++channel) {
        EXPECT_EQ(h.unit.digitalBrightness(channel), digital) << channel;
        EXPECT_EQ(h.unit.analogBrightness(channel), maximum) << channel;
    }
    // Every level went out as its three lines in a row.
    const auto lines = h.linesWritten();
    std::size_t levels = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].starts_with("TYW")) {
            continue;
        }
        ASSERT_LE(i + 3, lines.size());
        const std::string value = lines[i].substr(6);
        const std::string group = lines[i].substr(0, 4);
        EXPECT_EQ(lines[i], group + "1B" + value) << i;
        EXPECT_EQ(lines[i + 1], group + "2B" + value) << i;
        EXPECT_EQ(lines[i + 2], group + "3B" + value) << i;
        i += 2;
        ++levels;
    }
    EXPECT_GT(levels, 10u);
    EXPECT_EQ(h.app.commLogView.text.find("queue full"), std::string::npos);
}

TEST_F(AdjustmentWindows, TheBugeyeTestStopsPingsAndWritesRawBlocks) {
    act([&] { h.app.frmMain.mnuTestBugeyeMode_Click(); });
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"CB"}));
    EXPECT_FALSE(h.app.link.AutoPingEnabled);
    EXPECT_EQ(h.app.commLogView.btnDisableAutoping, "Enable AutoPing");
    EXPECT_TRUE(h.unit.bugeyeMode());

    h.port.clearWrites();
    act([&] { h.app.frmBugeyeMode.HScrollBugeye_Change(200); });
    ASSERT_EQ(h.port.writes().size(), 1u);
    EXPECT_EQ(h.port.writes()[0].bytes, std::string("\xC8\0", 2));
    EXPECT_EQ(h.unit.bugeyeBrightness(), 200);

    h.run(20000);
    EXPECT_EQ(h.port.writes().size(), 1u) << "no keep-alive ping during the test";

    h.app.bugeyeView.placement = Placement{10, 20, 3000, 1000, WindowState::Normal};
    h.app.windowClosed(WindowId::frmBugeyeMode);
    EXPECT_FALSE(h.app.isLoaded(WindowId::frmBugeyeMode));
    EXPECT_EQ(h.setting("Locations", "frmBugeyeModeLeft"), "20");
    EXPECT_FALSE(h.app.link.AutoPingEnabled) << "closing saves the placement only";

    // Loaded again, it starts where it started at the first load.
    act([&] { h.app.frmMain.mnuTestBugeyeMode_Click(); });
    EXPECT_EQ(h.app.bugeyeView.HScrollBugeye, 0);

    // Levels moved while the port is closed are lost, said once in the log.
    h.app.serial.close();
    for (const int level : {10, 20, 30}) {
        act([&] { h.app.frmBugeyeMode.HScrollBugeye_Change(level); });
    }
    const std::string& log = h.app.commLogView.text;
    const auto notice = log.find("Not sent, the port is not open: bugeye brightness 10");
    EXPECT_NE(notice, std::string::npos) << log;
    EXPECT_EQ(log.find("bugeye", log.find("\r\n", notice)), std::string::npos) << log;
}

TEST_F(AdjustmentWindows, TheVersionWindowAsksForBothVersionsEachTimeItComesToTheFront) {
    // Loaded when start-up went Offline: centred in the main window as placed then.
    act([&] { h.app.frmMain.mnuHelpVersion_Click(); });
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"de", "df"}));
    EXPECT_EQ(h.app.versionView.lblMonitorFirmwareVersionValue, "V 2.24");
    EXPECT_EQ(h.app.versionView.lblMonitorEpromVersionValue, "V 1.05");
    EXPECT_EQ(h.app.versionView.lblLumeqVersionValue, "V 6.0.3");
    EXPECT_EQ(h.app.versionView.placement,
              (Placement{(8100 - 2475) / 2.0, (14400 - 4320) / 2.0, 4320, 2475}));

    h.app.windowActivated(WindowId::frmCommLog);
    h.app.windowActivated(WindowId::frmVersion);
    h.run(1000);
    EXPECT_EQ(h.linesWritten().size(), 4u);
}

TEST(VersionWindow, AStoredMaximisedStateIgnoresThePosition) {
    test::AppHarness h;
    h.store.set("Configs", "VersionWindowState", "2");
    h.store.set("Configs", "VersionTop", "999");
    h.startSettled();
    EXPECT_EQ(h.app.versionView.placement.state, WindowState::Maximized);
    EXPECT_EQ(h.app.versionView.placement.top, 0);
    h.close();
    EXPECT_EQ(h.setting("Configs", "VersionWindowState"), "2");
}

TEST(AboutWindow, ShowsTheProgramAndSaysWhatIsNotAvailable) {
    test::AppHarness h;
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuHelpAbout_Click(); });
    EXPECT_EQ(h.app.aboutView.lblVersion, "Version 6.0.3");
    EXPECT_EQ(h.app.aboutView.lblDescription,
              "Orlix allows the initialization, calibration, usage reporting, and user "
              "adjustment of Norvique monitors.\r\n\r\nConnect the monitor to any serial port "
              "at 9600,N,8,1.");
    h.act([&] { h.app.frmAbout.cmdSysInfo_Click(); });
    h.act([&] { h.app.frmMain.mnuHelpTopics_Click(); });
    EXPECT_EQ(h.dialogs.messages.size(), 2u) << "the routes are the about tests'";
    h.act([&] { h.app.frmAbout.cmdOK_Click(); });
    EXPECT_FALSE(h.app.isLoaded(WindowId::frmAbout));
}

} // namespace
} // namespace orlix
