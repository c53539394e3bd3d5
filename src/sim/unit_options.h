// How a simulated unit is built: which firmware it runs, what it says about
// itself, the readings and settings it reports, and how it behaves on the
// line. Every field has the value of a typical healthy unit.
#pragma once

#include "sim/dac_values.h"
#include "sim/faults.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orlix::sim {

// Texts the unit reports about itself.
struct Identity {
    std::string modelNumber = "XYZ-100";      // dms
    std::string partNumber = "PN-4471-02";    // dmu
    std::string crtPartNumber = "M19KTB22";   // dmt
    std::string serialNumber = "SN0012345";   // dss
    std::string crtSerialNumber = "K7731590"; // dst
    // The members of dm and ds that the tool reads past (c, d, f, g, h, l,
    // p, v) all answer with this text.
    std::string otherMember = "N/A";
    std::string romVersion = "1.05"; // de: the boot EPROM
    int configNumber = 3;
    std::string configName = "Standard 1280x1024";
    int modelType = 0x21;
    int capability = 0x85;
    double vsyncHz = 60.0;
    double hsyncKHz = 31.25;
};

// The high-voltage section's limits and control values (dh).
struct HighVoltage {
    int currentLimit = 200;
    int upperLimit = 230;
    int lowerLimit = 180;
    std::pair<int, int> hvControl{120, 35};
    std::pair<int, int> focusControl{40, 20};
    int focusHControl = 12;
    int focusVControl = 14;
    std::pair<int, int> g2Control{100, 50};
    std::pair<int, int> video80Control{128, 64};
};

struct LabelledReading {
    std::string label; // without the blank that separates it from the value
    int raw = 0;
};

// Raw 8-bit converter readings, in the order each generation reports them.
struct AnalogReadings {
    // H frequency, B control, C control, anode current, anode voltage,
    // +80 V, +175 V.
    std::array<int, 7> gen1{98, 100, 90, 60, 200, 203, 209};
    // CPU +5 V, B control, C control, C control x16; then labelled lines.
    std::array<int, 4> gen2Leading{159, 100, 90, 144};
    std::vector<LabelledReading> gen2Labelled{
        {"Video_+80V", 243}, {"Anode Voltage", 200}, {"Anode Current", 61}, {"Focus Voltage", 153},
        {"G2 Master", 125},  {"Red G2", 122},        {"Green G2", 120},     {"Blue G2", 124},
        {"G1", 175},         {"-8V", 125},           {"+90V", 202},         {"+24V", 204},
        {"+12V", 205},       {"+6.3V", 203},         {"+5V", 204},          {"-12V", 204},
        {"-100V", 204}};
    // Twelve converter channels.
    std::array<int, 12> gen3{120, 100, 90, 80, 60, 70, 50, 159, 176, 106, 135, 100};
};

// The panel status report (dps).
struct PanelStatus {
    bool verticalOperating = true;
    bool horizontalOperating = true;
    bool photocellEnabled = true;
    std::array<int, 8> limits{10, 20, 30, 40, 50, 60, 70, 80};
    int hysteresisC = 5; // firmware 2.16 to 3.00
    int hysteresisB = 3;
    char bcFirst = '0'; // firmware 2.16 to 2.99
    char bcSecond = '1';
};

struct DutyCycles {
    int immediate = 100;
    int steady = 80;
    int warmUp = 100;
};

struct ScanSet {
    std::string name;
    bool included = true;
};

struct UnitOptions {
    // Firmware version text "x.yy"; its generation chooses the reply layouts
    // (1.xx, 2.xx with the 2.24 variants, 3.xx).
    std::string firmwareVersion = "2.24";
    bool startInBootLoader = false;
    bool autoBoot = true;
    Identity identity;
    HighVoltage highVoltage;
    AnalogReadings analog;
    PanelStatus panel;
    DutyCycles dutyCycles;
    DacValues dacs = defaultDacValues();
    std::vector<ScanSet> scanSets{{"640x480 60Hz", true},  {"800x600 60Hz", true},
                                  {"1024x768 60Hz", true}, {"1280x1024 60Hz", true},
                                  {"720x400 70Hz", false}, {"1600x1200 60Hz", false}};
    // The nine boot parameter bytes of the db reply.
    std::array<int, 9> bootParameters{0x5A, 0x01, 0x00, 0x3C, 0x80, 0x12, 0xFF, 0x07, 0x21};
    // The parameter list of the dz reply, in the order it is sent.
    std::vector<std::pair<std::string, std::string>> parameterList{
        {"x_offset", "1"},
        {"plus_minus_x", "12"},
        {"y_offset", "0"},
        {"plus_minus_y", "8"},
        {"hor_width", "640"},
        {"hor_long", "800"},
        {"ver_width", "480"},
        {"ver_long", "525"},
        {"small_delta", "2"},
        {"big_delta", "16"},
        {"frame_cnt", "30"},
        {"short_defined_hor_width", "320"},
        {"short_defined_hor_long", "400"},
        {"short_defined_ver_width", "240"},
        {"short_defined_ver_long", "262"},
        {"divider_order", "1"},
        {"frame_ave", "4"},
        {"filter_order", "3"},
        {"sig_line_type", "0"},
        {"filldots", "255"},
        {"x_flip", "0"},
        {"y_flip", "1"},
        {"green_gain", "128"},
        {"lcd_test", "0"}};
    // Which set "dds" reports: 'C' current values, 'F' or 'P' a stored set.
    char ddsReports = 'C';

    // Backlight at power-on: digital levels (TYW31B..33B), maximum levels
    // (TYW41B..43B), 0..16383, and software (true) or hardware control.
    std::array<int, 3> digitalBrightness{8192, 8192, 8192};
    std::array<int, 3> analogBrightness{16383, 16383, 16383};
    bool softwareControl = false;

    // Operating time stored in the unit before this power-on, and the number
    // of power-on cycles so far.
    std::int64_t operatingSeconds = ((523LL * 24 + 7) * 60 + 42) * 60 + 18;
    std::int32_t operatingCycles = 1873;
    // Milliseconds, on the caller's clock, at which the unit was switched on.
    std::int64_t powerOnMs = 0;

    // Time between the end of a command line and the first byte of the
    // answer, and the extra time a flash erase and a firmware start take.
    int replyDelayMs = 0;
    int eraseTimeMs = 250;
    int startTimeMs = 100;
    // Each character takes its time on the line (1/1920 s at 19200 8N1).
    bool wireRate = true;

    FaultOptions faults;
};

} // namespace orlix::sim
