// Replies shown from memory must show exactly what reading them again
// shows: two dispatchers, one remembering and one reading every reply
// afresh, take the same random streams of replies and state changes.
#include "core/protocol/reply_corpus.h"
#include "core/protocol/reply_protocol.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

namespace orlix {
namespace {

struct Dispatcher {
    explicit Dispatcher(bool memo) : protocol(data, link, events) {
        SetDefaultCountsAndNames(data);
        protocol.setDisplayMemoEnabled(memo);
    }
    MonitorData data;
    LinkFlags link;
    ProtocolEvents events;
    ReplyProtocol protocol;
};

// A corpus reply, or one with a digit changed, so that readings drift and
// the same reply also comes back after others changed what it depends on.
std::string pickReply(std::mt19937& rng) {
    std::uniform_int_distribution<std::size_t> which(0,
                                                     std::size(prototest::kRealisticReplies) - 1);
    std::string reply(prototest::kRealisticReplies[which(rng)]);
    if (rng() % 3 == 0) {
        std::uniform_int_distribution<std::size_t> at(0, reply.size() - 1);
        for (int tries = 0; tries < 8; ++tries) {
            char& c = reply[at(rng)];
            if (c >= '0' && c <= '9') {
                c = static_cast<char>('0' + rng() % 10);
                break;
            }
        }
    }
    return reply;
}

// Every digit moved on by one: the same reply with other values.
std::string otherValues(std::string_view reply) {
    std::string other(reply);
    for (char& c : other) {
        if (c >= '0' && c <= '9') {
            c = static_cast<char>('0' + (c - '0' + 1) % 10);
        }
    }
    return other;
}

// Each reply, shown, then shown with other values, then the state changes
// and the first reply comes again: it must show what a fresh reading shows.
TEST(DisplayMemo, AReplyThatComesAgainAfterAStateChangeIsReadAgain) {
    struct Change {
        const char* name;
        void (*apply)(MonitorData&);
    };
    const Change changes[] = {
        {"no scan set", [](MonitorData& d) { d.CurrentScanSet = 7; }},
        {"scan set 3", [](MonitorData& d) { d.CurrentScanSet = 3; }},
        {"L count", [](MonitorData& d) { d.L.count = 3; }},
        {"B count", [](MonitorData& d) { d.B.count = 5; }},
        {"H count", [](MonitorData& d) { d.H.count = 2; }},
        {"V count", [](MonitorData& d) { d.V.count = 9; }},
        {"firmware 2.24", [](MonitorData& d) { d.FirmwareVersionCode = 224; }},
        {"firmware 2.50", [](MonitorData& d) { d.FirmwareVersionCode = 250; }},
        {"analog reading", [](MonitorData& d) { d.AnalogRaw[4] = 77; }},
    };
    for (const Change& change : changes) {
        for (std::string_view reply : prototest::kRealisticReplies) {
            Dispatcher remembering(true);
            Dispatcher reading(false);
            for (Dispatcher* d : {&remembering, &reading}) {
                for (std::string_view r : prototest::kRealisticReplies) {
                    d->protocol.ReplyDispatcher(r);
                }
                d->protocol.ReplyDispatcher(reply);
                d->protocol.ReplyDispatcher(otherValues(reply));
                change.apply(d->data);
                d->protocol.ReplyDispatcher(reply);
            }
            EXPECT_EQ(remembering.protocol.display().entries(),
                      reading.protocol.display().entries())
                << change.name << ": " << reply;
        }
    }
}

TEST(DisplayMemo, ShowsWhatReadingTheReplyAgainShows) {
    std::mt19937 rng(20261207);
    for (int stream = 0; stream < 60; ++stream) {
        Dispatcher remembering(true);
        Dispatcher reading(false);
        for (int step = 0; step < 400; ++step) {
            if (rng() % 8 == 0) {
                // What the handlers lay their texts out by changes between
                // two arrivals of the same reply.
                // Scan sets 7 and 8 do not exist.
                const auto scanSet = static_cast<std::int16_t>(rng() % 9);
                const auto group = static_cast<GroupId>(rng() % 4); // L, B, H, V
                const auto count = static_cast<std::int16_t>(1 + rng() % 9);
                for (Dispatcher* d : {&remembering, &reading}) {
                    d->data.CurrentScanSet = scanSet;
                    d->data.group(group).count = count;
                }
            }
            const std::string reply = pickReply(rng);
            remembering.protocol.ReplyDispatcher(reply);
            reading.protocol.ReplyDispatcher(reply);
            ASSERT_EQ(remembering.protocol.display().entries(),
                      reading.protocol.display().entries())
                << "stream " << stream << ", step " << step << ": " << reply;
            ASSERT_EQ(remembering.protocol.display().changeCount(),
                      reading.protocol.display().changeCount())
                << "stream " << stream << ", step " << step << ": " << reply;
        }
    }
}

} // namespace
} // namespace orlix
