// The whole tool, with its real serial adapter and timers running five
// times faster, against orlix6-sim over a pseudo-terminal: it notices a
// silent unit and finds it again, and survives the line being hung up and
// plugged back in. Each wait ends as soon as what it waits for is seen.
#include "windows_support/tool_rig.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::waitFor;

TEST(ToolOverPty, LosesTheUnitAndFindsItAgain) {
    test::ToolRig rig({"--quiet", "--no-wire-rate"}, 5);
    rig.start();
    App& app = *rig.app;
    const auto online = [&](int ms) { return waitFor([&] { return app.link.OnlineMode; }, ms); };
    ASSERT_TRUE(online(5000)) << app.connectView.lbl1;
    EXPECT_EQ(app.mainView.caption, "Orlix6 Backlight Adjustment Tool V6.0.3 -- Backlight on Com1");

    // A silent unit: the next ping gets no prompt, the watchdog takes the
    // link down, and the attempt finds the unit when it speaks again.
    rig.sim.console("silent on");
    ASSERT_TRUE(waitFor([&] { return app.link.OfflineMode; }, 10000));
    EXPECT_TRUE(app.isVisible(WindowId::frmTrying));
    rig.sim.console("silent off");
    ASSERT_TRUE(online(6000));

    // Hung up: the port is lost (once the line in its write pause has gone
    // out); Auto ReConnect reopens it once the unit is plugged in again.
    rig.sim.console("hangup");
    ASSERT_TRUE(waitFor([&] { return !rig.port->isOpen(); }, 5000));
    EXPECT_TRUE(waitFor([&] { return app.link.OfflineMode; }, 1000))
        << "holding " << app.gate.holding() << " held " << app.gate.heldCount();
    EXPECT_NE(app.commLogView.text.find("Serial port lost"), std::string::npos);
    rig.sim.console("plug");
    ASSERT_TRUE(online(8000)) << app.connectView.lbl1;
    EXPECT_TRUE(rig.port->isOpen());
    EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.firstMessage();
}

} // namespace
} // namespace orlix
