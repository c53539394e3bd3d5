// Replies shaped as the unit sends them: echo, CR LF, data lines each ended
// by CR LF, and the prompt. Shared by the protocol tests and the benchmark.
#pragma once

#include <string_view>

namespace orlix::prototest {

// The firmware version reply that selects each layout comes first, so the
// corpus walks generations 1, 2 (2.24) and 3 in turn.
inline constexpr std::string_view kRealisticReplies[] = {
    "p\r\n#",
    "df\r\nV 1.39\r\n#",
    "da\r\n200,100,50,10,128,200,250\r\n#",
    "dh\r\nCurrent Limit = 200\r\nUpper Limit = 250\r\nLower Limit = 180\r\n#",
    "de\r\nEPROM V 1.05\r\n#",
    "df\r\nV 2.24\r\n#",
    "da\r\n210,96,80,12\r\nVideo_+80V 190\r\nAnode Voltage 128\r\nAnode Current 40\r\n"
    "Focus Voltage 150\r\nG2 Master 100\r\nRed G2 90\r\nGreen G2 91\r\nBlue G2 92\r\n"
    "G1 230\r\n-8V 20\r\n+90V 200\r\n+24V 160\r\n+12V 160\r\n+6.3V 160\r\n+5V 160\r\n"
    "-12V 40\r\n-100V 30\r\n#",
    "dh\r\nCurrent Limit = 200\r\nUpper Limit = 250\r\nLower Limit = 180\r\n"
    "HV Control Value = 120, 35\r\nFocus Control Value = 80, 20\r\n"
    "Focus H Control Value = 10\r\nFocus V Control Value = 12\r\n"
    "G2 Control Value = 90, 30\r\nVideo +80V Control Value = 70, 25\r\n#",
    "ddl\r\n128,120,100,101,102,30,31,32\r\n#",
    "ddpl\r\n127,121,98,99,100,28,29,30\r\n#",
    "ddb\r\n200,15\r\n#",
    "ddpb\r\n199,16\r\n#",
    "ddh\r\n140,128,90,127,7\r\n#",
    "ddfh\r\n141,127,91,126,6\r\n#",
    "ddv\r\n150,128,110,60,128,128,128\r\n#",
    "ddfv\r\n151,127,111,61,127,129,127\r\n#",
    "dds\r\n20,30,40\r\n#",
    "ddfs\r\nN values\r\n20,30,40,50\r\n#",
    "ddn\r\n0,1,640x480 60Hz\r\n1,1,800x600 60Hz\r\n2,1,1024x768 60Hz\r\n"
    "3,0,1280x1024 60Hz\r\n4,0,Spare 1\r\n5,0,Spare 2\r\n#",
    "db\r\nReg 0 = 0x1A\r\nReg 1 = 0x2B\r\nReg 2 = 0x3C\r\nReg 3 = 0x4D\r\n"
    "Reg 4 = 0x5E\r\nReg 5 = 0x6F\r\nReg 6 = 0x70\r\nReg 7 = 0x81\r\nReg 8 = 0x92\r\n"
    "auto boot ON\r\n#",
    "dc\r\nConfig Number = 3\r\nConfig Name = Factory Default\r\n#",
    "dy\r\ncontrol=1;level=128;\r\n#",
    "dz\r\nx_offset=0;plus_minus_x=12;hor_width=640;hor_long=800;ver_width=480;"
    "ver_long=525;small_delta=2;big_delta=8;frame_cnt=4;divider_order=2;frame_ave=3;"
    "filter_order=1;sig_line_type=255;filldots=0;x_flip=1;y_flip=0;green_gain=96;"
    "y_offset=1;plus_minus_y=-4;lcd_test=1;\r\n#",
    "dms\r\nModel Number = XYZ-100\r\n#",
    "dmu\r\nModel Number = PN-5521-03\r\n#",
    "dss\r\nSerial Number = SN123456\r\n#",
    "drs\r\nDuty Cycle = 50\r\n#",
    "dp\r\n0,1 Photocell Enabled\r\nLimits 10,20,30,40,50,60,70,80,5,6\r\nBC0,1\r\n#",
    "dt\r\n12,3,7,9\r\n0,0,0,0\r\n42\r\n#",
    "dv\r\nVsync Frequency = 60.0\r\nHsync Frequency = 31.25\r\n#",
    "dw\r\nModel Type = 0x21\r\n#",
    "dx\r\nCapability = 0x85\r\n#",
    "hmc\r\nMonitor Controls\r\n12,34,56,78,90\r\n#",
    "heh0x1F\r\n#",
    "md1\r\n#",
    "rb 0x1234\r\nB 0x1234 := 0x3f\r\n#",
    "rc 0x10\r\nC 0x10 := 'A'\r\n#",
    "pi48\r\nDevice 0x48 OK\r\n#",
    "df\r\nV 3.10\r\n#",
    "da\r\n10,20,30,40,50,60,70,80,90,100,110,120\r\n#",
};

} // namespace orlix::prototest
