// The write pause holds every other event back and replays them in order
// after the write, so the tool acts as after a blocking pause while the
// windows keep painting.
#include "support/app_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::AppHarness;

TEST(EventGate, EventsDuringThePauseRunAfterTheWriteInArrivalOrder) {
    AppHarness h;
    h.start(); // the first ping waits for its write at 100
    std::vector<std::string> order;
    h.advance(40);
    h.receive("p\r\n#");                       // the ping's answer, early
    h.act([&] { order.push_back("action"); }); // a user action
    h.act([&] { h.app.SendCommand("da\r\n"); });
    EXPECT_TRUE(order.empty()) << "nothing runs during the pause";
    EXPECT_TRUE(h.port.writes().empty());
    EXPECT_EQ(h.app.gate.heldCount(), 3u);

    h.advance(60); // t = 100: the ping goes out, then the held events run
    EXPECT_EQ(order, (std::vector<std::string>{"action"}));
    ASSERT_EQ(h.port.writes().size(), 1u);
    EXPECT_EQ(h.port.writes()[0].bytes, "p\r\n");
    EXPECT_TRUE(h.app.link.MonitorConnected) << "the early answer was handled after the write";

    h.advance(100);
    ASSERT_EQ(h.port.writes().size(), 2u);
    EXPECT_EQ(h.port.writes()[1].at, 200);
    EXPECT_EQ(h.port.writes()[1].bytes, "da\r\n");
}

TEST(EventGate, TheRestOfAReadWaitsForTheWriteThatItsPromptStarted) {
    AppHarness h;
    h.startSettled();
    h.act([&] {
        h.app.SendCommand("a\r\n");
        h.app.SendCommand("b\r\n");
    });
    h.receive("p\r\n#"); // the ping's prompt lets "a" go
    h.advance(100);
    ASSERT_EQ(h.port.writes().back().bytes, "a\r\n");
    // a's answer and b's answer in one read: b is written 100 ms after a's
    // prompt, and b's answer is only taken after that.
    h.receive("a\r\n#\r\nb\r\n#\r\n");
    EXPECT_EQ(h.port.writes().back().bytes, "a\r\n");
    h.advance(100);
    EXPECT_EQ(h.port.writes().back().bytes, "b\r\n");
    EXPECT_FALSE(h.app.xmit.AwaitingPrompt()) << "b's prompt, held back, was handled after b";
}

TEST(EventGate, ATimerStartedAfterAWriteCountsFromTheWrite) {
    AppHarness h;
    h.startSettled();
    h.receive("p\r\n#");
    h.act([&] {
        h.app.SendCommand("x\r\n");
        h.app.timers.start(TimerId::tmrKeepAlive, 1000);
    });
    EXPECT_FALSE(h.clock.dueAt(TimerId::tmrKeepAlive).has_value());
    h.advance(100);
    EXPECT_EQ(h.clock.dueAt(TimerId::tmrKeepAlive), 1200);
}

TEST(EventGate, ATickOfATimerStoppedAfterTheWriteIsDropped) {
    AppHarness h;
    h.startSettled();
    h.receive("p\r\n#");
    h.act([&] { h.app.timers.start(TimerId::tmrConnect, 50); }); // would fire during the pause
    h.act([&] {
        h.app.SendCommand("x\r\n");
        h.app.timers.stop(TimerId::tmrConnect);
    });
    h.advance(200);
    // The watchdog's tick would take the link down if it ran.
    EXPECT_EQ(h.app.gate.heldCount(), 0u);
    EXPECT_TRUE(h.app.link.MonitorConnected);
    EXPECT_EQ(h.port.writes().back().bytes, "x\r\n");
}

TEST(EventGate, ViewsAreReportedOncePerEvent) {
    AppHarness h;
    h.startSettled();
    h.views.changes.clear();
    h.receive(std::string(500, 'z'));
    EXPECT_EQ(std::count(h.views.changes.begin(), h.views.changes.end(), WindowId::frmCommLog), 1);
}

} // namespace
} // namespace orlix
