// Identity replies: model and part numbers (DM), serial numbers (DS), duty
// cycle settings (DR) and the panel status (DP).
//
// The first three carry a selector letter and then "Prefix = value" as the
// member text, which must start with the prefix. The value is cut by
// position: the prefix's length from the front and the last two characters (the line end before the
// prompt) from the back, then at its first CR or LF, so that a value never carries a line break
// into the data file's quoted fields.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace orlix {

namespace {

constexpr std::string_view kModelPrefix = "Model Number = ";
constexpr std::string_view kSerialPrefix = "Serial Number = ";
constexpr std::string_view kDutyPrefix = "Duty Cycle = ";
constexpr std::size_t kTrailerLength = 2;

struct Member {
    char selector = '\0';
    std::string_view text;
};

Member splitSelector(std::string_view body) {
    const std::string_view t = SkipWhiteSpace(body);
    if (t.empty()) {
        return {};
    }
    return {UpperAscii(t.front()), SkipWhiteSpace(t.substr(1))};
}

// nullopt when the member text does not start with the prefix: the value
// is cut by position, so anything before the prefix (noise on the line)
// would end up in it. With fewer than two characters after the prefix the
// value is empty.
std::optional<std::string> memberValue(std::string_view member, std::string_view prefix) {
    if (!member.starts_with(prefix)) {
        return std::nullopt;
    }
    const std::string_view value = DropBack(DropFront(member, prefix.size()), kTrailerLength);
    return storableText(CutAtLineEnd(value));
}

void showBoth(const ReplyContext& ctx, std::string_view label, std::string_view box,
              std::string_view value) {
    ctx.show(ShownKey(label, "Caption"), value);
    ctx.show(ShownKey(box, "Text"), value);
}

// The 16-bit integer nearest to a number (ties to even), as "Str" writes
// it: a leading blank when not negative.
std::string limitText(double number) {
    const double nearest = std::clamp(std::nearbyint(number), -32768.0, 32767.0);
    const auto value = static_cast<std::int32_t>(nearest);
    return (value < 0 ? "" : " ") + std::to_string(value);
}

std::string_view operatingWord(char c) {
    if (c == '0') {
        return "Operating";
    }
    if (c == '1') {
        return "Not Operating";
    }
    return {};
}

char charAt(std::string_view text, std::size_t index) {
    return index < text.size() ? text[index] : '\0';
}

} // namespace

void ModelNumberReply(ReplyContext& ctx, std::string_view body) {
    const Member m = splitSelector(body);
    const auto value = memberValue(m.text, kModelPrefix);
    if (!value) {
        return;
    }
    switch (m.selector) {
    case 'S':
        showBoth(ctx, "lblModel", "txtModel", *value);
        ctx.data.ModelNumber = *value;
        break;
    case 'T':
        ctx.data.CrtPartNumber = *value;
        break;
    case 'U':
        showBoth(ctx, "lblPart", "txtPart", *value);
        ctx.data.PartNumber = *value;
        break;
    default:
        break; // C, D, F, G, H, L, P, V and others: nothing kept
    }
}

void SerialNumberReply(ReplyContext& ctx, std::string_view body) {
    const Member m = splitSelector(body);
    const auto value = memberValue(m.text, kSerialPrefix);
    if (!value) {
        return;
    }
    switch (m.selector) {
    case 'S':
        showBoth(ctx, "lblSerial", "txtSerial", *value);
        ctx.data.SerialNumber = *value;
        break;
    case 'T':
        ctx.data.CrtSerialNumber = *value;
        break;
    default:
        break;
    }
}

void DutyCycleReply(ReplyContext& ctx, std::string_view body) {
    const Member m = splitSelector(body);
    const auto value = memberValue(m.text, kDutyPrefix);
    if (!value) {
        return;
    }
    switch (m.selector) {
    case 'A':
    case 'B':
    case 'D':
    case 'E':
    case 'F':
    case 'M':
    case 'N':
        ctx.show("txtSetFilImmediate.Text", *value);
        break;
    case 'S':
        ctx.show("txtFilSteady.Text", *value);
        break;
    case 'W':
        ctx.show("txtFilWarmup.Text", *value);
        break;
    default:
        break;
    }
}

void PanelStatusReply(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr) {
        return; // the monitor data keeps none of it
    }
    if (Contains(body, "Photocell Enabled")) {
        ctx.show("ckPhotocell.Value", "1");
    }
    if (Contains(body, "Photocell Disabled")) {
        ctx.show("ckPhotocell.Value", "0");
    }
    if (const auto word = operatingWord(charAt(body, 0)); !word.empty()) {
        ctx.show("VFailValue.Caption", word);
    }
    if (const auto word = operatingWord(charAt(body, 2)); !word.empty()) {
        ctx.show("HFailValue.Caption", word);
    }
    const std::int16_t code = ctx.data.FirmwareVersionCode;
    if (auto limits = After(body, "Limits ")) {
        std::string_view text = *limits;
        for (int i = 0; i < 8; ++i) {
            const std::string value = limitText(LeadingNumber(text));
            ctx.show(ShownKey("lblLimit", i, "Caption"), value);
            ctx.show(ShownKey("lblLimits", i, "Caption"), value);
            text = AfterComma(text);
        }
        if (code >= 216 && code <= 300) {
            ctx.show("txtHystC.Text", limitText(LeadingNumber(text)));
            text = AfterComma(text);
            ctx.show("txtHystB.Text", limitText(LeadingNumber(text)));
        }
    }
    const auto bc = body.find("BC");
    if (bc != std::string_view::npos && code >= 216 && code <= 299) {
        // "BC", a blank, then the two option characters: "BC 0,1".
        const std::string_view options = DropFront(body, bc + 3);
        if (charAt(options, 0) == '0') {
            ctx.display->selectOption("Option4", "Option3");
        } else {
            ctx.display->selectOption("Option3", "Option4");
        }
        if (charAt(options, 2) == '0') {
            ctx.display->selectOption("Option2", "Option1");
        } else {
            ctx.display->selectOption("Option1", "Option2");
        }
    }
}

} // namespace orlix
