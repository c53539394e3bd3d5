#include "core/dataview/readings_view.h"

#include <span>

namespace orlix {

namespace {

// How a control's text becomes the cell's text.
enum class Show {
    Text,     // as it stands
    Pair,     // option pair: `key` "True" gives `on`, `other` "True" gives `off`
    Flag,     // "True" / "False" give `on` / `off`
    Check,    // "1" / "0" give `on` / `off`
    Colour,   // a device status colour (0x00BBGGRR as a decimal number)
    Selected, // option array `key`(i): the index i that is "True"
};

struct Reading {
    std::string_view name;
    std::string_view label;
    std::string_view key;
    Show show = Show::Text;
    std::string_view other{};
    std::string_view on{};
    std::string_view off{};
    // The reply whose own texts to read; Count: the display model.
    ReplyKind from = ReplyKind::Count;
};

// A text as it stands, read from the texts of reply `from`.
constexpr Reading fromReply(ReplyKind from, std::string_view name, std::string_view label,
                            std::string_view key) {
    return {name, label, key, Show::Text, {}, {}, {}, from};
}

constexpr ReplyKind kDA = ReplyKind::Analog;
constexpr ReplyKind kDH = ReplyKind::Limits;
constexpr ReplyKind kDZ = ReplyKind::Parameters;

constexpr Reading kAnalog1[] = {
    fromReply(kDA, "HFreqTextBox", "Horizontal frequency reading", "HFreqTextBox.Text"),
    fromReply(kDA, "BCtrlValue", "B control voltage", "BCtrlValue.Caption"),
    fromReply(kDA, "CCtrlValue", "C control voltage", "CCtrlValue.Caption"),
    fromReply(kDA, "IAnodeValue", "Anode current", "IAnodeValue.Caption"),
    fromReply(kDA, "VAnodeValue", "Anode voltage", "VAnodeValue.Caption"),
    // The first generation's raw anode reading comes with the limits reply.
    fromReply(kDH, "HVValTextBox", "Anode voltage reading", "HVValTextBox.Text"),
    fromReply(kDA, "LV80Value", "+80 V rail", "LV80Value.Caption"),
    fromReply(kDA, "LV175Value", "+175 V rail", "LV175Value.Caption"),
};

constexpr Reading kAnalog2[] = {
    fromReply(kDA, "lblCPUP5Value", "CPU +5 V", "lblCPUP5Value.Caption"),
    fromReply(kDA, "BCtrlValue", "B control voltage", "BCtrlValue.Caption"),
    fromReply(kDA, "CCtrlValue", "C control voltage", "CCtrlValue.Caption"),
    fromReply(kDA, "lblCCtrlX16Value", "C control voltage x16", "lblCCtrlX16Value.Caption"),
    fromReply(kDA, "lblLV80Value", "Video +80 V", "lblLV80Value.Caption"),
    fromReply(kDA, "VAnodeValue", "Anode voltage", "VAnodeValue.Caption"),
    fromReply(kDA, "HVValTextBox", "Anode voltage reading", "HVValTextBox.Text"),
    fromReply(kDA, "IAnodeValue", "Anode current", "IAnodeValue.Caption"),
    fromReply(kDA, "FocusLabel", "Focus voltage", "FocusLabel.Caption"),
    fromReply(kDA, "G2Label", "G2 master", "G2Label.Caption"),
    fromReply(kDA, "RedG2Label", "Red G2", "RedG2Label.Caption"),
    fromReply(kDA, "GreenG2Label", "Green G2", "GreenG2Label.Caption"),
    fromReply(kDA, "BlueG2Label", "Blue G2", "BlueG2Label.Caption"),
    fromReply(kDA, "G1Label", "G1", "G1Label.Caption"),
    fromReply(kDA, "lblVoltage(0)", "-8 V rail", "lblVoltage(0).Caption"),
    fromReply(kDA, "lblVoltage(1)", "+90 V rail", "lblVoltage(1).Caption"),
    fromReply(kDA, "lblVoltage(2)", "+24 V rail", "lblVoltage(2).Caption"),
    fromReply(kDA, "lblVoltage(3)", "+12 V rail", "lblVoltage(3).Caption"),
    fromReply(kDA, "lblVoltage(4)", "+6.3 V rail", "lblVoltage(4).Caption"),
    fromReply(kDA, "lblVoltage(5)", "+5 V rail", "lblVoltage(5).Caption"),
    fromReply(kDA, "lblVoltage(6)", "-12 V rail", "lblVoltage(6).Caption"),
    fromReply(kDA, "lblVoltage(7)", "-100 V rail", "lblVoltage(7).Caption"),
};

constexpr Reading kAnalog3[] = {
    fromReply(kDA, "lblACH7", "Channel 7", "lblACH7.Caption"),
    fromReply(kDA, "BCtrlValue", "B control voltage", "BCtrlValue.Caption"),
    fromReply(kDA, "CCtrlValue", "C control voltage", "CCtrlValue.Caption"),
    fromReply(kDA, "ECCtrlValue", "EC control voltage", "ECCtrlValue.Caption"),
    fromReply(kDA, "lblACH4", "Channel 4", "lblACH4.Caption"),
    fromReply(kDA, "lblACH5", "Channel 5", "lblACH5.Caption"),
    fromReply(kDA, "lblACH6", "Channel 6", "lblACH6.Caption"),
    fromReply(kDA, "P5VM", "+5 V monitor", "P5VM.Caption"),
    fromReply(kDA, "lblVoltage(0)", "Supply 1", "lblVoltage(0).Caption"),
    fromReply(kDA, "lblVoltage(1)", "Supply 2", "lblVoltage(1).Caption"),
    fromReply(kDA, "lblVoltage(2)", "Supply 3", "lblVoltage(2).Caption"),
    fromReply(kDA, "lblVoltage(3)", "Supply 4", "lblVoltage(3).Caption"),
};

constexpr Reading kSync[] = {
    {"VertFreqBox", "Vertical sync (Hz)", "VertFreqBox.Text"},
    fromReply(ReplyKind::SyncFrequency, "HsyncFrequency", "Horizontal sync (kHz)",
              "HFreqTextBox.Text"),
};

constexpr Reading kHighVoltage[] = {
    fromReply(kDH, "txtIAnodeLimit", "Anode current limit", "txtIAnodeLimit.Text"),
    fromReply(kDH, "HScroll1(0)", "HV control value 1", "HScroll1(0).Value"),
    fromReply(kDH, "Text2(0)", "HV control value 2", "Text2(0).Text"),
    fromReply(kDH, "HScroll1(1)", "Focus control value 1", "HScroll1(1).Value"),
    fromReply(kDH, "Text2(1)", "Focus control value 2", "Text2(1).Text"),
    fromReply(kDH, "HScroll1(2)", "G2 control value 1", "HScroll1(2).Value"),
    fromReply(kDH, "Text2(2)", "G2 control value 2", "Text2(2).Text"),
    fromReply(kDH, "HScroll1(3)", "Video +80 V control value 1", "HScroll1(3).Value"),
    fromReply(kDH, "Text2(3)", "Video +80 V control value 2", "Text2(3).Text"),
};

// Firmware 2.24 gives the last two scroll values to the focus V and H
// controls, and the limited second values to labels of their own.
constexpr Reading kHighVoltage224[] = {
    fromReply(kDH, "txtIAnodeLimit", "Anode current limit", "txtIAnodeLimit.Text"),
    fromReply(kDH, "HScroll1(0)", "HV control value 1", "HScroll1(0).Value"),
    fromReply(kDH, "Text2(0)", "HV control value 2", "Text2(0).Text"),
    fromReply(kDH, "Label4(0)", "HV control value 2, limited", "Label4(0).Caption"),
    fromReply(kDH, "HScroll1(1)", "Focus control value 1", "HScroll1(1).Value"),
    fromReply(kDH, "Text2(1)", "Focus control value 2", "Text2(1).Text"),
    fromReply(kDH, "Label4(1)", "Focus control value 2, limited", "Label4(1).Caption"),
    fromReply(kDH, "HScroll1(2)", "Focus V control value", "HScroll1(2).Value"),
    fromReply(kDH, "HScroll1(3)", "Focus H control value", "HScroll1(3).Value"),
    fromReply(kDH, "Text2(2)", "G2 control value 2", "Text2(2).Text"),
    fromReply(kDH, "Text2(3)", "Video +80 V control value 2", "Text2(3).Text"),
};

constexpr Reading kModelType[] = {
    {"BIT_Enabled_opt", "BIT", "BIT_Enabled_opt.Value", Show::Pair, "BIT_Disabled_opt.Value",
     "Enabled", "Disabled"},
    {"Terabit_Commands_Enabled_Opt", "Terabit commands", "Terabit_Commands_Enabled_Opt.Value",
     Show::Pair, "Terabit_Commands_Disabled_Opt.Value", "Enabled", "Disabled"},
    {"ColorOption", "Display", "ColorOption.Value", Show::Pair, "MonochromeOption.Value", "Colour",
     "Monochrome"},
    {"DacUpdatingEnabledOptionButton", "DAC updating", "DacUpdatingEnabledOptionButton.Value",
     Show::Pair, "DACUpdatingDisabledOptionButton.Value", "Enabled", "Disabled"},
    {"UserBrightnessEnabledOption", "User brightness", "UserBrightnessEnabledOption.Value",
     Show::Pair, "UserBrightnessDisabledOption.Value", "Enabled", "Disabled"},
    {"UserContrastEnabledOption", "User contrast", "UserContrastEnabledOption.Value", Show::Pair,
     "UserContrastDisabledOption.Value", "Enabled", "Disabled"},
};

constexpr Reading kCapability[] = {
    {"Capability(0)", "Capability flag 0", "Capability(0).Value", Show::Flag, {}, "Set", "Clear"},
    {"Capability(1)", "Capability flag 1", "Capability(1).Value", Show::Flag, {}, "Set", "Clear"},
    {"Capability(2)", "Capability flag 2", "Capability(2).Value", Show::Flag, {}, "Set", "Clear"},
    {"Capability(3)", "Capability flag 3", "Capability(3).Value", Show::Flag, {}, "Set", "Clear"},
    {"Capability(4)", "Capability flag 4", "Capability(4).Value", Show::Flag, {}, "Set", "Clear"},
    {"Capability(5)", "Capability flag 5", "Capability(5).Value", Show::Flag, {}, "Set", "Clear"},
    {"Capability(6)", "Capability flag 6", "Capability(6).Value", Show::Flag, {}, "Set", "Clear"},
    {"Capability(7)", "Capability flag 7", "Capability(7).Value", Show::Flag, {}, "Set", "Clear"},
};

constexpr Reading kPanel[] = {
    {"VFailValue", "Vertical", "VFailValue.Caption"},
    {"HFailValue", "Horizontal", "HFailValue.Caption"},
    {"ckPhotocell", "Photocell", "ckPhotocell.Value", Show::Check, {}, "Enabled", "Disabled"},
    {"lblLimit(0)", "Limit 1", "lblLimit(0).Caption"},
    {"lblLimit(1)", "Limit 2", "lblLimit(1).Caption"},
    {"lblLimit(2)", "Limit 3", "lblLimit(2).Caption"},
    {"lblLimit(3)", "Limit 4", "lblLimit(3).Caption"},
    {"lblLimit(4)", "Limit 5", "lblLimit(4).Caption"},
    {"lblLimit(5)", "Limit 6", "lblLimit(5).Caption"},
    {"lblLimit(6)", "Limit 7", "lblLimit(6).Caption"},
    {"lblLimit(7)", "Limit 8", "lblLimit(7).Caption"},
    {"txtHystC", "Hysteresis C", "txtHystC.Text"},
    {"txtHystB", "Hysteresis B", "txtHystB.Text"},
    {"Option3", "BC setting 1", "Option3.Value", Show::Pair, "Option4.Value", "On", "Off"},
    {"Option1", "BC setting 2", "Option1.Value", Show::Pair, "Option2.Value", "On", "Off"},
};

constexpr Reading kDutyCycle[] = {
    {"txtSetFilImmediate", "Immediate", "txtSetFilImmediate.Text"},
    {"txtFilSteady", "Steady", "txtFilSteady.Text"},
    {"txtFilWarmup", "Warm-up", "txtFilWarmup.Text"},
};

constexpr Reading kDevices[] = {
    {"btnU103", "U103", "btnU103.BackColor", Show::Colour},
    {"btnU109", "U109", "btnU109.BackColor", Show::Colour},
    {"btnU115", "U115", "btnU115.BackColor", Show::Colour},
    {"btnU119", "U119", "btnU119.BackColor", Show::Colour},
    {"btnU120", "U120", "btnU120.BackColor", Show::Colour},
    {"btnU126", "U126", "btnU126.BackColor", Show::Colour},
    {"btnU206", "U206", "btnU206.BackColor", Show::Colour},
    {"btnU210", "U210", "btnU210.BackColor", Show::Colour},
    {"btnU214", "U214", "btnU214.BackColor", Show::Colour},
    {"btnU309", "U309", "btnU309.BackColor", Show::Colour},
    {"btnU310", "U310", "btnU310.BackColor", Show::Colour},
    {"btnU311", "U311", "btnU311.BackColor", Show::Colour},
    {"btnU513", "U513", "btnU513.BackColor", Show::Colour},
    {"btnU904", "U904", "btnU904.BackColor", Show::Colour},
    {"btnU906", "U906", "btnU906.BackColor", Show::Colour},
    {"btnU908", "U908", "btnU908.BackColor", Show::Colour},
};

constexpr Reading kRegisters[] = {
    {"DataByteBox", "Byte read", "DataByteBox.Text"},
    {"DataWordBox", "Word read", "DataWordBox.Text"},
    {"txtDataChar", "Character read", "txtDataChar.Text"},
    {"txtH", "Deflection H", "txtH.Text"},
    {"txtV", "Deflection V", "txtV.Text"},
    {"txtVR", "Deflection VR", "txtVR.Text"},
    {"txtHP", "Deflection HP", "txtHP.Text"},
    {"txtVP", "Deflection VP", "txtVP.Text"},
    {"optDeflEnable", "Deflection", "optDeflEnable.Value", Show::Pair, "optDeflDisable.Value",
     "Enabled", "Disabled"},
    {"optHVEnable", "High voltage", "optHVEnable.Value", Show::Pair, "optHVDisable.Value",
     "Enabled", "Disabled"},
};

constexpr Reading kBoot[] = {
    {"lblValue(0)", "Boot value 0 (hex)", "lblValue(0).Caption"},
    {"lblValue(1)", "Boot value 1 (hex)", "lblValue(1).Caption"},
    {"lblValue(2)", "Boot value 2 (hex)", "lblValue(2).Caption"},
    {"lblValue(3)", "Boot value 3 (hex)", "lblValue(3).Caption"},
    {"lblValue(4)", "Boot value 4 (hex)", "lblValue(4).Caption"},
    {"lblValue(5)", "Boot value 5 (hex)", "lblValue(5).Caption"},
    {"lblValue(6)", "Boot value 6 (hex)", "lblValue(6).Caption"},
    {"lblValue(7)", "Boot value 7 (hex)", "lblValue(7).Caption"},
    {"lblValue(8)", "Boot value 8 (hex)", "lblValue(8).Caption"},
    {"lblAutoBoot", "Auto boot", "lblAutoBoot.Caption"},
    {"lblScanNumber", "Configuration number", "lblScanNumber.Caption"},
    {"lblScanName", "Configuration name", "lblScanName.Caption"},
};

// The parameter list, named after its keys as the unit sends them.
constexpr Reading kParameters[] = {
    fromReply(kDZ, "x_offset", "x_offset", "HS_x_offset.Value"),
    fromReply(kDZ, "hor_width", "hor_width", "Text1(0).Text"),
    fromReply(kDZ, "hor_long", "hor_long", "Text1(1).Text"),
    fromReply(kDZ, "ver_width", "ver_width", "Text1(2).Text"),
    fromReply(kDZ, "ver_long", "ver_long", "Text1(3).Text"),
    fromReply(kDZ, "small_delta", "small_delta", "Text1(4).Text"),
    fromReply(kDZ, "big_delta", "big_delta", "Text1(5).Text"),
    fromReply(kDZ, "frame_cnt", "frame_cnt", "Text1(6).Text"),
    fromReply(kDZ, "short_defined_hor_width", "short_defined_hor_width", "Text1(9).Text"),
    fromReply(kDZ, "short_defined_hor_long", "short_defined_hor_long", "Text1(10).Text"),
    fromReply(kDZ, "short_defined_ver_width", "short_defined_ver_width", "Text1(11).Text"),
    fromReply(kDZ, "short_defined_ver_long", "short_defined_ver_long", "Text1(12).Text"),
    {"divider_order", "divider_order", "Option2", Show::Selected, {}, {}, {}, kDZ},
    fromReply(kDZ, "frame_ave", "frame_ave", "Text1(14).Text"),
    fromReply(kDZ, "filter_order", "filter_order", "txt_filter_order.Text"),
    {"sig_line_type", "sig_line_type", "Option1", Show::Selected, {}, {}, {}, kDZ},
    {"filldots", "filldots", "Option4", Show::Selected, {}, {}, {}, kDZ},
    {"x_flip", "x_flip", "ChkBox_xTurn.Value", Show::Check, {}, "1", "0", kDZ},
    {"y_flip", "y_flip", "ChkBox_yTurn.Value", Show::Check, {}, "1", "0", kDZ},
    fromReply(kDZ, "green_gain", "green_gain", "lbl_gain.Caption"),
    fromReply(kDZ, "y_offset", "y_offset", "HS_y_offset.Value"),
    {"lcd_test", "lcd_test", "OptTestPattern", Show::Selected, {}, {}, {}, kDZ},
};

class Reader {
public:
    explicit Reader(const DataViewSources& sources) : m_sources(sources) {}

