// The unit changes mode under the tool's feet: a reboot into the boot
// loader while Online, then its application started again. The prompt of
// every reply tells which one answers, and the tool follows it.
#include "support/sim_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::SimHarness;

constexpr const char* kBase = "Orlix6 Backlight Adjustment Tool V6.0.3 -- ";

std::size_t count(const std::vector<std::string>& lines, std::size_t from, std::string_view what) {
    return static_cast<std::size_t>(
        std::count(lines.begin() + static_cast<long>(from), lines.end(), what));
}

TEST(UnitMode, ARebootIntoTheBootLoaderMidWalkGivesBootModeAndStopsTheWalk) {
    SimHarness h;
    h.startWalk();
    h.run(SimHarness::kWalkPassMs);
    const MonitorData before = h.app.data;
    ASSERT_FALSE(before.OperatingHours.empty());

    h.unit.rebootIntoBootLoader(h.clock.nowMs());
    h.run(5000);
    const App& app = h.app;
    EXPECT_TRUE(app.link.BootMode);
    EXPECT_EQ(app.mainView.caption, std::string(kBase) + "Backlight on Com1 -- BOOT MODE");
    EXPECT_FALSE(app.mainView.enabled(MenuItem::mnuMonitorUpdate));
    EXPECT_TRUE(app.mainView.enabled(MenuItem::mnuMonitorRun));
    EXPECT_EQ(app.data.FirmwareVersionCode, 0);
    EXPECT_EQ(app.connectView.btnInd, kColourGreen) << "the boot loader does answer";
    EXPECT_NE(app.commLogView.text.find("boot loader"), std::string::npos);

    // From now on the walk sends nothing; the keep-alive's pings go on.
    const auto lines = h.linesWritten();
    const std::size_t from = lines.size();
    h.run(30'000);
    const auto later = h.linesWritten();
    EXPECT_EQ(later.size() - from, count(later, from, "p"));
    EXPECT_GT(count(later, from, "p"), 0u);
    EXPECT_TRUE(app.link.BootMode);

    // Nothing the boot loader said reached the monitor data.
    EXPECT_EQ(app.data.OperatingHours, before.OperatingHours);
    EXPECT_EQ(app.data.HVUpperLimit, before.HVUpperLimit);
    EXPECT_EQ(app.data.ModelNumber, before.ModelNumber);

    // Run from BOOT MODE: the application answers and the walk goes on.
    h.act([&] { h.app.frmMain.mnuMonitorRun_Click(); });
    h.run(5000);
    EXPECT_TRUE(app.link.OnlineMode);
    const auto resumed = h.linesWritten();
    EXPECT_GT(resumed.size() - later.size(), count(resumed, later.size(), "p") + 2)
        << "walk requests follow g and df";
}

} // namespace
} // namespace orlix
