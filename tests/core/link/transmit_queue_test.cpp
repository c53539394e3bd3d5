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
            } else if (id == TimerId::ReplyTimeout && timers.isRunning(id)) {
                queue.replyTimeout_Timer();
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
    // What the owner of a line ("rec" lines here) decides; others get the defaults.
    std::vector<int> ownerSaw;
    int ownerLimit = 2;
    int ownerLost = 0;
    std::vector<std::string> lost;
    TransmitQueue queue{TransmitQueue::Deps{
        timers, gate,
        [this](std::string_view line) {
            if (!portOpen) {
                return false;
            }
            written.push_back({clock.nowMs(), std::string(line)});
            return true;
        },
        [this](int hz, int ms) { beeps.emplace_back(hz, ms); },
        [this](std::string_view text) { notices.emplace_back(text); },
        [this](std::string_view line) {
            LinePolicy policy;
            if (line.starts_with("rec")) {
                policy.replyTimeoutMs = 30000;
                policy.rejected = [this](int n) {
                    ownerSaw.push_back(n);
                    return n <= ownerLimit ? RejectVerdict::Resend : RejectVerdict::GiveUp;
                };
                policy.lost = [this] { ++ownerLost; };
            }
            return policy;
        },
        [this](std::string_view line) { lost.emplace_back(line); }, [this] { ++refuses; }}};
    int refuses = 0;

    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const auto& w : written) {
            out.push_back(w.line);
        }
        return out;
    }
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
        written.clear();
        queue.ClearXmitQueue();
        queue.SendCommand(c.text);
        for (std::size_t i = 0; i < 4; ++i) {
            clock.advance(100);
            queue.onPrompt();
        }
        EXPECT_EQ(lines(), c.lines) << "text: " << c.text;
    }
}

// A rejected line is written again after its pause, and again at each kick
// tick while lines wait behind it; its prompt moves on.
TEST_F(TransmitQueueTest, ARejectedLineIsWrittenAgainUntilItsPrompt) {
    queue.SendCommand("a\r\n");
    queue.SendCommand("b\r\n");
    clock.advance(100);
    queue.onReject();
    EXPECT_TRUE(queue.ResendPending());
    clock.advance(100 + 2000 + 100);
    EXPECT_EQ(written, (std::vector<Written>{{100, "a\r\n"}, {200, "a\r\n"}, {2300, "a\r\n"}}));

    queue.onPrompt();
    EXPECT_FALSE(queue.ResendPending());
    clock.advance(100);
    EXPECT_EQ(written.back().line, "b\r\n") << "the prompt after a resend sends the next line";
}

TEST_F(TransmitQueueTest, RejectWithAnEmptyQueueRetriesAfterOneSecondOnlyWhenLinesWait) {
    queue.SendCommand("p\r\n");
    clock.advance(100);
    queue.onReject();
    clock.advance(100);
    EXPECT_EQ(written.size(), 2u);
    // The write re-arms the kick (2000 ms), then the reject's 1000 ms follows.
    EXPECT_EQ(clock.dueAt(TimerId::tmrKickXmitQueue), 1200);
    clock.advance(2500);
    EXPECT_EQ(written.size(), 2u) << "a tick with an empty queue writes nothing";
    EXPECT_FALSE(timers.isRunning(TimerId::tmrKickXmitQueue));
}

