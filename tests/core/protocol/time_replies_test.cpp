#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

using TimeReplies = ProtocolTest;

TEST_F(TimeReplies, OperatingTimeAddsBothPartsWithCarries) {
    struct Case {
        std::string_view first, second, cycles;
        std::string_view hours, cyclesText;
    };
    const Case cases[] = {
        {"1,23,59,50", "0,0,0,15", "42", "2:00:00:05", "42"},
        {"1,0,75,0", "0,0,0,0", "7", "1:01:15:00", "7"},
        {"12,3,7,9", "0,0,0,0", "70000", "12:03:07:09", "70000"}, // no cap on the count
        {"0,0,0,65529", "0,0,0,65529", "2147483648", "1:12:24:18", "2147483647"},
        {"5,1,2,3", "1000,2,3,4", "0", "1005:03:05:07", "0"},
    };
    for (const auto& c : cases) {
        reply("dt", {c.first, c.second, c.cycles});
        EXPECT_EQ(data.OperatingHours, c.hours) << c.first << " + " << c.second;
        EXPECT_EQ(data.OperatingCycles, c.cyclesText) << c.cycles;
    }
    EXPECT_EQ(shown("lblOperatingTimeValue.Caption"), "1005:03:05:07");
    EXPECT_EQ(shown("OperatingHoursTextBox.Text"), "3");
}

TEST_F(TimeReplies, AMissingNumberReadsMinusOneAndTheSamePlaceAgain) {
    reply("du", {"x", "", ""});
    EXPECT_EQ(data.OperatingHours, "-2:-02:-02:-02");
    EXPECT_EQ(data.OperatingCycles, "-1");
}

TEST_F(TimeReplies, ATimeTooLargeFor16BitsKeepsThePreviousText) {
    reply("dt", {"1,2,3,4", "0,0,0,0", "5"});
    reply("dt", {"30000,0,0,0", "30000,0,0,0", "6"});
    EXPECT_EQ(data.OperatingHours, "1:02:03:04");
    EXPECT_EQ(data.OperatingCycles, "6"); // the count is 32-bit and is still taken
}

TEST_F(TimeReplies, SyncFrequenciesFillTheHsyncFields) {
    struct Case {
        std::string_view body;
        std::string_view text;
        int whole, hundredths;
        std::string_view vertical;
    };
    const Case cases[] = {
        {"Vsync Frequency = 60.0\r\nHsync Frequency = 31.25\r\n#", "32", 32, 0, "60.00"},
        {"Vsync Frequency = 301\r\nHsync Frequency = 300\r\n#", "0", 0, 0, "0.00"},
        {"Vsync Frequency = 75\r\nHsync Frequency = 31.5\r\n#", "32.256", 32, 25, "75.00"},
        {"Hsync Frequency = 31.25\r\nmore\r\n#", "0", 0, 0, "0.00"}, // label on the first line
        {"nothing\r\n#", "0", 0, 0, "0.00"},
    };
    for (const auto& c : cases) {
        reply(std::string("dv\r\n") + std::string(c.body));
        EXPECT_EQ(data.HsyncFrequencyText, c.text) << c.body;
        EXPECT_EQ(data.HsyncFrequencyWhole, c.whole) << c.body;
        EXPECT_EQ(data.HsyncFrequencyHundredths, c.hundredths) << c.body;
        EXPECT_EQ(shown("VertFreqBox.Text"), c.vertical) << c.body;
    }
}

TEST_F(TimeReplies, ModelTypeSetsSixOptionPairsOnlyFor1To63) {
    reply("dw\r\nModel Type = 0x21\r\n#");
    EXPECT_EQ(shown("BIT_Enabled_opt.Value"), "True");
    EXPECT_EQ(shown("BIT_Disabled_opt.Value"), "False");
    EXPECT_EQ(shown("Terabit_Commands_Disabled_Opt.Value"), "True");
    EXPECT_EQ(shown("ColorOption.Value"), "True");
    EXPECT_EQ(shown("DACUpdatingDisabledOptionButton.Value"), "True");
    EXPECT_EQ(shown("UserBrightnessEnabledOption.Value"), "True");
    EXPECT_EQ(shown("UserContrastDisabledOption.Value"), "True");
    const auto count = protocol.display().changeCount();
    for (std::string_view text : {"dw\r\nModel Type = 0\r\n#", "dw\r\nModel Type = 64\r\n#",
                                  "dw\r\nModel Type = 65473\r\n#", "dw\r\nModel Type = x\r\n#"}) {
        reply(text);
    }
    EXPECT_EQ(protocol.display().changeCount(), count);
}

TEST_F(TimeReplies, CapabilityBitsComeFromTheFullValue) {
    const std::pair<std::string_view, std::vector<int>> cases[] = {
        {"Capability = 0x85", {1, 0, 1, 0, 0, 0, 0, 1}},
        {"Capability = 65281", {1, 0, 0, 0, 0, 0, 0, 0}}, // beyond 16-bit signed
        {"Capability = 017", {1, 1, 1, 1, 0, 0, 0, 0}},
        {"Capability = x", {1, 1, 1, 1, 1, 1, 1, 1}}, // no number reads -1
    };
    for (const auto& [text, flags] : cases) {
        reply(std::string("dx\r\n") + std::string(text) + "\r\n#");
        EXPECT_EQ(std::vector<int>(data.Capability.begin(), data.Capability.end()), flags) << text;
    }
    reply("dx\r\nno label\r\n#");
    EXPECT_EQ(data.Capability[0], 1);
}

TEST_F(TimeReplies, FrequencyAndTypeRepliesLeaveTheOtherFieldsAlone) {
    reply("dt", {"1,2,3,4", "0,0,0,0", "5"});
    const std::string hours = data.OperatingHours;
    reply("dv\r\nVsync Frequency = 60.0\r\n#");
    reply("dw\r\nModel Type = 0x21\r\n#");
    reply("dx\r\nCapability = 0x85\r\n#");
    EXPECT_EQ(data.OperatingHours, hours);
    EXPECT_EQ(data.OperatingCycles, "5");
}

} // namespace
} // namespace orlix::prototest
