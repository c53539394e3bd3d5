// Replies routed by their first letter alone: H (deflection and HV values),
// M (enable states), P (the ping's answer and device status reports) and R
// (byte, word and character reads).
//
// Only the ping's answer changes state the tool acts on: MonitorConnected
// and MonitorInBootMode. Everything else feeds the display model or the
// monitor data's H reply values.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <array>
#include <cstdint>

namespace orlix {

namespace {

constexpr std::uint32_t kStatusRed = 255;
constexpr std::uint32_t kStatusGreen = 65280;
constexpr std::uint32_t kStatusYellow = 65535;

struct DeviceButtons {
    std::string_view codes[2];
    std::string_view buttons[2];
};

// Device codes (exact, upper-case hex) and the buttons that show them.
constexpr DeviceButtons kDevices[] = {
    {{"48", "49"}, {"btnU513", {}}},        {{"AA", "AB"}, {"btnU103", {}}},
    {{"4C", "4D"}, {"btnU109", {}}},        {{"9C", "9D"}, {"btnU115", {}}},
    {{"92", "93"}, {"btnU119", "btnU906"}}, {{"4A", "4B"}, {"btnU120", {}}},
    {{"94", "95"}, {"btnU206", {}}},        {{"AC", "AD"}, {"btnU210", {}}},
    {{"90", "91"}, {"btnU214", {}}},        {{"A8", "A9"}, {"btnU309", {}}},
    {{"96", "97"}, {"btnU310", {}}},        {{"98", "99"}, {"btnU311", {}}},
    {{"54", "55"}, {"btnU126", {}}},        {{"52", "53"}, {"btnU904", {}}},
    {{"A4", "A5"}, {"btnU908", {}}},
};

void ShowDeviceStatus(const ReplyContext& ctx, std::string_view s, std::uint32_t colour) {
    const auto device = s.find("Device ");
    if (device == std::string_view::npos) {
        return;
    }
    // "Device 0x48 OK": the label and "0x" are passed over.
    const std::string_view code = TakeFront(DropFront(s, device + 9), 2);
    for (const DeviceButtons& entry : kDevices) {
        if (code != entry.codes[0] && code != entry.codes[1]) {
            continue;
        }
        for (std::string_view button : entry.buttons) {
            if (!button.empty()) {
                ctx.show(ShownKey(button, "BackColor"), std::to_string(colour));
            }
        }
    }
}

void deviceStatusReport(const ReplyContext& ctx, std::string_view s) {
    if (ctx.display == nullptr) {
        return;
    }
    // NR is looked for first: a report holding both NR and OK is red.
    if (Contains(s, "NR")) {
        ShowDeviceStatus(ctx, s, kStatusRed);
    } else if (Contains(s, "OK")) {
        ShowDeviceStatus(ctx, s, kStatusGreen);
    } else if (Contains(s, "NC")) {
        ShowDeviceStatus(ctx, s, kStatusYellow);
    }
}

// The two-letter code at the start of a text, upper-cased.
std::string code2(std::string_view text) {
    std::string code(TakeFront(text, 2));
    for (char& c : code) {
        c = UpperAscii(c);
    }
    return code;
}

void readMonitorControls(ReplyContext& ctx, std::string_view text) {
    static constexpr std::string_view kBoxes[] = {"txtH", "txtV", "txtVR", "txtHP", "txtVP"};
    const std::array<std::int16_t*, 5> fields = {&ctx.data.ValueH, &ctx.data.ValueV,
                                                 &ctx.data.ValueVR, &ctx.data.ValueHP,
                                                 &ctx.data.ValueVP};
    std::string_view s = AfterLineFeed(AfterLineFeed(text)); // data starts on the third line
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::int32_t value = ParseCNumber(s);
        StoreIfFits(*fields[i], value);
        ctx.show(ShownKey(kBoxes[i], "Text"), FormatNumber(value, "0"));
        if (i + 1 < fields.size()) {
            s = AfterComma(s);
        }
    }
}

} // namespace

void HandleHReply(ReplyContext& ctx, std::string_view body) {
    const std::string code = code2(body);
    if (code == "EH" || code == "EV") {
        std::string_view number = DropFront(body, 2);
        StoreIfFits(code == "EH" ? ctx.data.ValueH : ctx.data.ValueV, ParseCNumber(number));
    } else if (code == "MC") {
        readMonitorControls(ctx, body);
    }
}

void HandleMReply(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr) {
        return;
    }
    const std::string code = code2(body);
    if (code == "D0") {
        ctx.display->selectOption("optDeflDisable", "optDeflEnable");
    } else if (code == "D1") {
        ctx.display->selectOption("optDeflEnable", "optDeflDisable");
    } else if (code == "H0") {
        ctx.display->selectOption("optHVDisable", "optHVEnable");
    } else if (code == "H1") {
        ctx.display->selectOption("optHVEnable", "optHVDisable");
    }
}

void HandlePReply(ReplyContext& ctx, std::string_view body) {
    const std::string_view s = SkipWhiteSpace(body);
    const char first = s.empty() ? '\0' : s.front();
    if (first == 'i') {
        deviceStatusReport(ctx, s); // a device report leaves the link alone
        return;
    }
    if (Contains(s, "#")) {
        ctx.link.MonitorConnected = true; // the application firmware answered
        ctx.link.MonitorInBootMode = false;
    } else if (Contains(s, "$")) {
        // The boot loader answered. Its prompt ends the reply, so noise on
        // the line before it must not make a connected unit look gone (in
        // Boot mode nothing else would then watch the link).
        ctx.link.MonitorConnected = true;
        ctx.link.MonitorInBootMode = true;
    } else {
        ctx.link.MonitorConnected = false;
    }
}

void HandleRReply(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr) {
        return;
    }
    const char kind = FirstUpper(body);
    if (kind == 'C') {
        // The character after the first apostrophe; without one, the first.
        const auto quote = body.find('\'');
        const std::size_t at = quote == std::string_view::npos ? 0 : quote + 1;
        ctx.show("txtDataChar.Text", TakeFront(DropFront(body, at), 1));
        return;
    }
    const auto value = HexValueAfter(body, ":= 0x");
    if (!value) {
        return;
    }
    if (kind == 'B') {
        ctx.show("DataByteBox.Text", *value);
    } else if (kind == 'W') {
        ctx.show("DataWordBox.Text", *value);
    }
}

} // namespace orlix
