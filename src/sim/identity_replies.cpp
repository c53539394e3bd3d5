// Identity reports: model, part and serial numbers, duty cycles and the
// panel status.
#include "sim/layout_text.h"
#include "sim/reply_layouts.h"

#include <cctype>
#include <string_view>

namespace orlix::sim::layouts {

namespace {

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Selectors the unit answers in the dm and ds families besides its own
// named members.
constexpr std::string_view kOtherMembers = "CDFGHLPV";

} // namespace

std::optional<std::string> modelMember(const UnitState& state, char selector) {
    const auto& id = state.config.identity;
    const char s = upper(selector);
    const std::string* value = nullptr;
    if (s == 'S') {
        value = &id.modelNumber;
    } else if (s == 'T') {
        value = &id.crtPartNumber;
    } else if (s == 'U') {
        value = &id.partNumber;
    } else if (kOtherMembers.find(s) != std::string_view::npos) {
        value = &id.otherMember;
    } else {
        return std::nullopt;
    }
    return line("Model Number = " + *value);
}

std::optional<std::string> serialMember(const UnitState& state, char selector) {
    const auto& id = state.config.identity;
    const char s = upper(selector);
    const std::string* value = nullptr;
    if (s == 'S') {
        value = &id.serialNumber;
    } else if (s == 'T') {
        value = &id.crtSerialNumber;
    } else if (kOtherMembers.find(s) != std::string_view::npos) {
        value = &id.otherMember;
    } else {
        return std::nullopt;
    }
    return line("Serial Number = " + *value);
}

std::optional<std::string> dutyCycleMember(const UnitState& state, char selector) {
    const auto& d = state.config.dutyCycles;
    const char s = upper(selector);
    int value = 0;
    if (std::string_view("ABDEFMN").find(s) != std::string_view::npos) {
        value = d.immediate;
    } else if (s == 'S') {
        value = d.steady;
    } else if (s == 'W') {
        value = d.warmUp;
    } else {
        return std::nullopt;
    }
    return line("Duty Cycle = " + std::to_string(value));
}

// First line: vertical and horizontal status, 0 operating and 1 failed.
std::string panelStatus(const UnitState& state) {
    const auto& p = state.config.panel;
    const int code = state.firmware.code;
    std::string out = line(joined({p.verticalOperating ? 0 : 1, p.horizontalOperating ? 0 : 1}));
    out += line(p.photocellEnabled ? "Photocell Enabled" : "Photocell Disabled");
    std::string limits = "Limits " + joined(p.limits, 0, static_cast<int>(p.limits.size()));
    if (code >= 216 && code <= 300) {
        limits += "," + joined({p.hysteresisC, p.hysteresisB});
    }
    out += line(limits);
    if (code >= 216 && code <= 299) {
        out += line(std::string("BC ") + p.bcFirst + "," + p.bcSecond);
    }
    return out;
}

} // namespace orlix::sim::layouts