TEST_F(TransmitQueueTest, ClearXmitQueueBeepsDropsEverythingAndTheResend) {
    queue.ClearXmitQueue();
    EXPECT_TRUE(beeps.empty()) << "idle: no beep";
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

TEST_F(TransmitQueueTest, ALineWithoutPromptIsWrittenOnceMoreThenGivenUpAndTheQueueGoesOn) {
    queue.SendCommand("da\r\n");
    queue.SendCommand("db\r\n");
    clock.advance(100 + 3000 + 100);
    EXPECT_EQ(written.back(), (Written{3200, "da\r\n"})) << "overdue: written once more";
    EXPECT_TRUE(notices.empty());
    clock.advance(3000);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("No answer to da"), std::string::npos) << notices[0];
    EXPECT_EQ(lost, (std::vector<std::string>{"da\r\n"}));
    EXPECT_EQ(queue.linesGivenUp(), 1u);
    clock.advance(100);
    EXPECT_EQ(written.back(), (Written{6300, "db\r\n"})) << "the queue goes on";
    queue.onPrompt();
    clock.advance(10000);
    EXPECT_EQ(written.size(), 3u) << "a prompt ends the wait for good";
    EXPECT_FALSE(queue.AwaitingPrompt());
}

TEST_F(TransmitQueueTest, AReplyThatStopsHalfWayGetsOneMoreReplyTimePerWrite) {
    queue.SendCommand("da\r\n");
    clock.advance(100 + 200);
    queue.onReplyText(); // the echo, then the unit goes quiet
    clock.advance(2800 + 2999 + 100);
    EXPECT_EQ(written.size(), 1u) << "not written again while the unit may still be quiet";
    clock.advance(1);
    EXPECT_EQ(written.back(), (Written{6200, "da\r\n"}));
    queue.onReplyText();
    clock.advance(3000);
    EXPECT_TRUE(lost.empty());
    clock.advance(3000);
    EXPECT_EQ(lost, (std::vector<std::string>{"da\r\n"})) << "once per write, not for ever";
}

TEST_F(TransmitQueueTest, APromptAfterTheSecondTryIsAnOrdinaryAnswer) {
    queue.SendCommand("da\r\n");
    clock.advance(3200);
    queue.onPrompt();
    clock.advance(10000);
    EXPECT_EQ(lines(), (std::vector<std::string>{"da\r\n", "da\r\n"}));
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(lost.empty());
}

TEST_F(TransmitQueueTest, AnAnswerItsOwnerMarksAsLateLeavesTheLineWaiting) {
    queue.SendCommand("rec 1\r\n");
    queue.SendCommand("rec 2\r\n");
    clock.advance(100);
    queue.onPrompt(); // rec 1 answered; rec 2 goes out
    clock.advance(100);
    queue.notItsAnswer(); // a second answer to rec 1
    queue.onPrompt();
    EXPECT_TRUE(queue.AwaitingPrompt());
    clock.advance(30000 + 100);
    EXPECT_EQ(lines(), (std::vector<std::string>{"rec 1\r\n", "rec 2\r\n", "rec 2\r\n"}))
        << "its own reply time still runs";
    queue.onPrompt();
    EXPECT_FALSE(queue.AwaitingPrompt());
    queue.notItsAnswer(); // with nothing outstanding it changes nothing
    queue.SendCommand("da\r\n");
    clock.advance(100);
    queue.onPrompt();
    EXPECT_FALSE(queue.AwaitingPrompt());
}

