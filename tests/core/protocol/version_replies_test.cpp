#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

using VersionReplies = ProtocolTest;

TEST(VersionCode, IsTheSinglePrecisionVersionTimes100PlusPoint4) {
    // 1.39, 1.05 and 2.10 lie just below their value in single precision;
    // the 0.4 lifts them back. A code that does not fit 16 bits is 0.
    const std::pair<std::string_view, int> cases[] = {
        {"1.39", 139}, {"1.05", 105}, {"2.10", 210},     {"1.15", 115},
        {"3", 300},    {"0.01", 1},   {"327.67", 32767}, {"327.68", 0},
        {"", 0},       {"beta", 0},   {".5", 0},         {"2.24 Rev 3", 224},
    };
    for (const auto& [text, code] : cases) {
        EXPECT_EQ(VersionCode(text), code) << text;
    }
}

TEST_F(VersionReplies, VersionTextsFollowTheVRules) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"EPROM V 1.05\r\n", "V 1.05"},
        {"V 1.05 \r\n#", "V 1.05"},
        {"V 2.24\r\nrev 3\r\n#", "V 2.24"}, // cut at the line end
        {"V 1.05!\r\n#", "unchanged"},
        {"v 1.05\r\n#", "unchanged"}, // no upper-case V
        {"V", "V "},
        {"V 1.0a\r\n#", "V 1.0"},
    };
    for (const auto& [body, romVersion] : cases) {
        data.RomVersion = "unchanged";
        reply(std::string("de\r\n") + std::string(body));
        EXPECT_EQ(data.RomVersion, romVersion) << body;
    }
}

TEST_F(VersionReplies, FirmwareVersionSetsTextLabelAndCodeWhenItStartsWithV) {
    reply("df", {"V 2.24"});
    for (std::string_view text :
         {"df\r\nX V 2.24\r\n#", "df\r\nV 2.24!\r\n#", "df\r\n#", "df\r\nv 2.24\r\n#"}) {
        reply(text);
    }
    EXPECT_EQ(data.FirmwareVersion, "V 2.24");
    EXPECT_EQ(data.FirmwareVersionCode, 224);
    EXPECT_EQ(events.firmwareLabels, std::vector<std::string>{"V 2.24"});
    EXPECT_EQ(shown("lblFlashVersion.Caption"), "V 2.24");
    reply("df\r\nV beta\r\n#"); // text kept, generation unknown
    EXPECT_EQ(data.FirmwareVersion, "V ");
    EXPECT_EQ(data.FirmwareVersionCode, 0);
}

TEST_F(VersionReplies, DataFileTextsTakeTheSameRoute) {
    reply("DF V 1.39");
    reply("DE V 1.01");
    EXPECT_EQ(data.FirmwareVersionCode, 139);
    EXPECT_EQ(data.RomVersion, "V 1.01");
    EXPECT_EQ(events.epromLabels, std::vector<std::string>{"V 1.01"});
}

TEST_F(VersionReplies, LimitsChangeOnlyWithALabelAndAPossibleNumber) {
    // The reply's data; the upper and lower limits after it, from 1 and 2.
    const std::tuple<std::string_view, int, int> cases[] = {
        {"Upper Limit = 250\r\nLower Limit = 180.9", 250, 180}, // rounded down
        {"Lower Limit = 170", 1, 170},                          // no label: kept
        {"?", 1, 2},                                            // an unknown command
        {"Upper Limit = x\r\nLower Limit = -40", 1, 2},         // no number, negative
        {"Upper Limit = 70000\r\nLower Limit =  0", 1, 0},      // too large for 16 bits
    };
    for (const auto& [lines, upper, lower] : cases) {
        data.HVUpperLimit = 1;
        data.HVLowerLimit = 2;
        reply("dh", {lines});
        EXPECT_EQ(data.HVUpperLimit, upper) << lines;
        EXPECT_EQ(data.HVLowerLimit, lower) << lines;
    }
}

TEST_F(VersionReplies, LimitsShowTheirValuesByGeneration) {
    data.AnalogRaw[4] = 7;
    withFirmware(150);
    reply("dh", {"Upper Limit = 25", "HV Control Value = 120, 35"});
    EXPECT_EQ(shown("HVUpperLimitTextBox.Text"), "025");
    EXPECT_EQ(shown("HVValTextBox.Text"), "007");
    EXPECT_FALSE(isShown("txtIAnodeLimit.Text"));

    withFirmware(250);
    reply("dh", {"HV Control Value = 120, 35", "Focus Control Value = 80"});
    EXPECT_EQ(shown("txtIAnodeLimit.Text"), "255"); // the default current limit
    EXPECT_EQ(shown("HScroll1(0).Value"), "120");   // before the limit to 63
    // Focus has no ", " after it, but the one after HV came before it: only
    // the ", " from the key on counts, so focus value 2 is 0.
    EXPECT_EQ(shown("Text2(1).Text"), "000");

    withFirmware(224);
    reply("dh", {"HV Control Value = 120, 35", "Focus H Control Value = 10"});
    EXPECT_EQ(shown("HScroll1(0).Value"), "63"); // set again, limited
    EXPECT_EQ(shown("Label4(0).Caption"), "035");
    EXPECT_EQ(shown("HScroll1(3).Value"), "10");

    withFirmware(200); // 200 itself shows nothing
    reply("dh", {"Upper Limit = 99"});
    EXPECT_EQ(shown("HVUpperLimitTextBox.Text"), "000");
}

} // namespace
} // namespace orlix::prototest