    ViewTable table(std::string_view name, std::string_view title,
                    std::span<const Reading> readings) const {
        ViewTable t;
        t.name = std::string(name);
        t.title = std::string(title);
        t.columns.push_back({"", "Value", false});
        for (const Reading& r : readings) {
            ViewRow row;
            row.name = std::string(r.name);
            row.label = std::string(r.label);
            row.cells.push_back({row.name, cellText(r), false});
            t.rows.push_back(std::move(row));
        }
        return t;
    }

private:
    const DisplayModel::Entries& entries(ReplyKind from) const {
        if (from != ReplyKind::Count && m_sources.lastReplies != nullptr) {
            return m_sources.lastReplies->entries(from);
        }
        return m_sources.display.entries();
    }

    std::string_view text(const DisplayModel::Entries& e, std::string_view key) const {
        const auto it = e.find(key);
        return it == e.end() ? std::string_view{} : std::string_view(it->second);
    }

    std::string cellText(const Reading& r) const {
        const DisplayModel::Entries& e = entries(r.from);
        const std::string_view t = text(e, r.key);
        switch (r.show) {
        case Show::Text:
            return std::string(t);
        case Show::Pair:
            if (t == kTrueText) {
                return std::string(r.on);
            }
            return text(e, r.other) == kTrueText ? std::string(r.off) : std::string();
        case Show::Flag:
            return t == kTrueText ? std::string(r.on) : t == kFalseText ? std::string(r.off) : "";
        case Show::Check:
            return t == "1" ? std::string(r.on) : t == "0" ? std::string(r.off) : "";
        case Show::Colour:
            return colourText(t);
        case Show::Selected:
            return selected(e, r.key);
        }
        return {};
    }