TEST_F(TransmitQueueTest, RejectionsInARowGiveTheLineUpWhileOwnedLinesFollowTheirOwner) {
    struct Case {
        const char* name;
        const char* line;
        int rejections;
        std::size_t writesOfTheLine; // before the next line goes out
        std::vector<int> ownerSaw;
        bool notice;
    };
    const std::vector<Case> cases = {
        {"four rejections are retried", "da", 4, 5, {}, false},
        {"the fifth gives the line up", "da", 5, 5, {}, true},
        {"an owner resends once per rejection", "rec1", 2, 3, {1, 2}, false},
        {"an owner gives up when it says so", "rec1", 3, 3, {1, 2, 3}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        written.clear();
        notices.clear();
        ownerSaw.clear();
        queue.ClearXmitQueue();
        const std::size_t givenUpBefore = queue.linesGivenUp();
        queue.SendCommand(std::string(c.line) + "\r\n");
        queue.SendCommand("next\r\n");
        clock.advance(100);
        for (int i = 0; i < c.rejections; ++i) {
            queue.onReject();
            clock.advance(100);
            if (!queue.ResendPending()) {
                // An owner's resend leaves none for the kick tick to repeat.
                clock.advance(2000);
            }
        }
        clock.advance(100);
        std::size_t ofTheLine = 0;
        for (const auto& w : written) {
            ofTheLine += w.line == std::string(c.line) + "\r\n" ? 1 : 0;
        }
        EXPECT_EQ(ofTheLine, c.writesOfTheLine);
        EXPECT_EQ(ownerSaw, c.ownerSaw);
        EXPECT_EQ(!notices.empty(), c.notice);
        const bool gaveUp = written.back().line == "next\r\n";
        EXPECT_EQ(gaveUp, c.notice || c.ownerSaw.size() > static_cast<std::size_t>(ownerLimit));
        EXPECT_EQ(queue.linesGivenUp() - givenUpBefore, gaveUp ? 1u : 0u);
    }
}

TEST_F(TransmitQueueTest, RefusedLinesAreToldOnceAndTwoInARowMeanTheUnitTakesNothing) {
    const auto refuseOne = [&](const char* line) {
        queue.SendCommand(line);
        clock.advance(100);
        for (int i = 0; i < TransmitQueue::kMaxRejections; ++i) {
            queue.onReject();
            clock.advance(100);
        }
    };
    refuseOne("da\r\n");
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(refuses, 0) << "one line may be the line's fault";
    refuseOne("db\r\n");
    refuseOne("dc\r\n");
    EXPECT_EQ(notices.size(), 1u) << "said once per run of refusals";
    EXPECT_EQ(refuses, 2);
    queue.SendCommand("dd\r\n");
    clock.advance(100);
    queue.onPrompt(); // a line gets through
    refuseOne("de\r\n");
    EXPECT_EQ(notices.size(), 2u);
    EXPECT_EQ(refuses, 2);
}

TEST_F(TransmitQueueTest, AnOwnedLineWaitsItsOwnReplyTime) {
    queue.SendCommand("rec-erase\r\n");
    clock.advance(100 + 29000);
    EXPECT_EQ(written.size(), 1u) << "a slow erase is not resent at 3 s";
    clock.advance(1000 + 100 + 30000);
    EXPECT_EQ(written.size(), 2u);
    EXPECT_EQ(ownerLost, 1) << "the owner hears of the loss";
    EXPECT_TRUE(lost.empty());
    EXPECT_EQ(queue.linesGivenUp(), 1u);
}

// A sender that has ended takes back its line, whether it waits in the
// queue or in its write pause; the rest goes on as before.
TEST_F(TransmitQueueTest, AWithdrawnLineIsNeverWrittenAndAnAbandonedOneNotGivenUp) {
    queue.SendCommand("a\r\n");
    queue.SendCommand("rec1\r\n");
    queue.SendCommand("b\r\n");
    EXPECT_TRUE(queue.withdraw("rec1\r\n"));
    EXPECT_FALSE(queue.withdraw("rec1\r\n"));
    EXPECT_EQ(queue.XmitQueue(), "b\r\n");
    clock.advance(100);
    queue.onPrompt(); // b's write pause begins
    EXPECT_TRUE(queue.withdraw("b\r\n"));
    queue.ClearXmitQueue(); // a reconnect in the pause does not bring it back
    clock.advance(100);
    EXPECT_EQ(lines(), (std::vector<std::string>{"a\r\n"}));
    EXPECT_FALSE(queue.AwaitingPrompt());
    queue.SendCommand("c\r\n");
    clock.advance(100);
    EXPECT_EQ(lines().back(), "c\r\n");
    // An outstanding line its sender abandons is dropped, not given up.
    queue.abandonOutstanding();
    EXPECT_FALSE(queue.AwaitingPrompt());
    EXPECT_EQ(queue.linesGivenUp(), 0u);
}

} // namespace
} // namespace orlix
