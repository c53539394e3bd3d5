// Reception: from the unit's characters to complete replies, echo calls
// and the queue step at each prompt.
#include "core/link/reply_assembler.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orlix {
namespace {

class ReplyAssemblerTest : public ::testing::Test {
protected:
    ReplyAssemblerTest() {
        clock.setTickHandler([this](TimerId id) {
            if (id == TimerId::WritePause) {
                queue.onWritePause();
            }
        });
    }

    std::size_t feed(std::string_view bytes) { return rx.receive(bytes); }

    test::VirtualClock clock;
    EventGate gate;
    TimerControl timers{clock, gate};
    LinkFlags link;
    std::vector<std::string> written, replies, notices;
    std::string echo;
    TransmitQueue queue{TransmitQueue::Deps{timers, gate,
                                            [this](std::string_view line) {
                                                written.emplace_back(line);
                                                return true;
                                            },
                                            [](int, int) {}, [](std::string_view) {}}};
    ReplyAssembler rx{ReplyAssembler::Deps{
        link, timers, queue, gate, [this](const std::string& r) { replies.push_back(r); },
        [this](char c) { echo += c; }, [this] { echo += "<EOL>"; },
        [this](std::string_view text) { notices.emplace_back(text); }}};
};

TEST_F(ReplyAssemblerTest, RepliesAreCutAtPromptsWithLineEndsAsCrLf) {
    struct Case {
        std::vector<std::string> chunks;
        std::vector<std::string> replies;
    };
    const std::vector<Case> cases = {
        {{"da\r\n12,34\r\n#"}, {"da\r\n12,34\r\n#"}},
        {{"#"}, {"#"}},
        {{"p\r\n$"}, {"p\r\n$"}},
        {{"a\r\n#\r\nb\r\n#"}, {"a\r\n#", "b\r\n#"}}, // two replies in one read
        {{"#b\r\n#"}, {"#", "b#"}},                   // the first CR after a prompt goes
        {{"d", "a\r", "\n1", "#"}, {"da\r\n1#"}},     // one reply over several reads
        {{"#\r\nx#"}, {"#", "x#"}},                   // CR LF after a prompt adds nothing
        {{"#\r\n\r\nx#"}, {"#", "\r\nx#"}},           // the second one does
        {{"a\nb#"}, {"ab#"}},                         // LF alone is dropped
        {{std::string("d\0a#", 4)}, {"da#"}},         // NUL is dropped
        {{"a\rb#"}, {"a\r\nb#"}},                     // a lone CR still ends a line
    };
    for (const auto& c : cases) {
        replies.clear();
        for (const auto& chunk : c.chunks) {
            feed(chunk);
        }
        EXPECT_EQ(replies, c.replies) << "first chunk: " << c.chunks.front();
        feed("\r"); // leave no state behind for the next case
        replies.clear();
    }
}

TEST_F(ReplyAssemblerTest, EchoShowsEveryCharacterAndEachCrAsALineEnd) {
    feed("#\r\nab\nc!\r");
    EXPECT_EQ(echo, "#<EOL>abc!<EOL>") << "a dropped CR is still a line end in the log";

    echo.clear();
    link.CommLogWindowEnabled = false;
    feed("xyz\r#");
    EXPECT_TRUE(echo.empty());
}

TEST_F(ReplyAssemblerTest, RejectDropsTheTextAndResendsOnlyWhenALineIsOutstanding) {
    feed("abc!");
    EXPECT_TRUE(replies.empty());
    EXPECT_TRUE(rx.RxBuffer().empty());
    clock.advance(200);
    EXPECT_TRUE(written.empty()) << "no line outstanding: nothing to resend";

    queue.SendCommand("ddfv\r\n");
    clock.advance(100);
    ASSERT_EQ(written.size(), 1u);
    feed("abc!");
    EXPECT_TRUE(replies.empty());
    clock.advance(100);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1], "ddfv\r\n");
    EXPECT_EQ(clock.dueAt(TimerId::tmrKickXmitQueue), 1400)
        << "queue empty at the reject: the next kick comes 1000 ms after the resend";
}

TEST_F(ReplyAssemblerTest, PromptsStopTheWatchdogAndReArmTheKeepAliveWhileConnected) {
    timers.start(TimerId::tmrConnect, 2000);
    feed("p\r\n#");
    EXPECT_FALSE(timers.isRunning(TimerId::tmrConnect));
    EXPECT_FALSE(timers.isRunning(TimerId::tmrKeepAlive)) << "not connected: no keep-alive";

    link.MonitorConnected = true;
    feed("p\r\n#");
    EXPECT_EQ(timers.interval(TimerId::tmrKeepAlive), 5000);
    feed("!");
    EXPECT_EQ(timers.interval(TimerId::tmrKeepAlive), 2000);
}

TEST_F(ReplyAssemblerTest, APromptThatStartsAWriteStopsTheWalkOfTheRead) {
    queue.SendCommand("a\r\n");
    queue.SendCommand("b\r\n");
    clock.advance(100);
    // The prompt for a lets b go; the rest of the read waits for b's write.
    const std::size_t taken = feed("a\r\n#b\r\n#");
    EXPECT_EQ(taken, 4u);
    EXPECT_EQ(replies, (std::vector<std::string>{"a\r\n#"}));
    EXPECT_TRUE(gate.holding());
}

TEST_F(ReplyAssemblerTest, ABabblingLineCannotGrowTheBufferWithoutBound) {
    const std::string noise(ReplyAssembler::kMaxReplyLength * 3, 'x');
    feed(noise);
    EXPECT_LE(rx.RxBuffer().size(), ReplyAssembler::kMaxReplyLength);
    EXPECT_EQ(notices.size(), 1u) << "said once, not for every overflow";
    feed("#\r\nda\r\n1#");
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies.back(), "da\r\n1#") << "traffic after the junk is unaffected";
}

} // namespace
} // namespace orlix
