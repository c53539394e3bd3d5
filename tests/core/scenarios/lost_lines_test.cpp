// Lines that get no prompt: a line lost in a glitch is sent once more and
// costs no reconnect; a unit that stays silent is judged lost, whether or
// not the keep-alive pings.
#include "support/sim_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::SimHarness;

void startWalk(SimHarness& h) {
    h.start();
    h.run(3000);
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); });
}

// Whether the link stayed Online through `ms` of the run, looked at every 10 ms.
bool stayedOnline(SimHarness& h, int ms) {
    for (int t = 0; t < ms; t += 10) {
        h.run(10);
        if (!h.app.link.OnlineMode) {
            return false;
        }
    }
    return true;
}

// A silence of 3 s starting anywhere in the first seconds of the walk, on a
// unit with real line timing: in the middle of the long first replies too,
// where the unit goes quiet half-way through its answer.
TEST(LostLines, AThreeSecondGlitchAnywhereInTheWalkCostsNoReconnect) {
    auto options = SimHarness::quickUnit();
    options.wireRate = true;
    for (int start = 0; start < 3000; start += 10) {
        SCOPED_TRACE("silence from " + std::to_string(start) + " ms into the walk");
        SimHarness h(options);
        startWalk(h);
        h.run(start);
        const std::size_t before = h.linesWritten().size();
        h.unit.setSilent(true);
        ASSERT_TRUE(stayedOnline(h, 3000));
        h.unit.setSilent(false);
        ASSERT_TRUE(stayedOnline(h, 12'000));
        EXPECT_EQ(h.app.commLogView.text.find("given up"), std::string::npos);
        EXPECT_GT(h.linesWritten().size() - before, 10u) << "the walk goes on";
    }
}

TEST(LostLines, WithoutAutoReConnectASilentUnitIsToldAndNotLeftGreen) {
    SimHarness h;
    startWalk(h);
    h.run(10'000);
    h.act([&] { h.app.frmConnect.ckAutoReConnect_Click(false); });
    h.unit.setSilent(true);
    // The next walk line within a second, once more after 3 s, given up 3 s
    // after that.
    h.run(7200);
    const App& app = h.app;
    EXPECT_NE(app.commLogView.text.find("given up"), std::string::npos);
    EXPECT_NE(app.commLogView.text.find("does not answer"), std::string::npos);
    EXPECT_TRUE(app.link.OfflineMode);
    EXPECT_EQ(app.connectView.btnInd, kColourRed);
    EXPECT_EQ(app.commLogView.btnInd, kColourRed);
    EXPECT_TRUE(app.isVisible(WindowId::frmConnect));
    h.run(12'000); // the attempt's five tries
    EXPECT_TRUE(app.isVisible(WindowId::frmTimedOut)) << "the unit is not responding";
    EXPECT_EQ(app.connectView.lbl1.substr(0, 29), "Unable to connect to monitor.");
}

} // namespace
} // namespace orlix
