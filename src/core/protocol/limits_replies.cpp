// The limits reply (DH): high-voltage limits, the anode current limit and
// the control values of HV, focus, G2 and video, each after its label.
// The monitor data keeps the two HV limits; the rest is for the display,
// whose layout depends on the firmware generation.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <algorithm>
#include <cmath>

namespace orlix {

namespace {

constexpr double kControlLimit = 63;
constexpr std::int16_t kLayout224 = 224;
constexpr std::string_view kUpperLabel = "Upper Limit = ";
constexpr std::string_view kLowerLabel = "Lower Limit = ";

struct Pair {
    double first = 0;
    double second = 0;
};

struct Limits {
    double current = 255;
    double upper = 0;
    double lower = 0;
    Pair hv, focus, g2, video;
    double focusH = 0;
    double focusV = 0;
};

// The whole number that follows the first `key`, or `fallback`.
double numberAfter(std::string_view text, std::string_view key, double fallback) {
    const auto rest = After(text, key);
    return rest ? std::floor(LeadingNumber(*rest)) : fallback;
}

// Two numbers: after `key`, and after the first ", " from the key on.
Pair pairAfter(std::string_view text, std::string_view key) {
    const auto at = text.find(key);
    if (at == std::string_view::npos) {
        return {};
    }
    Pair pair;
    pair.first = std::floor(LeadingNumber(text.substr(at + key.size())));
    const auto comma = text.find(", ", at);
    if (comma != std::string_view::npos) {
        pair.second = std::floor(LeadingNumber(text.substr(comma + 2)));
    }
    return pair;
}

Limits readLimits(std::string_view text) {
    Limits l;
    l.current = numberAfter(text, "Current Limit = ", 255);
    l.upper = numberAfter(text, kUpperLabel, 0);
    l.lower = numberAfter(text, kLowerLabel, 0);
    l.hv = pairAfter(text, "HV Control Value = ");
    l.focus = pairAfter(text, "Focus Control Value = ");
    l.focusH = numberAfter(text, "Focus H Control Value = ", 0);
    l.focusV = numberAfter(text, "Focus V Control Value = ", 0);
    l.g2 = pairAfter(text, "G2 Control Value = ");
    l.video = pairAfter(text, "Video +80V Control Value = ");
    return l;
}

bool storeWhole(std::int16_t& field, double value) {
    if (!FitsInt16(value)) {
        return false;
    }
    field = static_cast<std::int16_t>(value);
    return true;
}

std::string threeDigits(double value) {
    return FormatNumber(value, "000");
}

void showLimitBoxes(const ReplyContext& ctx, const Limits& l) {
    ctx.show("HVUpperLimitTextBox.Text", threeDigits(l.upper));
    ctx.show("HVLowerLimitTextBox.Text", threeDigits(l.lower));
    ctx.show("HVValTextBox.Text", threeDigits(ctx.data.AnalogRaw[4]));
}

void showLimits(const ReplyContext& ctx, Limits l) {
    const std::int16_t code = ctx.data.FirmwareVersionCode;
    if (code < 200) {
        showLimitBoxes(ctx, l);
        return;
    }
    if (code > 299 || code == 200) {
        return;
    }
    showLimitBoxes(ctx, l);
    ctx.show("txtIAnodeLimit.Text", threeDigits(l.current));

    ScrollRun scroll(ctx);
    scroll.set(ShownKey("HScroll1", 0, "Value"), l.hv.first);
    l.hv.first = std::min(l.hv.first, kControlLimit);
    scroll.set(ShownKey("HScroll1", 1, "Value"), l.focus.first);
    l.focus.first = std::min(l.focus.first, kControlLimit);
    scroll.set(ShownKey("HScroll1", 2, "Value"), l.g2.first);
    scroll.set(ShownKey("HScroll1", 3, "Value"), l.video.first);

    ctx.show(ShownKey("Text2", 0, "Text"), threeDigits(l.hv.second));
    ctx.show(ShownKey("Text2", 1, "Text"), threeDigits(l.focus.second));
    ctx.show(ShownKey("Text2", 2, "Text"), threeDigits(l.g2.second));
    ctx.show(ShownKey("Text2", 3, "Text"), threeDigits(l.video.second));
    l.g2.second = std::min(l.g2.second, kControlLimit);
    l.hv.second = std::min(l.hv.second, kControlLimit);
    l.focus.second = std::min(l.focus.second, kControlLimit);

    if (code != kLayout224) {
        return;
    }
    scroll.set(ShownKey("HScroll1", 0, "Value"), l.hv.first);
    scroll.set(ShownKey("HScroll1", 1, "Value"), l.focus.first);
    ctx.show(ShownKey("Label4", 0, "Caption"), threeDigits(l.hv.second));
    ctx.show(ShownKey("Label4", 1, "Caption"), threeDigits(l.focus.second));
    scroll.set(ShownKey("HScroll1", 2, "Value"), std::min(l.focusV, kControlLimit));
    scroll.set(ShownKey("HScroll1", 3, "Value"), std::min(l.focusH, kControlLimit));
}

// A stored limit changes only when its label is there with a number after
// it: a reply without the label (an unknown command's "?") is no limit of
// 0, and a limit on a reading is never negative. A limit too large for 16
// bits leaves the stored one as it was too. True when it stored.
bool storeLimit(std::int16_t& field, std::string_view text, std::string_view key) {
    const auto rest = After(text, key);
    if (!rest) {
        return false;
    }
    const std::string_view number = SkipWhiteSpace(*rest);
    if (number.empty() || !IsDecimalDigit(number)) {
        return false;
    }
    return storeWhole(field, std::floor(LeadingNumber(number)));
}

} // namespace

void LimitsReply(ReplyContext& ctx, std::string_view body) {
    const Limits limits = readLimits(body);
    ctx.data.HVUpperLimitReported |= storeLimit(ctx.data.HVUpperLimit, body, kUpperLabel);
    ctx.data.HVLowerLimitReported |= storeLimit(ctx.data.HVLowerLimit, body, kLowerLabel);
    if (ctx.display != nullptr) {
        showLimits(ctx, limits);
    }
}

} // namespace orlix
