#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

using DeviceReplies = ProtocolTest;

TEST_F(DeviceReplies, ThePingAnswerSetsTheLinkFlags) {
    struct Case {
        std::string_view text;
        bool connectedBefore, bootBefore;
        bool connected, boot;
    };
    const Case cases[] = {
        {"p\r\n#", false, true, true, false},
        {"p\r\n$", false, false, true, true},
        {"p\r\nX\r\n$", true, true, false, true},  // only a leading $ counts
        {"p\r\nX\r\n#", false, true, true, false}, // # counts anywhere
        {"p\r\nI48 Device 0x48 OK\r\n", true, false, false, false},
        {"pi48\r\nDevice 0x48 OK\r\n#", false, true, false, true}, // device report
        {"p", true, false, false, false},
    };
    for (const auto& c : cases) {
        link.MonitorConnected = c.connectedBefore;
        link.MonitorInBootMode = c.bootBefore;
        reply(c.text);
        EXPECT_EQ(link.MonitorConnected, c.connected) << c.text;
        EXPECT_EQ(link.MonitorInBootMode, c.boot) << c.text;
    }
}

TEST_F(DeviceReplies, DeviceReportsColourTheirButtons) {
    reply("pi48\r\nDevice 0x48 OK\r\n#");
    reply("pi92\r\nDevice 0x92 NR OK\r\n#");
    reply("pi4c\r\nDevice 0x4D NC\r\n#");
    reply("piaa\r\nDevice 0xaa OK\r\n#"); // codes are matched exactly
    reply("pi\r\nNR Device \r\n#");       // no code: nothing
    EXPECT_EQ(shown("btnU513.BackColor"), "65280");
    EXPECT_EQ(shown("btnU119.BackColor"), "255");
    EXPECT_EQ(shown("btnU906.BackColor"), "255");
    EXPECT_EQ(shown("btnU109.BackColor"), "65535");
    EXPECT_FALSE(isShown("btnU103.BackColor"));
    EXPECT_EQ(protocol.display().size(), 4u);
}

TEST_F(DeviceReplies, HRepliesStoreTheirValuesWhenTheyFit) {
    reply("heh0x1F\r\n#");
    reply("hev-5\r\n#");
    EXPECT_EQ(data.ValueH, 31);
    EXPECT_EQ(data.ValueV, -5);
    reply("hmc\r\nMonitor Controls\r\n12,0x22,-3,017,65529\r\n#");
    EXPECT_EQ(data.ValueH, 12);
    EXPECT_EQ(data.ValueV, 34);
    EXPECT_EQ(data.ValueVR, -3);
    EXPECT_EQ(data.ValueHP, 15);
    EXPECT_EQ(data.ValueVP, 0); // 65529 does not fit: the previous value stays
    EXPECT_EQ(shown("txtVP.Text"), "65529");
    EXPECT_EQ(shown("txtVR.Text"), "-3");
    reply("heh40000\r\n#");
    EXPECT_EQ(data.ValueH, 12);
    const std::string before = Snapshot(data);
    reply("hma\r\n1\r\n#");
    reply("h");
    reply("he");
    EXPECT_EQ(Snapshot(data), before);
}

TEST_F(DeviceReplies, MRepliesSelectTheEnableStates) {
    reply("md1\r\n#");
    reply("mh0\r\n#");
    EXPECT_EQ(shown("optDeflEnable.Value"), "True");
    EXPECT_EQ(shown("optDeflDisable.Value"), "False");
    EXPECT_EQ(shown("optHVDisable.Value"), "True");
    reply("md0\r\n#");
    EXPECT_EQ(shown("optDeflEnable.Value"), "False");
}

TEST_F(DeviceReplies, RegisterReadsShowTheirValues) {
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
