#include "protocol_fixture.h"

#include <tuple>

namespace orlix::prototest {
namespace {

using ReplyRouting = ProtocolTest;

TEST_F(ReplyRouting, RoutesLetterByLetterIgnoringWhiteSpaceBeforeEachLetter) {
    data.V.count = 2;
    reply(" d d\tf\r\nv\r\n12,34\r\n#");
    EXPECT_EQ(data.V.FValue[0][0], 12);
    EXPECT_EQ(data.V.FValue[0][1], 34);
}

TEST_F(ReplyRouting, DropsEmptyUnknownAndIgnoredRepliesSilently) {
    const std::string before = Snapshot(data);
    for (std::string_view text :
         {"", "   \r\n", "#", "c\r\nanything\r\n#", "e\r\n1,2\r\n#", "w\r\n1\r\n#", "dq\r\n1\r\n#",
          "dda\r\n1,2\r\n#", "ddfn\r\n1\r\n#", "ddpx\r\n1\r\n#", "d", "dd", "ddf"}) {
        reply(text);
    }
    EXPECT_EQ(Snapshot(data), before);
    EXPECT_EQ(protocol.display().size(), 0u);
    EXPECT_EQ(events.displayChanges, 0);
    EXPECT_TRUE(events.records.empty() && events.addresses.empty() && events.bReplies.empty());
}

TEST_F(ReplyRouting, HandsDownloadRepliesOnWithoutTheirLetter) {
    reply(":10000000\r\nOK\r\n$");
    reply("a\r\nAddr = 0x1F2\r\n$");
    reply("A Addr = 0x10\r\n$");
    reply("bf3\r\nErased\r\n$");
    EXPECT_EQ(events.records, std::vector<std::string>{"10000000\r\nOK\r\n$"});
    EXPECT_EQ(events.addresses,
              (std::vector<std::string>{"Addr = 0x1F2\r\n$", "Addr = 0x10\r\n$"}));
    EXPECT_EQ(events.bReplies, std::vector<std::string>{"f3\r\nErased\r\n$"});
}

TEST_F(ReplyRouting, ReportsTheBacklightControlMode) {
    for (std::string_view line :
         {"control=1;level=3;", "control=0;", "level=3;", "control=1$;", "control=12;"}) {
        reply("dy", {line});
    }
    // A missing key reads as 0; a "$" inside a value is dropped.
    EXPECT_EQ(events.controlModes, (std::vector<bool>{true, false, false, true, false}));
}

TEST_F(ReplyRouting, PicksTheAnalogLayoutByFirmwareVersionCode) {
    // Generation 1 raises slot 3 to 18 and keeps seven; generation 2 keeps
    // four as read; generation 3 keeps nothing but shows lblACH7.
    const std::tuple<std::int16_t, int, int, bool> cases[] = {
        {0, -7, -7, false},   {99, -7, -7, false},  {100, 18, 10, false}, {150, 18, 10, false},
        {199, 18, 10, false}, {200, 10, -7, false}, {250, 10, -7, false}, {298, 10, -7, false},
        {299, -7, -7, false}, {300, -7, -7, true},  {398, -7, -7, true},  {399, -7, -7, false},
    };
    for (const auto& [code, raw3, raw4, third] : cases) {
        data.AnalogRaw.fill(-7);
        withFirmware(code);
        ReplyProtocol p(data, link, events);
        p.ReplyDispatcher(Reply("da", {"10,10,10,10,10,10,10,10,10,10,10,10"}));
        EXPECT_EQ(std::tuple(code, data.AnalogRaw[3], data.AnalogRaw[4],
                             p.display().contains("lblACH7.Caption")),
                  std::tuple(code, raw3, raw4, third));
    }
}

TEST_F(ReplyRouting, TellsListenersOnlyWhenTheDisplayChanged) {
    for (std::string_view line : {"200,15", "200,15", "201,15"}) {
        reply("ddb", {line});
    }
    reply("p\r\n#");
    EXPECT_EQ(events.displayChanges, 2);
}

} // namespace
} // namespace orlix::prototest
