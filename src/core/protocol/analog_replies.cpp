// Analog readings (DA): the unit's supply rails, high voltage, anode current,
// focus and grid voltages, each an 8-bit converter reading. Three firmware
// generations lay the reply out differently; the dispatcher picks the
// handler by FirmwareVersionCode.
//
// Generations 1 and 2 keep the raw readings in AnalogRaw (0..255: the parsed
// number's low 8 bits, so a missing number, -1, becomes 255); generation 3
// keeps nothing. Every reading is also shown in volts, kilovolts or
// microamperes.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

namespace orlix {

namespace {

constexpr std::int16_t kAnodeCurrentFloor = 18;
constexpr std::int16_t kLayout224 = 224;
constexpr int kSingleDigits = 7; // significant digits of a single-precision result

// Walks the comma-separated fields of an analog reply.
class Fields {
public:
    explicit Fields(std::string_view body) : m_text(SkipWhiteSpace(body)) {}
    // The next field as parsed (-1 when it holds no number).
    std::int32_t next() {
        const std::int32_t n = ParseNumber(m_text);
        m_text = AfterComma(m_text);
        return n;
    }

private:
    std::string_view m_text;
};

// The raw reading: the low 8 bits of the parsed number. Masking the full
// value gives the same byte as any 16-bit narrowing would, so an oversized
// field is treated consistently and without overflow.
std::int16_t raw(std::int32_t n) {
    return static_cast<std::int16_t>(n & 0xFF);
}

double volts(int r) {
    return r * 4 / 256.0;
}

void showVolts(const ReplyContext& ctx, std::string_view caption, double value) {
    ctx.show(caption, FormatNumber(value, "#0.00") + " V");
}

// --- Generation 2's labelled readings ----------------------------------------

enum class Unit { Volt, KiloVolt, MicroAmp, Rail, PlusRail };

struct Labelled {
    std::string_view label; // searched in the whole body; ends with a blank
    std::string_view key;   // where the text goes
    std::string_view pattern;
    Unit unit;
    bool single; // computed in single precision
    double (*value)(int r, bool layout224);
    std::string_view alsoOn224 = {}; // shown first when the firmware is 2.24
};

double rail(int r, double scale) {
    return (4.0 * r) / 255 * scale / 10;
}

// 4 + ((4r) / 255 - 4) * scale / divisor, in single precision.
float negativeRail(int r, float scale, float divisor) {
    return 4.0f + (static_cast<float>(4 * r) / 255.0f - 4.0f) * scale / divisor;
}

const Labelled kLabelled[] = {
    {"Video_+80V ", "lblLV80Value.Caption", "#0.00", Unit::Volt, true,
     [](int r, bool) { return double(static_cast<float>(r) / 255.0f * 4.0f * 21.0f); }},
    {"Anode Voltage ", "VAnodeValue.Caption", "#0.00", Unit::KiloVolt, false,
     [](int r, bool l224) { return r / 255.0 * 5 * (l224 ? 5.504 : 4.61); },
     "HV_Val_Label.Caption"},
    {"Anode Current ", "IAnodeValue.Caption", "#0", Unit::MicroAmp, false,
     [](int r, bool) { return r / 255.0 * 622; }},
    {"Focus Voltage ", "FocusLabel.Caption", "#0.00", Unit::KiloVolt, false,
     [](int r, bool) { return r / 255.0 * 5 * 2; }, "Focus_Val_Label.Caption"},
    {"G2 Master ", "G2Label.Caption", "#0", Unit::Volt, false,
     [](int r, bool) { return r / 255.0 * 5 * 204; }},
    {"Red G2 ", "RedG2Label.Caption", "#0", Unit::Volt, false,
     [](int r, bool) { return r / 255.0 * 5 * 200; }},
    {"Green G2 ", "GreenG2Label.Caption", "#0", Unit::Volt, false,
     [](int r, bool) { return r / 255.0 * 5 * 200; }},
    {"Blue G2 ", "BlueG2Label.Caption", "#0", Unit::Volt, false,
     [](int r, bool) { return r / 255.0 * 5 * 200; }},
    {"G1 ", "G1Label.Caption", "#0", Unit::Volt, false,
     [](int r, bool) { return 4 - (255 - r) * 0.67483; }},
    {"-8V ", "lblVoltage(0).Caption", "00.0", Unit::Rail, true,
     [](int r, bool) { return double(negativeRail(r, 58.7f, 10.0f)); }},
    {"+90V ", "lblVoltage(1).Caption", "000.0", Unit::PlusRail, false,
     [](int r, bool) { return rail(r, 284); }},
    {"+24V ", "lblVoltage(2).Caption", "00.0", Unit::PlusRail, false,
     [](int r, bool) { return rail(r, 74.9); }},
    {"+12V ", "lblVoltage(3).Caption", "00.0", Unit::PlusRail, false,
     [](int r, bool) { return rail(r, 37.4); }},
    {"+6.3V ", "lblVoltage(4).Caption", "00.0", Unit::PlusRail, false,
     [](int r, bool) { return rail(r, 19.76); }},
    {"+5V ", "lblVoltage(5).Caption", "0.00", Unit::PlusRail, false,
     [](int r, bool) { return rail(r, 15.62); }},
    {"-12V ", "lblVoltage(6).Caption", "00.0", Unit::Rail, true,
     [](int r, bool) { return double(negativeRail(r, 201.0f, 10.0f)); }},
    {"-100V ", "lblVoltage(7).Caption", "000", Unit::Rail, true,
     [](int r, bool) { return double(negativeRail(r, 131.0f, 1.0f)); }},
};

std::string labelledText(const Labelled& l, double value) {
    const std::string number = FormatNumber(value, l.pattern, l.single ? kSingleDigits : 15);
    switch (l.unit) {
    case Unit::Volt:
        return number + " V";
    case Unit::KiloVolt:
        return number + " kV";
    case Unit::MicroAmp:
        return number + " uA";
    case Unit::Rail:
        return number + "V";
    case Unit::PlusRail:
        return "+" + number + "V";
    }
    return number;
}

void showLabelled(const ReplyContext& ctx, std::string_view body) {
    const bool layout224 = ctx.data.FirmwareVersionCode == kLayout224;
    for (const Labelled& l : kLabelled) {
        const auto rest = After(body, l.label);
        if (!rest) {
            continue;
        }
        const int r = raw(ParseNumber(*rest));
        const std::string text = labelledText(l, l.value(r, layout224));
        if (l.label == "Anode Voltage ") {
            ctx.show("HVValTextBox.Text", FormatNumber(r, "000"));
        }
        if (layout224 && !l.alsoOn224.empty()) {
            ctx.show(l.alsoOn224, text);
        }
        ctx.show(l.key, text);
    }
}

} // namespace

void AnalogReadings1(ReplyContext& ctx, std::string_view body) {
    auto& rawData = ctx.data.AnalogRaw;
    Fields fields(body);
    std::int32_t n[7];
    for (int k = 0; k < 5; ++k) {
        n[k] = fields.next();
        rawData[static_cast<std::size_t>(k)] = raw(n[k]);
    }
    if (rawData[3] < kAnodeCurrentFloor) {
        rawData[3] = kAnodeCurrentFloor;
    }
    for (int k = 5; k < 7; ++k) {
        n[k] = fields.next();
        rawData[static_cast<std::size_t>(k)] = raw(n[k]);
    }
    if (ctx.display == nullptr) {
        return;
    }
    ctx.show("HFreqTextBox.Text", FormatNumber(volts(raw(n[0])) / 0.049, "#0.0"));
    showVolts(ctx, "BCtrlValue.Caption", volts(raw(n[1])));
    showVolts(ctx, "CCtrlValue.Caption", volts(raw(n[2])));
    ctx.show("IAnodeValue.Caption",
             FormatNumber((rawData[3] - kAnodeCurrentFloor) * 486 / 256.0, "#0") + " uA");
    ctx.show("VAnodeValue.Caption", FormatNumber(rawData[4] * 15.04 / 256, "#00.0") + " kV");
    ctx.show("LV80Value.Caption", FormatNumber(raw(n[5]) * 101 / 256.0, "#00.0") + " V");
    ctx.show("LV175Value.Caption", FormatNumber(raw(n[6]) * 214 / 256.0, "#000.0") + " V");
}

void AnalogReadings2(ReplyContext& ctx, std::string_view body) {
    Fields fields(body);
    std::int32_t n[4];
    for (int k = 0; k < 4; ++k) {
        n[k] = fields.next();
        ctx.data.AnalogRaw[static_cast<std::size_t>(k)] = raw(n[k]);
    }
    if (ctx.display == nullptr) {
        return;
    }
    // The +5 V rail uses the number as parsed, before masking.
    showVolts(ctx, "lblCPUP5Value.Caption", n[0] / 255.0 * 4 * 20 / 10);
    showVolts(ctx, "BCtrlValue.Caption", volts(raw(n[1])));
    showVolts(ctx, "CCtrlValue.Caption", volts(raw(n[2])));
    showVolts(ctx, "lblCCtrlX16Value.Caption", volts(raw(n[3])));
    showLabelled(ctx, body);
}

void AnalogReadings3(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr) {
        return; // this generation keeps nothing
    }
    static constexpr std::string_view kControls[] = {
        "lblACH7.Caption",       "BCtrlValue.Caption",    "CCtrlValue.Caption",
        "ECCtrlValue.Caption",   "lblACH4.Caption",       "lblACH5.Caption",
        "lblACH6.Caption",       "P5VM.Caption",          "lblVoltage(0).Caption",
        "lblVoltage(1).Caption", "lblVoltage(2).Caption", "lblVoltage(3).Caption"};
    static constexpr double kScales[] = {86.8, 71.9, 15.6};
    Fields fields(body);
    for (int k = 0; k < 12; ++k) {
        const int r = raw(fields.next());
        double value = volts(r);
        if (k == 7) {
            value = r * 4 * 20 / 2550.0;
        } else if (k >= 8 && k <= 10) {
            value = r * 4 * kScales[k - 8] / 2550;
        } else if (k == 11) {
            value = 4 - (4 - (4.0 * r) / 255) * 28.2 / 10;
        }
        showVolts(ctx, kControls[k], value);
    }
}

} // namespace orlix
