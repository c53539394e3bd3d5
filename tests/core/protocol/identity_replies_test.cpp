#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

using IdentityReplies = ProtocolTest;

struct Identity {
    std::string model, crtPart, part, serial, crtSerial;
    bool operator==(const Identity&) const = default;
};

Identity identity(const MonitorData& d) {
    return {d.ModelNumber, d.CrtPartNumber, d.PartNumber, d.SerialNumber, d.CrtSerialNumber};
}

TEST_F(IdentityReplies, SelectorsChooseTheFieldAndValuesAreCutAtTheLineEnd) {
    struct Case {
        std::string_view text;
        Identity expected;
    };
    const Case cases[] = {
        {"dms\r\nModel Number = XYZ-100\r\n#", {"XYZ-100", "", "", "", ""}},
        {"dmt\r\nModel Number = XYZ-100\r\n#", {"", "XYZ-100", "", "", ""}},
        {"dmu\r\nModel Number = PN-1\r\n#", {"", "", "PN-1", "", ""}},
        {"dms\nModel Number = LF-only\n#", {"LF-only", "", "", "", ""}},
        {"dss\r\nSerial Number = SN42\r\n#", {"", "", "", "SN42", ""}},
        {"dst\r\nSerial Number = CRT7\r\n#", {"", "", "", "", "CRT7"}},
        {"dm s Model Number = lower\r\n#", {"lower", "", "", "", ""}},
        {"dms\r\nxxModel Number = ABC\r\n#", {"= ABC", "", "", "", ""}}, // cut by position
        {"dms\r\nSerial Number = 1\r\n#", {"", "", "", "", ""}},         // wrong prefix
        {"dss\r\nModel Number = 1\r\n#", {"", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        MonitorData fresh;
        data = fresh;
        reply(c.text);
        EXPECT_EQ(identity(data), c.expected) << c.text;
    }
}

TEST_F(IdentityReplies, AValueWithOnlyTheTrailerAfterThePrefixIsEmpty) {
    data.ModelNumber = "old";
    reply("dms\r\nModel Number = \r\n#");
    EXPECT_EQ(data.ModelNumber, "");
    data.ModelNumber = "old";
    reply("dms\r\nModel Number = ");
    EXPECT_EQ(data.ModelNumber, "");
    data.ModelNumber = "old";
    reply("dms\r\nModel Number = X");
    EXPECT_EQ(data.ModelNumber, "");
}

TEST_F(IdentityReplies, OtherSelectorsAndRepliesKeepEveryField) {
    data.ModelNumber = "M";
    data.SerialNumber = "S";
    const std::string before = Snapshot(data);
    for (char selector : std::string_view("CDFGHLPVX")) {
        reply(std::string("dm") + selector + "\r\nModel Number = Other\r\n#");
        reply(std::string("ds") + selector + "\r\nSerial Number = Other\r\n#");
    }
    reply("drs\r\nDuty Cycle = 50\r\n#");
    reply("dp\r\n0,1 Photocell Enabled Limits 1,2\r\n#");
    reply("dm");
    EXPECT_EQ(Snapshot(data), before);
}

TEST_F(IdentityReplies, PanelStatusShowsStatesLimitsAndOptions) {
    withFirmware(220);
    reply("dp\r\n0,1 Photocell Enabled Photocell Disabled\r\nBC0,1\r\nLimits "
          "10,20.5,-3.5,70000\r\n#");
    EXPECT_EQ(shown("ckPhotocell.Value"), "0"); // both tested, Disabled last
    EXPECT_EQ(shown("VFailValue.Caption"), "Operating");
    EXPECT_EQ(shown("HFailValue.Caption"), "Not Operating");
    EXPECT_EQ(shown("lblLimit(0).Caption"), " 10");
    EXPECT_EQ(shown("lblLimits(1).Caption"), " 20"); // nearest, ties to even
    EXPECT_EQ(shown("lblLimit(2).Caption"), "-4");
    EXPECT_EQ(shown("lblLimit(3).Caption"), " 32767"); // the nearest 16-bit value
    EXPECT_EQ(shown("lblLimit(7).Caption"), " 32767"); // the last field repeats
    EXPECT_EQ(shown("txtHystC.Text"), " 32767");
    EXPECT_EQ(shown("Option4.Value"), "True");
    EXPECT_EQ(shown("Option3.Value"), "False");
    EXPECT_EQ(shown("Option1.Value"), "True"); // third character "1"
    EXPECT_EQ(shown("Option2.Value"), "False");
}

TEST_F(IdentityReplies, PanelStatusReadsNoCharacterPastTheText) {
    withFirmware(250);
    reply("dp0");
    reply("dpBC");
    EXPECT_EQ(shown("VFailValue.Caption"), "Operating");
    EXPECT_FALSE(isShown("HFailValue.Caption"));
    EXPECT_EQ(shown("Option3.Value"), "True");
    EXPECT_EQ(shown("Option1.Value"), "True");
}

} // namespace
} // namespace orlix::prototest
