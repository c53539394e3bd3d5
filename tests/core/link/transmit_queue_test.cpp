// The stop-and-wait queue on its own: what goes out, when, and what waits.
#include "core/link/transmit_queue.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orlix {
namespace {

struct Written {
    std::int64_t at;
    std::string line;
    bool operator==(const Written&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Written& w) {
    return os << "{" << w.at << ", \"" << w.line << "\"}";
}

class TransmitQueueTest : public ::testing::Test {
protected:
    TransmitQueueTest() {
        clock.setTickHandler([this](TimerId id) {
            if (id == TimerId::WritePause) {
                queue.onWritePause();
            } else if (id == TimerId::tmrKickXmitQueue && timers.isRunning(id)) {
                queue.tmrKickXmitQueue_Timer();
            }
        });
    }

    test::VirtualClock clock;
    EventGate gate;
    TimerControl timers{clock, gate};
    std::vector<Written> written;
    std::vector<std::pair<int, int>> beeps;
    std::vector<std::string> notices;
    bool portOpen = true;
    TransmitQueue queue{
        TransmitQueue::Deps{timers, gate,
                            [this](std::string_view line) {
                                if (!portOpen) {
                                    return false;
                                }
                                written.push_back({clock.nowMs(), std::string(line)});
                                return true;
                            },
                            [this](int hz, int ms) { beeps.emplace_back(hz, ms); },
                            [this](std::string_view text) { notices.emplace_back(text); }}};
};

TEST_F(TransmitQueueTest, WritesALineAfterThePauseAndHoldsTheNextUntilThePrompt) {
    queue.SendCommand("da\r\n");
    queue.SendCommand("db\r\n");
    EXPECT_TRUE(written.empty()) << "nothing goes out before the 100 ms pause";
    clock.advance(100);
    EXPECT_EQ(written, (std::vector<Written>{{100, "da\r\n"}}));
    EXPECT_EQ(queue.XmitQueue(), "db\r\n");

    clock.advance(500);
    EXPECT_EQ(written.size(), 1u) << "one line outstanding at a time";

    queue.onPrompt();
    clock.advance(100);
    EXPECT_EQ(written.back(), (Written{700, "db\r\n"}));
    EXPECT_TRUE(queue.XmitQueue().empty());
    EXPECT_TRUE(queue.AwaitingPrompt());
}

TEST_F(TransmitQueueTest, TextIsQueuedAsGiven) {
    struct Case {
        const char* text;
        std::vector<std::string> lines; // as written, one per prompt
    };
    const std::vector<Case> cases = {
        {"x", {"x\n"}},
        {"a\r\nb\r\n", {"a\r\n", "b\r\n"}},
        {"a\nb", {"a\n", "b"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        TransmitQueueTest::written.clear();
        queue.ClearXmitQueue();
        queue.SendCommand(c.text);
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < 4; ++i) {
            clock.advance(100);
            queue.onPrompt();
        }
        for (const auto& w : written) {
            lines.push_back(w.line);
        }
        EXPECT_EQ(lines, c.lines) << "text: " << c.text;
    }
}

TEST_F(TransmitQueueTest, RejectWritesTheSameLineAgainAndThePromptMovesOn) {
    queue.SendCommand("bf3\r\n");
    queue.SendCommand("next\r\n");
    clock.advance(100);
    queue.onReject();
    EXPECT_TRUE(queue.ResendPending());
    clock.advance(100);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1], (Written{200, "bf3\r\n"}));

    queue.onPrompt();
    EXPECT_FALSE(queue.ResendPending());
    clock.advance(100);
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[2].line, "next\r\n") << "the prompt after a resend sends the next line";
}

TEST_F(TransmitQueueTest, RejectWithAnEmptyQueueRetriesAfterOneSecondOnlyWhenLinesWait) {
    queue.SendCommand("p\r\n");
    clock.advance(100);
    queue.onReject();
    clock.advance(100);
    EXPECT_EQ(written.size(), 2u);
    // The write re-arms the kick with 2000 ms, then the reject's 1000 ms
    // follows, as it would after a blocking pause.
    EXPECT_EQ(clock.dueAt(TimerId::tmrKickXmitQueue), 1200);
    clock.advance(5000);
    EXPECT_EQ(written.size(), 2u) << "a tick with an empty queue writes nothing";
    EXPECT_FALSE(timers.isRunning(TimerId::tmrKickXmitQueue));
}

TEST_F(TransmitQueueTest, KickTickResendsWhileAResendIsPendingAndLinesWait) {
    queue.SendCommand("a\r\n");
    queue.SendCommand("b\r\n");
    clock.advance(100);
    queue.onReject(); // resend of a at 200
    clock.advance(100);
    clock.advance(2000); // kick tick at 2200: resend pending, b waits -> a again
    clock.advance(100);
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[2], (Written{2300, "a\r\n"}));
}

TEST_F(TransmitQueueTest, ClearXmitQueueBeepsDropsEverythingAndTheResend) {
    queue.SendCommand("g\r\n");
    queue.SendCommand("da\r\n");
    clock.advance(100);
    queue.onReject();
    clock.advance(100);
    queue.ClearXmitQueue();
    EXPECT_EQ(beeps, (std::vector<std::pair<int, int>>{{250, 250}}));
    EXPECT_TRUE(queue.XmitQueue().empty());
    EXPECT_FALSE(queue.AwaitingPrompt());

    queue.SendCommand("p\r\n");
    clock.advance(100);
    EXPECT_EQ(written.back().line, "p\r\n") << "a stale resend must not replace the new ping";
}

TEST_F(TransmitQueueTest, ClearXmitQueueWhileIdleDoesNotBeep) {
    queue.ClearXmitQueue();
    EXPECT_TRUE(beeps.empty());
}

TEST_F(TransmitQueueTest, ClearByHandKeepsTheOutstandingLine) {
    queue.SendCommand("a\r\n");
    queue.SendCommand("b\r\n");
    clock.advance(100);
    queue.clearQueuedLines();
    EXPECT_TRUE(queue.XmitQueue().empty());
    EXPECT_TRUE(queue.AwaitingPrompt());
    queue.SendCommand("c\r\n");
    clock.advance(500);
    EXPECT_EQ(written.size(), 1u) << "still waiting for the prompt of a";
    queue.onPrompt();
    clock.advance(100);
    EXPECT_EQ(written.back().line, "c\r\n");
}

TEST_F(TransmitQueueTest, AFailedWriteDoesNotBlockTheQueue) {
    portOpen = false;
    queue.SendCommand("a\r\n");
    queue.SendCommand("b\r\n");
    clock.advance(100);
    EXPECT_FALSE(queue.AwaitingPrompt());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("a<CR><LF>"), std::string::npos);

    portOpen = true;
    clock.advance(2000); // the kick tick tries the next line
    clock.advance(100);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].line, "b\r\n");
}

TEST_F(TransmitQueueTest, TheQueueIsCappedAndSaysSoOnce) {
    queue.SendCommand("first\r\n"); // outstanding
    for (std::size_t i = 0; i < TransmitQueue::kMaxQueuedLines + 10; ++i) {
        queue.SendCommand("da\r\n");
    }
    EXPECT_EQ(queue.queuedLines(), TransmitQueue::kMaxQueuedLines);
    EXPECT_EQ(notices.size(), 1u);
}

} // namespace
} // namespace orlix
