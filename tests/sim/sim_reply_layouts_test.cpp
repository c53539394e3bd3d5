// The texts the simulated unit sends, checked against the layouts a real
// unit uses (not only against what the tool's parsers accept).
#include "unit_driver.h"

#include <gtest/gtest.h>

#include <ostream>

namespace orlix::sim {
namespace {

using testing::nameOf;
using testing::quickOptions;
using testing::UnitDriver;

struct LayoutCase {
    const char* firmware;
    const char* command;
    const char* expected; // everything the unit sends: echo, data, prompt
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << '"' << c.command << "\" at firmware " << c.firmware;
}

class SimReplyLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SimReplyLayout, IsEchoDataLinesAndOnePrompt) {
    const auto& c = GetParam();
    UnitDriver d(quickOptions(c.firmware));
    EXPECT_EQ(d.command(c.command), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SimReplyLayout,
    ::testing::Values(
        LayoutCase{"2.24", "p", "p\r\n#\r\n"}, LayoutCase{"2.24", "", "\r\n#\r\n"},
        LayoutCase{"1.39", "da", "da\r\n98,100,90,60,200,203,209\r\n#\r\n"},
        LayoutCase{"2.10", "da",
                   "da\r\n159,100,90,144\r\nVideo_+80V 243\r\nAnode Voltage 200\r\n"
                   "Anode Current 61\r\nFocus Voltage 153\r\nG2 Master 125\r\nRed G2 122\r\n"
                   "Green G2 120\r\nBlue G2 124\r\nG1 175\r\n-8V 125\r\n+90V 202\r\n+24V 204\r\n"
                   "+12V 205\r\n+6.3V 203\r\n+5V 204\r\n-12V 204\r\n-100V 204\r\n#\r\n"},
        LayoutCase{"3.05", "da", "da\r\n120,100,90,80,60,70,50,159,176,106,135,100\r\n#\r\n"},
        LayoutCase{"2.24", "DF", "DF\r\nV 2.24\r\n#\r\n"},
        LayoutCase{"1.39", "de", "de\r\nV 1.05\r\n#\r\n"},
        LayoutCase{"2.24", "dms", "dms\r\nModel Number = XYZ-100\r\n#\r\n"},
        LayoutCase{"2.24", "dmc", "dmc\r\nModel Number = N/A\r\n#\r\n"},
        LayoutCase{"2.24", "dst", "dst\r\nSerial Number = K7731590\r\n#\r\n"},
        LayoutCase{"2.24", "dh",
                   "dh\r\nCurrent Limit = 200\r\nUpper Limit = 230\r\nLower Limit = 180\r\n"
                   "HV Control Value = 120, 35\r\nFocus Control Value = 40, 20\r\n"
                   "Focus H Control Value = 12\r\nFocus V Control Value = 14\r\n"
                   "G2 Control Value = 100, 50\r\nVideo +80V Control Value = 128, 64\r\n#\r\n"},
        LayoutCase{"2.24", "drw", "drw\r\nDuty Cycle = 100\r\n#\r\n"},
        LayoutCase{"1.50", "dps",
                   "dps\r\n0,0\r\nPhotocell Enabled\r\nLimits 10,20,30,40,50,60,70,80\r\n#\r\n"},
        LayoutCase{"2.24", "dps",
                   "dps\r\n0,0\r\nPhotocell Enabled\r\nLimits 10,20,30,40,50,60,70,80,5,3\r\n"
                   "BC 0,1\r\n#\r\n"},
        LayoutCase{"3.00", "dps",
                   "dps\r\n0,0\r\nPhotocell Enabled\r\nLimits 10,20,30,40,50,60,70,80,5,3\r\n"
                   "#\r\n"},
        // Current values, then F and P sets; H carries Horiz S Cap last.
        LayoutCase{"2.24", "ddl", "ddl\r\n128,137,146,155,164,173,182,191\r\n#\r\n"},
        LayoutCase{"2.24", "ddfv", "ddfv\r\n67,90,113,136,159,182,205\r\n#\r\n"},
        LayoutCase{"2.24", "ddpb", "ddpb\r\n109,149\r\n#\r\n"},
        LayoutCase{"2.24", "ddh", "ddh\r\n110,131,152,173,6\r\n#\r\n"},
        LayoutCase{"2.24", "ddph", "ddph\r\n123,144,165,186,7\r\n#\r\n"},
        // The N group: values on the second line for stored sets; firmware
        // 2.24 uses the short layout with the reserved byte in the middle.
        LayoutCase{"2.10", "dds", "dds\r\n20,25,30\r\n#\r\n"},
        LayoutCase{"2.24", "dds", "dds\r\n20,255,25\r\n#\r\n"},
        LayoutCase{"2.10", "ddps", "ddps\r\nP Set\r\n33,38,43,48\r\n#\r\n"},
        LayoutCase{"2.24", "ddps", "ddps\r\nP Set\r\n33,255,38\r\n#\r\n"},
        LayoutCase{"2.10", "ddfs", "ddfs\r\nF Set\r\n27,255,32\r\n#\r\n"},
        LayoutCase{"2.10", "ddft", "ddft\r\nF Set\r\n27,32,37,42\r\n#\r\n"},
        LayoutCase{"2.24", "ddft", "ddft\r\nF Set\r\n37,42,47,52\r\n#\r\n"},
        LayoutCase{"2.24", "ddt", "ddt\r\n30,35,40,45\r\n#\r\n"},
        LayoutCase{"2.24", "ddn",
                   "ddn\r\n0,1,640x480 60Hz\r\n1,1,800x600 60Hz\r\n2,1,1024x768 60Hz\r\n"
                   "3,1,1280x1024 60Hz\r\n4,0,720x400 70Hz\r\n5,0,1600x1200 60Hz\r\n#\r\n"},
        // What the application firmware does not know.
        LayoutCase{"2.24", "xyz", "xyz\r\n?\r\n#\r\n"},
        LayoutCase{"2.24", "bf3", "bf3\r\n?\r\n#\r\n"},
        LayoutCase{"2.24", "TYW31B16384", "TYW31B16384\r\n?\r\n#\r\n"}),
    [](const auto& info) {
        return nameOf(info.param.command) + "_firmware" + nameOf(info.param.firmware);
    });

TEST(SimReplyLayouts, OperatingTimeIsStoredTimeThenThisPowerOnThenCycles) {
    UnitDriver d;
    d.now = ((24 + 1) * 60 + 1) * 60 * 1000 + 1999; // 1 d 1 h 1 min 1.999 s
    EXPECT_EQ(d.command("dt"), "dt\r\n523,7,42,18\r\n1,1,1,1\r\n1873\r\n#\r\n");
}

TEST(SimReplyLayouts, TheParameterListHasEveryPairEndedBySemicolon) {
    const auto dz = UnitDriver().command("dz");
    for (const char* pair : {"x_offset=1;", "hor_width=640;", "short_defined_ver_long=262;",
                             "filldots=255;", "lcd_test=0;"}) {
        EXPECT_NE(dz.find(pair), std::string::npos) << pair;
    }
    // A key that is the tail of a longer one comes before the longer one.
    EXPECT_LT(dz.find("hor_width="), dz.find("short_defined_hor_width="));
}

} // namespace
} // namespace orlix::sim
