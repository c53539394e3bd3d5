#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

using AnalogReplies = ProtocolTest;

std::vector<int> raw(const MonitorData& d) {
    return {d.AnalogRaw.begin(), d.AnalogRaw.end()};
}

TEST_F(AnalogReplies, FirstGenerationKeepsSevenReadingsWithTheCurrentFloor) {
    withFirmware(150);
    reply("da", {"200,100,50,10,128,200,250"});
    EXPECT_EQ(raw(data), (std::vector<int>{200, 100, 50, 18, 128, 200, 250}));
    EXPECT_EQ(shown("HFreqTextBox.Text"), "63.8");
    EXPECT_EQ(shown("VAnodeValue.Caption"), "07.5 kV");
    EXPECT_EQ(shown("LV175Value.Caption"), "209.0 V");
    reply("da", {"20,30"}); // a short reply repeats its last field
    EXPECT_EQ(raw(data), (std::vector<int>{20, 30, 30, 30, 30, 30, 30}));
}

TEST_F(AnalogReplies, ReadingsAreTheLow8BitsOfTheParsedNumberEvenWhenOversized) {
    withFirmware(150);
    const std::pair<std::string_view, int> cases[] = {
        {"300", 44}, {"x", 255}, {"-5", 251}, {"65529", 249}};
    for (const auto& [field, expected] : cases) {
        reply("da", {std::string("1,2,3,4,") + std::string(field) + ",6,7"});
        EXPECT_EQ(data.AnalogRaw[4], expected) << field;
    }
    withFirmware(250); // the same in generation 2, where the text uses the number as read
    reply("da", {"40000,1,2,3"});
    EXPECT_EQ(data.AnalogRaw[0], 64);
    EXPECT_EQ(shown("lblCPUP5Value.Caption"), "1254.90 V");
}

TEST_F(AnalogReplies, SecondGenerationKeepsFourLeadingFields) {
    withFirmware(250);
    data.AnalogRaw.fill(-7);
    reply("da", {"210,96,80,12", "Anode Current 40"});
    EXPECT_EQ(raw(data), (std::vector<int>{210, 96, 80, 12, -7, -7, -7}));

    reply("da", {"Anode Current 128"}); // a label first: every field reads -1
    EXPECT_EQ(raw(data), (std::vector<int>{255, 255, 255, 255, -7, -7, -7}));
    EXPECT_EQ(shown("lblCPUP5Value.Caption"), "-0.03 V"); // uses the number before masking
    EXPECT_EQ(shown("IAnodeValue.Caption"), "312 uA");
}

TEST_F(AnalogReplies, SecondGenerationShowsLabelledReadingsAnd224ScalesTheAnodeVoltage) {
    withFirmware(250);
    reply("da", {"210,96,80,12", "Anode Voltage 128", "-100V 30", "G1 230"});
    EXPECT_EQ(shown("VAnodeValue.Caption"), "11.57 kV");
    EXPECT_FALSE(isShown("HV_Val_Label.Caption")); // only 2.24 shows it
    EXPECT_EQ(shown("lblVoltage(7).Caption"), "-458V");
    EXPECT_EQ(shown("G1Label.Caption"), "-13 V");
    EXPECT_FALSE(isShown("FocusLabel.Caption")); // a label that does not occur

    withFirmware(224);
    reply("da", {"1,2,3,4", "Anode Voltage 128", "Focus Voltage 51"});
    EXPECT_EQ(shown("VAnodeValue.Caption"), "13.81 kV");
    EXPECT_EQ(shown("HV_Val_Label.Caption"), "13.81 kV");
    EXPECT_EQ(shown("FocusLabel.Caption"), "2.00 kV");
}

TEST_F(AnalogReplies, ThirdGenerationShowsTwelveReadings) {
    withFirmware(310);
    reply("da", {"10,20,30,40,50,60,70,80,90,100,110,120"});
    EXPECT_EQ(shown("P5VM.Caption"), "2.51 V");
    EXPECT_EQ(shown("lblVoltage(3).Caption"), "-1.97 V");
}

} // namespace
} // namespace orlix::prototest
