// Replies shown from memory must show exactly what reading them again
// shows: two dispatchers, one remembering and one reading every reply
// afresh, take the same replies and state changes.
#include "core/protocol/reply_corpus.h"
#include "core/protocol/reply_protocol.h"

#include <gtest/gtest.h>

#include <iterator>
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
            EXPECT_EQ(remembering.protocol.display().changeCount(),
                      reading.protocol.display().changeCount())
                << change.name << ": " << reply;
        }
    }
}

} // namespace
} // namespace orlix
