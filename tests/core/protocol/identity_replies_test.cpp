#include "protocol_fixture.h"

#include <tuple>

namespace orlix::prototest {
namespace {

using IdentityReplies = ProtocolTest;

// Model, CRT part, part, serial and CRT serial number; "-" before each reply.
TEST_F(IdentityReplies, SelectorsChooseTheFieldAndValuesAreCutAtTheLineEnd) {
    using Fields = std::array<std::string, 5>;
    const std::pair<std::string_view, Fields> cases[] = {
        {"dms\r\nModel Number = XYZ-100\r\n#", {"XYZ-100", "-", "-", "-", "-"}},
        {"dmt\r\nModel Number = XYZ-100\r\n#", {"-", "XYZ-100", "-", "-", "-"}},
        {"dmu\r\nModel Number = PN-1\r\n#", {"-", "-", "PN-1", "-", "-"}},
        {"dms\nModel Number = LF-only\n#", {"LF-only", "-", "-", "-", "-"}},
        {"dss\r\nSerial Number = SN42\r\n#", {"-", "-", "-", "SN42", "-"}},
        {"dst\r\nSerial Number = CRT7\r\n#", {"-", "-", "-", "-", "CRT7"}},
        {"dm s Model Number = lower\r\n#", {"lower", "-", "-", "-", "-"}},
        // Anything before the prefix (noise): nothing is stored.
        {"dms\r\nxxModel Number = ABC\r\n#", {"-", "-", "-", "-", "-"}},
        {"dss\r\n\xfe~%&Serial Number = SN1\r\n#", {"-", "-", "-", "-", "-"}},
        {"dss\r\nModel Number = 1\r\n#", {"-", "-", "-", "-", "-"}}, // wrong prefix
        {"dmh\r\nModel Number = 1\r\n#", {"-", "-", "-", "-", "-"}}, // kept nowhere
        {"dst\r\nSerial Number = \r\n#", {"-", "-", "-", "-", ""}},
        // Fewer than two characters after the prefix: an empty value.
        {"dms\r\nModel Number = X", {"", "-", "-", "-", "-"}},
        {"dmu\r\nModel Number = ", {"-", "-", "", "-", "-"}},
    };
    for (const auto& [text, expected] : cases) {
        data.ModelNumber = data.CrtPartNumber = data.PartNumber = "-";
        data.SerialNumber = data.CrtSerialNumber = "-";
        reply(text);
        const Fields fields{data.ModelNumber, data.CrtPartNumber, data.PartNumber,
                            data.SerialNumber, data.CrtSerialNumber};
        EXPECT_EQ(fields, expected) << text;
    }
}

TEST_F(IdentityReplies, PanelStatusShowsStatesLimitsAndOptions) {
    withFirmware(220);
    reply("dp\r\n0,1 Photocell Enabled Photocell Disabled\r\nBC0,1\r\nLimits "
          "10,20.5,-3.5,70000\r\n#");
    EXPECT_EQ(shown("ckPhotocell.Value"), "0"); // both tested, Disabled last
    EXPECT_EQ(shown("VFailValue.Caption"), "Operating");
    EXPECT_EQ(shown("HFailValue.Caption"), "Not Operating");
    EXPECT_EQ(shown("lblLimits(1).Caption"), " 20");   // nearest, ties to even
    EXPECT_EQ(shown("lblLimit(3).Caption"), " 32767"); // the nearest 16-bit value
    EXPECT_EQ(shown("lblLimit(7).Caption"), " 32767"); // the last field repeats
    EXPECT_EQ(shown("txtHystC.Text"), " 32767");
}

// The option text starts past "BC" and the blank after it: in "BC 0,1" its
// first character is the "0" and its third the "1".
TEST_F(IdentityReplies, PanelStatusOptionsAreReadAfterTheBlankThatFollowsBC) {
    withFirmware(224);
    const std::tuple<std::string_view, std::string_view, std::string_view> cases[] = {
        {"BC 0,0", "Option4", "Option2"},
        {"BC 0,1", "Option4", "Option1"},
        {"BC 1,0", "Option3", "Option2"},
        {"BC 1,1", "Option3", "Option1"},
    };
    for (const auto& [line, first, second] : cases) {
        reply("dps\r\n0,0\r\n" + std::string(line) + "\r\n#");
        EXPECT_EQ(shown(std::string(first) + ".Value"), "True") << line;
        EXPECT_EQ(shown(std::string(second) + ".Value"), "True") << line;
    }
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