    // "OK (green)", "NR (red)", "NC (yellow)": the report each colour
    // stands for; any other colour as its number.
    static std::string colourText(std::string_view colour) {
        if (colour == "65280") {
            return "OK (green)";
        }
        if (colour == "255") {
            return "NR (red)";
        }
        if (colour == "65535") {
            return "NC (yellow)";
        }
        return std::string(colour);
    }

    static std::string selected(const DisplayModel::Entries& e, std::string_view name) {
        const std::string prefix = std::string(name) + "(";
        for (auto it = e.lower_bound(prefix);
             it != e.end() && std::string_view(it->first).starts_with(prefix); ++it) {
            const std::string_view key = it->first;
            if (key.ends_with(").Value") && it->second == kTrueText) {
                return std::string(key.substr(prefix.size(), key.size() - prefix.size() - 7));
            }
        }
        return {};
    }

    const DataViewSources& m_sources;
};

} // namespace

ViewGroup readingsGroup(const DataViewSources& sources) {
    const Reader reader(sources);
    const std::int16_t code = sources.data.FirmwareVersionCode;
    ViewGroup g;
    g.name = "grpReadings";
    g.title = "Readings and Status";
    const std::string generation = firmwareGeneration(code);
    if (!generation.empty()) {
        using Readings = std::span<const Reading>;
        const Readings analog = generation[0] == '1'   ? Readings(kAnalog1)
                                : generation[0] == '2' ? Readings(kAnalog2)
                                                       : Readings(kAnalog3);
        g.tables.push_back(
            reader.table("tblAnalog", "Analog Readings (generation " + generation + ")", analog));
    }
    g.tables.push_back(reader.table("tblSync", "Sync Frequencies", kSync));
    g.tables.push_back(reader.table("tblHighVoltage", "High Voltage",
                                    code == 224 ? std::span<const Reading>(kHighVoltage224)
                                                : std::span<const Reading>(kHighVoltage)));
    g.tables.push_back(reader.table("tblModelType", "Model Type", kModelType));
    g.tables.push_back(reader.table("tblCapability", "Capability", kCapability));
    g.tables.push_back(reader.table("tblPanel", "Panel Status", kPanel));
    g.tables.push_back(reader.table("tblDutyCycle", "Duty Cycle", kDutyCycle));
    g.tables.push_back(reader.table("tblDevices", "Device Status", kDevices));
    g.tables.push_back(reader.table("tblRegisters", "Registers and Deflection", kRegisters));
    g.tables.push_back(reader.table("tblBoot", "Boot and Configuration", kBoot));
    g.tables.push_back(reader.table("tblParameters", "Parameter List", kParameters));
    return g;
}

} // namespace orlix
