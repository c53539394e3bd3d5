#include "protocol_fixture.h"
#include "reply_corpus.h"

namespace orlix::prototest {
namespace {

TEST(DisplayModel, CountsChangesAndKeepsKeysSorted) {
    DisplayModel model;
    model.set("b.Caption", "1");
    model.set("a.Caption", "2");
    EXPECT_EQ(model.changeCount(), 2u);
    model.set("a.Caption", "2");
    EXPECT_EQ(model.changeCount(), 2u);
    model.set("a.Caption", "3");
    EXPECT_EQ(model.changeCount(), 3u);
    EXPECT_EQ(model.entries().begin()->first, "a.Caption");
    EXPECT_EQ(model.text("missing"), "");
    model.clear();
    EXPECT_EQ(model.size(), 0u);
    EXPECT_EQ(model.changeCount(), 4u);
}

TEST(DisplayModel, SelectingAnOptionClearsTheOthersOfItsArray) {
    DisplayModel model;
    model.selectOption("Option1", 0);
    model.selectOption("Option10", 1);
    model.selectOption("Option1", 2);
    EXPECT_EQ(model.text("Option1(0).Value"), "False");
    EXPECT_EQ(model.text("Option1(2).Value"), "True");
    EXPECT_EQ(model.text("Option10(1).Value"), "True");
}

// Runs the corpus, twice over, through a protocol with the display on and
// one with it off; the monitor data and link flags must come out the same.
TEST(DisplayModel, ComputingItNeverChangesTheMonitorDataOrTheLink) {
    MonitorData shownData, plainData;
    SetDefaultCountsAndNames(shownData);
    SetDefaultCountsAndNames(plainData);
    LinkFlags shownLink, plainLink;
    RecordingEvents shownEvents, plainEvents;
    ReplyProtocol shown(shownData, shownLink, shownEvents);
    ReplyProtocol plain(plainData, plainLink, plainEvents);
    plain.setDisplayEnabled(false);

    for (int pass = 0; pass < 2; ++pass) {
        for (std::string_view text : kRealisticReplies) {
            shown.ReplyDispatcher(text);
            plain.ReplyDispatcher(text);
            ASSERT_EQ(Snapshot(shownData), Snapshot(plainData)) << text;
            ASSERT_EQ(Snapshot(shownLink), Snapshot(plainLink)) << text;
        }
    }
    EXPECT_GT(shown.display().size(), 200u);
    EXPECT_EQ(plain.display().size(), 0u);
    EXPECT_EQ(plainEvents.displayChanges, 0);
    EXPECT_EQ(shownEvents.controlModes, plainEvents.controlModes);
    EXPECT_EQ(shownEvents.firmwareLabels, plainEvents.firmwareLabels);
}

// The realistic corpus leaves the monitor data as a technician would read it.
TEST(DisplayModel, TheRealisticCorpusFillsTheMonitorData) {
    MonitorData data;
    SetDefaultCountsAndNames(data);
    LinkFlags link;
    RecordingEvents events;
    ReplyProtocol protocol(data, link, events);
    for (std::string_view text : kRealisticReplies) {
        protocol.ReplyDispatcher(text);
    }
    EXPECT_TRUE(link.MonitorConnected);
    EXPECT_EQ(data.FirmwareVersionCode, 310);
    EXPECT_EQ(data.ModelNumber, "XYZ-100");
    EXPECT_EQ(data.OperatingHours, "12:03:07:09");
    EXPECT_EQ(data.H.FValue[0][8], 6);
    EXPECT_EQ(data.ScanSetNames[3], "1280x1024 60Hz");
    EXPECT_EQ(events.controlModes, std::vector<bool>{true});
}

} // namespace
} // namespace orlix::prototest
