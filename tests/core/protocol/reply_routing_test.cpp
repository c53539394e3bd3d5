#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

using ReplyRouting = ProtocolTest;

TEST_F(ReplyRouting, RoutesAnEchoLetterByLetterToItsHandler) {
    data.V.count = 2;
    reply("ddfv\r\n12,34\r\n#");
    EXPECT_EQ(data.V.FValue[0][0], 12);
    EXPECT_EQ(data.V.FValue[0][1], 34);
}

TEST_F(ReplyRouting, IgnoresWhiteSpaceBeforeEveryRoutingLetter) {
    data.V.count = 2;
    reply(" d d\tf\r\nv\r\n12,34\r\n#");
    EXPECT_EQ(data.V.FValue[0][0], 12);
    EXPECT_EQ(data.V.FValue[0][1], 34);
}

TEST_F(ReplyRouting, DropsEmptyUnknownAndIgnoredRepliesSilently) {
    const std::string before = Snapshot(data);
    for (std::string_view text : {"", "   \r\n", "#", "$", "c\r\nanything\r\n#", "e\r\n1,2\r\n#",
                                  "w\r\n1\r\n#", "dq\r\n1\r\n#", "dda\r\n1,2\r\n#", "ddk\r\n1\r\n#",
                                  "ddfn\r\n1\r\n#", "ddpx\r\n1\r\n#", "d", "dd", "ddf", "z"}) {
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
    reply("dy", {"control=1;level=3;"});
    reply("dy", {"control=0;"});
    reply("dy", {"level=3;"});
    reply("dy", {"control=1$;"}); // a "$" inside a value is dropped
    reply("dy", {"control=12;"});
    EXPECT_EQ(events.controlModes, (std::vector<bool>{true, false, false, true, false}));
}

TEST_F(ReplyRouting, PicksTheAnalogLayoutByFirmwareVersionCode) {
    // Generation 1 raises slot 3 to 18; generation 2 keeps it as read;
    // generation 3 keeps nothing but shows lblACH7.
    enum Layout { None, First, Second, Third };
    const std::pair<std::int16_t, Layout> cases[] = {
        {0, None},     {99, None},    {100, First},  {150, First}, {199, First},
        {200, Second}, {250, Second}, {298, Second}, {299, None},  {300, Third},
        {398, Third},  {399, None},   {-150, None},
    };
    for (const auto& [code, layout] : cases) {
        MonitorData fresh;
        data = fresh;
        data.AnalogRaw.fill(-7);
        withFirmware(code);
        ReplyProtocol p(data, link, events);
        p.ReplyDispatcher(Reply("da", {"10,10,10,10,10,10,10,10,10,10,10,10"}));
        const bool shown3 = p.display().contains("lblACH7.Caption");
        switch (layout) {
        case None:
            EXPECT_EQ(data.AnalogRaw[0], -7) << code;
            EXPECT_FALSE(shown3) << code;
            break;
        case First:
            EXPECT_EQ(data.AnalogRaw[3], 18) << code;
            EXPECT_EQ(data.AnalogRaw[6], 10) << code;
            break;
        case Second:
            EXPECT_EQ(data.AnalogRaw[3], 10) << code;
            EXPECT_EQ(data.AnalogRaw[4], -7) << code;
            break;
        case Third:
            EXPECT_EQ(data.AnalogRaw[0], -7) << code;
            EXPECT_TRUE(shown3) << code;
            break;
        }
    }
}

TEST_F(ReplyRouting, TellsListenersOnlyWhenTheDisplayChanged) {
    reply("ddb", {"200,15"});
    EXPECT_EQ(events.displayChanges, 1);
    reply("ddb", {"200,15"});
    EXPECT_EQ(events.displayChanges, 1);
    reply("ddb", {"201,15"});
    EXPECT_EQ(events.displayChanges, 2);
    reply("p\r\n#");
    EXPECT_EQ(events.displayChanges, 2);
}

} // namespace
} // namespace orlix::prototest
