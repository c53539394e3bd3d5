#include "protocol_fixture.h"

#include <array>
#include <tuple>

namespace orlix::prototest {
namespace {

using TimeReplies = ProtocolTest;

TEST_F(TimeReplies, OperatingTimeAddsBothPartsWithCarries) {
    // Echo, the two times and the cycle count; the hours and cycles kept.
    const std::array<std::string_view, 6> cases[] = {
        {"dt", "1,23,59,50", "0,0,0,15", "42", "2:00:00:05", "42"},
        {"du", "1,0,75,0", "0,0,0,0", "70000", "1:01:15:00", "70000"}, // no cap on the count
        {"dt", "0,0,0,65529", "0,0,0,65529", "2147483648", "1:12:24:18", "2147483647"},
        {"dt", "5,1,2,3", "1000,2,3,4", "0", "1005:03:05:07", "0"},
        // Too large for 16 bits: the previous text stays; the count is taken.
        {"dt", "30000,0,0,0", "30000,0,0,0", "6", "1005:03:05:07", "6"},
        // Unreadable: a missing or negative field keeps both texts, a
        // missing count keeps the count.
        {"du", "x,1,2,3", "", "", "1005:03:05:07", "6"},
        {"dt", "1,2,3,4", "0,-1,0,0", "9", "1005:03:05:07", "6"},
        {"dt", "\xfe~%&1,2,3,4", "0,0,0,0", "9", "1005:03:05:07", "6"},
        {"dt", "1,2,3,4", "0,0,0,0", "?", "1:02:03:04", "6"},
    };
    for (const auto& [echo, first, second, cycles, hours, cyclesText] : cases) {
        reply(echo, {first, second, cycles});
        EXPECT_EQ(data.OperatingHours, hours) << first << " + " << second;
        EXPECT_EQ(data.OperatingCycles, cyclesText) << cycles;
    }
    EXPECT_EQ(shown("OperatingHoursTextBox.Text"), "2");
}

TEST_F(TimeReplies, SyncFrequenciesFillTheHsyncFields) {
    // Reply body; HsyncFrequencyText, Whole, Hundredths; the vertical box.
    const std::tuple<std::string_view, std::string_view, int, int, std::string_view> cases[] = {
        {"Vsync Frequency = 60.0\r\nHsync Frequency = 31.25\r\n#", "32", 32, 0, "60.00"},
        {"Vsync Frequency = 301\r\nHsync Frequency = 300\r\n#", "0", 0, 0, "0.00"},
        {"Vsync Frequency = 75\r\nHsync Frequency = 31.5\r\n#", "32.256", 32, 25, "75.00"},
        {"Hsync Frequency = 31.25\r\nmore\r\n#", "0", 0, 0, "0.00"}, // label on the first line
    };
    for (const auto& [body, text, whole, hundredths, vertical] : cases) {
        reply(std::string("dv\r\n") + std::string(body));
        EXPECT_EQ(data.HsyncFrequencyText, text) << body;
        EXPECT_EQ(data.HsyncFrequencyWhole, whole) << body;
        EXPECT_EQ(data.HsyncFrequencyHundredths, hundredths) << body;
        EXPECT_EQ(shown("VertFreqBox.Text"), vertical) << body;
    }
}

TEST_F(TimeReplies, ModelTypeSetsSixOptionPairsOnlyFor1To63) {
    reply("dw", {"Model Type = 0x21"});
    EXPECT_EQ(shown("BIT_Enabled_opt.Value"), "True");
    EXPECT_EQ(shown("UserContrastDisabledOption.Value"), "True");
    const auto count = protocol.display().changeCount();
    for (std::string_view value : {"0", "64", "65473", "x"}) {
        reply("dw", {std::string("Model Type = ") + std::string(value)});
    }
    EXPECT_EQ(protocol.display().changeCount(), count);
}

TEST_F(TimeReplies, CapabilityBitsComeFromTheFullValue) {
    const std::pair<std::string_view, std::vector<int>> cases[] = {
        {"0x85", {1, 0, 1, 0, 0, 0, 0, 1}},
        {"65281", {1, 0, 0, 0, 0, 0, 0, 0}}, // beyond 16-bit signed
        {"017", {1, 1, 1, 1, 0, 0, 0, 0}},
        {"x", {1, 1, 1, 1, 1, 1, 1, 1}}, // no number reads -1
    };
    for (const auto& [value, flags] : cases) {
        reply("dx", {std::string("Capability = ") + std::string(value)});
        EXPECT_EQ(std::vector<int>(data.Capability.begin(), data.Capability.end()), flags) << value;
    }
    reply("dx", {"no label"});
    EXPECT_EQ(data.Capability[0], 1);
}

} // namespace
} // namespace orlix::prototest
