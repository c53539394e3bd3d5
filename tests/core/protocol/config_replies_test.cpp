#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

using ConfigReplies = ProtocolTest;

TEST_F(ConfigReplies, AutoBootShowsNineRegisterValuesAndTheSetting) {
    reply("db", {"Reg 0 = 0x1A", "Reg 1 = 0x2B", "Reg 2 = 0x3C", "Reg 3 = 0x4D", "Reg 4 = 0x5E",
                 "Reg 5 = 0x6F", "Reg 6 = 0x70", "Reg 7 = 0x81", "Reg 8 = 0x92", "auto boot ON"});
    EXPECT_EQ(shown("lblValue(0).Caption"), "1A");
    EXPECT_EQ(shown("lblValue(8).Caption"), "92");
    EXPECT_EQ(shown("lblAutoBoot.Caption"), "ON");
}

TEST_F(ConfigReplies, AutoBootReadsNothingPastTheText) {
    reply("db\r\nReg 0 = 0x5");
    EXPECT_EQ(shown("lblValue(0).Caption"), "5");
    EXPECT_FALSE(isShown("lblValue(1).Caption")); // a line without the marker ends them
    reply("db\r\nReg 0 = 0x\r\nauto boot ");
    EXPECT_EQ(shown("lblValue(0).Caption"), "\r\n");
    EXPECT_EQ(shown("lblAutoBoot.Caption"), "");
}

TEST_F(ConfigReplies, ConfigurationShowsNumberAndName) {
    reply("dc", {"Config Number =", "Config Name = " + std::string(80, 'n')});
    EXPECT_EQ(shown("lblScanNumber.Caption"), "0");
    EXPECT_EQ(shown("lblScanName.Caption"), std::string(72, 'n'));
}

TEST_F(ConfigReplies, ParameterListFillsItsControls) {
    reply("dz", {"x_offset=0;plus_minus_x=12;divider_order=2;sig_line_type=255;"
                 "y_flip=0.5;y_offset=1;plus_minus_y=-4;"});
    EXPECT_EQ(shown("HS_x_offset.Value"), "-12");
    EXPECT_EQ(shown("lbl_y_offset.Caption"), "-4"); // y_offset 1: plus_minus_y as written
    EXPECT_EQ(shown("Text1(1).Text"), "");          // a missing key gives an empty value
    EXPECT_EQ(shown("Option1(2).Value"), "True");   // 255 selects index 2
    EXPECT_EQ(shown("Option4(0).Value"), "True");   // missing: number 0
    EXPECT_EQ(shown("ChkBox_yTurn.Value"), "0");

    reply("dz", {"divider_order=255;"});
    EXPECT_EQ(shown("Option2(1).Value"), "True");
    EXPECT_EQ(shown("Option2(2).Value"), "False"); // one option of the array at a time
    reply("dz", {"divider_order=-3;"});            // no such option: nothing changes
    EXPECT_EQ(shown("Option2(1).Value"), "True");
}

} // namespace
} // namespace orlix::prototest
