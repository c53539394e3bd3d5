// Configuration replies: DB (register values and auto boot), DC
// (configuration number and name), DY (backlight control mode) and DZ (a
// "key=value;" parameter list). Only DY reaches a window of the tool, through
// ProtocolEvents; the others feed the display model.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <cmath>

namespace orlix {

namespace {

constexpr std::string_view kRegisterMarker = "= 0x";
constexpr std::string_view kAutoBootLabel = "auto boot ";
constexpr int kRegisterLines = 9;
constexpr std::string_view kConfigNumberKey = "Config Number ";
constexpr std::string_view kConfigNameKey = "Config Name = ";
constexpr std::size_t kConfigNameMax = 72;
constexpr std::string_view kControlKey = "control=";
constexpr std::string_view kListDelimiter = ";";

// The option index that the number in `v` selects (rounded to the nearest,
// ties to even); -1 when it is no index.
int optionIndex(std::string_view v) {
    const double n = std::nearbyint(LeadingNumber(v));
    return (n >= 0.0 && n <= 32767.0) ? static_cast<int>(n) : -1;
}

// The members of a parameter list and the controls they go to.
enum class Kind { Text, Option, Check, Gain, Offset };

struct Parameter {
    Kind kind;
    std::string_view key;
    std::string_view control;
    int index = 0;              // Text: the box index (-1: no index); Option: the index for "255"
    std::string_view other{};   // Offset: the plus_minus key
    std::string_view caption{}; // Offset and Gain: the label
};

constexpr Parameter kParameters[] = {
    {Kind::Offset, "x_offset=", "HS_x_offset", 0, "plus_minus_x=", "lbl_x_offset"},
    {Kind::Text, "hor_width=", "Text1", 0},
    {Kind::Text, "hor_long=", "Text1", 1},
    {Kind::Text, "ver_width=", "Text1", 2},
    {Kind::Text, "ver_long=", "Text1", 3},
    {Kind::Text, "small_delta=", "Text1", 4},
    {Kind::Text, "big_delta=", "Text1", 5},
    {Kind::Text, "frame_cnt=", "Text1", 6},
    {Kind::Text, "short_defined_hor_width=", "Text1", 9},
    {Kind::Text, "short_defined_hor_long=", "Text1", 10},
    {Kind::Text, "short_defined_ver_width=", "Text1", 11},
    {Kind::Text, "short_defined_ver_long=", "Text1", 12},
    {Kind::Option, "divider_order=", "Option2", 1},
    {Kind::Text, "frame_ave=", "Text1", 14},
    {Kind::Text, "filter_order=", "txt_filter_order", -1},
    {Kind::Option, "sig_line_type=", "Option1", 2},
    {Kind::Option, "filldots=", "Option4", 1},
    {Kind::Check, "x_flip=", "ChkBox_xTurn"},
    {Kind::Check, "y_flip=", "ChkBox_yTurn"},
    {Kind::Gain, "green_gain=", "HS_gain", 0, {}, "lbl_gain"},
    {Kind::Offset, "y_offset=", "HS_y_offset", 0, "plus_minus_y=", "lbl_y_offset"},
    {Kind::Option, "lcd_test=", "OptTestPattern", 1},
};

void showParameter(ReplyContext& ctx, std::string_view text, const Parameter& p) {
    const std::string v = GetKeyValue(text, p.key, kListDelimiter);
    switch (p.kind) {
    case Kind::Text:
        ctx.show(p.index < 0 ? ShownKey(p.control, "Text") : ShownKey(p.control, p.index, "Text"),
                 v);
        break;
    case Kind::Option: {
        const int index = v == "255" ? p.index : optionIndex(v);
        if (index >= 0) {
            ctx.display->selectOption(p.control, index);
        }
        break;
    }
    case Kind::Check:
        ctx.show(ShownKey(p.control, "Value"), LeadingNumber(v) >= 1.0 ? "1" : "0");
        break;
    case Kind::Gain:
        ctx.show(ShownKey(p.caption, "Caption"), v);
        ctx.show(ShownKey(p.control, "Value"), v);
        break;
    case Kind::Offset: {
        const std::string plusMinus = GetKeyValue(text, p.other, kListDelimiter);
        const std::string shown =
            v == "1" ? plusMinus : FormatGeneral(0.0 - LeadingNumber(plusMinus));
        ctx.show(ShownKey(p.control, "Value"), shown);
        ctx.show(ShownKey(p.caption, "Caption"), shown);
        break;
    }
    }
}

} // namespace

void AutoBootReply(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr || !Contains(body, kRegisterMarker)) {
        return;
    }
    std::string_view text = body;
    for (int k = 0; k < kRegisterLines; ++k) {
        const auto value = After(text, kRegisterMarker);
        if (!value) {
            break; // a line without the marker ends the register values
        }
        ctx.show(ShownKey("lblValue", k, "Caption"), TakeFront(*value, 2));
        text = AfterLineFeed(*value);
    }
    const auto setting = After(text, kAutoBootLabel);
    if (!setting) {
        return;
    }
    std::size_t length = 0;
    while (length < setting->size() && IsBase62Text(setting->substr(length, 1))) {
        ++length;
    }
    ctx.show(ShownKey("lblAutoBoot", "Caption"), setting->substr(0, length));
}

void ConfigurationReply(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr) {
        return;
    }
    std::string_view text = SkipWhiteSpace(body);
    if (const auto number = After(text, kConfigNumberKey)) {
        // The character right after the key (normally "=") is passed over.
        ctx.show(ShownKey("lblScanNumber", "Caption"),
                 FormatNumber(LeadingNumber(DropFront(*number, 1)), "0"));
    }
    text = AfterLineFeed(text);
    if (const auto name = After(text, kConfigNameKey)) {
        ctx.show(ShownKey("lblScanName", "Caption"),
                 TakeFront(CutAtLineEnd(*name), kConfigNameMax));
    }
}

void ControlModeReply(ReplyContext& ctx, std::string_view body) {
    const std::string mode = GetKeyValue(SkipWhiteSpace(body), kControlKey, kListDelimiter);
    ctx.events.controlModeReported(mode == "1");
}

void ParameterListReply(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr) {
        return;
    }
    const std::string_view text = SkipWhiteSpace(body);
    for (const Parameter& p : kParameters) {
        showParameter(ctx, text, p);
    }
}

} // namespace orlix
