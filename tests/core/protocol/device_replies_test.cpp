#include "protocol_fixture.h"

#include <tuple>

namespace orlix::prototest {
namespace {

using DeviceReplies = ProtocolTest;

TEST_F(DeviceReplies, ThePingAnswerSetsTheLinkFlags) {
    // Reply; connected and boot mode before; connected and boot mode after.
    const std::tuple<std::string_view, bool, bool, bool, bool> cases[] = {
        {"p\r\n#", false, true, true, false},
        {"p\r\n$", false, false, true, true},
        {"p\r\nX\r\n$", false, false, true, true},                 // noise before the boot prompt
        {"p\r\nX\r\n#", false, true, true, false},                 // # counts anywhere
        {"pi48\r\nDevice 0x48 OK\r\n#", false, true, false, true}, // device report
        {"p", true, false, false, false},
    };
    for (const auto& [text, connectedBefore, bootBefore, connected, boot] : cases) {
        link.MonitorConnected = connectedBefore;
        link.MonitorInBootMode = bootBefore;
        reply(text);
        EXPECT_EQ(link.MonitorConnected, connected) << text;
        EXPECT_EQ(link.MonitorInBootMode, boot) << text;
    }
}

TEST_F(DeviceReplies, DeviceReportsColourTheirButtons) {
    reply("pi92\r\nDevice 0x92 NR OK\r\n#");
    reply("pi4c\r\nDevice 0x4D NC\r\n#");
    reply("piaa\r\nDevice 0xaa OK\r\n#"); // codes are matched exactly
    reply("pi\r\nNR Device \r\n#");       // no code: nothing
    EXPECT_EQ(shown("btnU119.BackColor"), "255");
    EXPECT_EQ(shown("btnU906.BackColor"), "255");
    EXPECT_EQ(shown("btnU109.BackColor"), "65535");
    EXPECT_EQ(protocol.display().size(), 3u);
}

TEST_F(DeviceReplies, HRepliesStoreTheirValuesWhenTheyFit) {
    reply("hev-5\r\n#");
    EXPECT_EQ(data.ValueV, -5);
    reply("hmc\r\nMonitor Controls\r\n12,0x22,-3,017,65529\r\n#");
    const std::vector<int> values{data.ValueH, data.ValueV, data.ValueVR, data.ValueHP,
                                  data.ValueVP};
    EXPECT_EQ(values, (std::vector<int>{12, 34, -3, 15, 0})); // 65529 does not fit
    EXPECT_EQ(shown("txtVP.Text"), "65529");
    reply("heh40000\r\n#");
    EXPECT_EQ(data.ValueH, 12);
    const std::string before = Snapshot(data);
    reply("hma\r\n1\r\n#");
    reply("h");
    reply("he");
    EXPECT_EQ(Snapshot(data), before);
}

TEST_F(DeviceReplies, RegisterReadsShowTheirValuesAndReadNothingPastTheText) {
    reply("rb 0x1234\r\nB 0x1234 := 0x3f\r\n#");
    reply("rw 0x2000\r\nW 0x2000 := 0xbeefZ\r\n#");
    reply("rc 0x10\r\nC 0x10 := 'A'\r\n#");
    EXPECT_EQ(shown("DataByteBox.Text"), "0x3F");
    EXPECT_EQ(shown("DataWordBox.Text"), "0xBEEF");
    EXPECT_EQ(shown("txtDataChar.Text"), "A");
    reply("rcX");
    EXPECT_EQ(shown("txtDataChar.Text"), "c"); // no apostrophe: the first character
    reply("rc'");
    EXPECT_EQ(shown("txtDataChar.Text"), ""); // nothing after it
    reply("rb := 0x");
    EXPECT_EQ(shown("DataByteBox.Text"), "0x");
    reply("r");
}

} // namespace
} // namespace orlix::prototest
