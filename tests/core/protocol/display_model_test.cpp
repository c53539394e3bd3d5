#include "protocol_fixture.h"
#include "reply_corpus.h"

namespace orlix::prototest {
namespace {

TEST(DisplayModel, SelectingAnOptionClearsTheOthersOfItsArray) {
    DisplayModel model;
    model.selectOption("Option1", 0);
    model.selectOption("Option10", 1);
    model.selectOption("Option1", 2);
    EXPECT_EQ(model.text("Option1(0).Value"), "False");
    EXPECT_EQ(model.text("Option1(2).Value"), "True");
    EXPECT_EQ(model.text("Option10(1).Value"), "True");
}

using DisplayOnAndOff = ProtocolTest;

// Runs the corpus, twice over, through a protocol with the display on and
// one with it off; the monitor data and link flags must come out the same.
TEST_F(DisplayOnAndOff, ComputingTheDisplayNeverChangesTheMonitorDataOrTheLink) {
    MonitorData plainData = data;
    LinkFlags plainLink;
    RecordingEvents plainEvents;
    ReplyProtocol plain(plainData, plainLink, plainEvents);
    plain.setDisplayEnabled(false);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::string_view text : kRealisticReplies) {
            reply(text);
            plain.ReplyDispatcher(text);
            ASSERT_EQ(Snapshot(data), Snapshot(plainData)) << text;
            ASSERT_EQ(Snapshot(link), Snapshot(plainLink)) << text;
        }
    }
    // The corpus did reach the handlers.
    EXPECT_TRUE(plainLink.MonitorConnected);
    EXPECT_EQ(plainData.FirmwareVersionCode, 310);
    EXPECT_EQ(plainData.H.FValue[0][8], 6);
    EXPECT_GT(protocol.display().size(), 200u);
    EXPECT_EQ(plain.display().size(), 0u);
    EXPECT_EQ(plainEvents.displayChanges, 0);
    EXPECT_EQ(events.controlModes, plainEvents.controlModes);
    EXPECT_EQ(events.firmwareLabels, plainEvents.firmwareLabels);
}

} // namespace
} // namespace orlix::prototest
