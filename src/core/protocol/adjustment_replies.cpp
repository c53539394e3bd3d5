// Current, F-set and P-set values of the DAC groups L, B, H and V.
//
// F and P replies store values 0..255 into the group's FValue or PValue
// plane for CurrentScanSet, field by field, and stop at the first field out
// of range. The H group carries one extra value after its counted ones,
// stored at index 8 as read. Current-value replies store nothing; what they
// carry goes to the display model only.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <algorithm>

namespace orlix {

namespace {

constexpr std::int32_t kDacMax = 255;
constexpr std::int32_t kExtraHDisplayLimit = 15;

int clampedCount(const DacGroup& group) {
    return std::clamp<int>(group.count, 0, kMaxDacs);
}

bool validScanSet(int s) {
    return s >= 0 && s < kMaxScanSets;
}

// Where a set reply's k-th value is shown.
ShownKey setValueKey(ValueSet set, GroupId group, int k) {
    const bool f = set == ValueSet::F;
    switch (group) {
    case GroupId::B:
        return ShownKey(f ? "BText2" : "BText3", k, "Text");
    case GroupId::H:
        return ShownKey(f ? "HText2" : "HText3", k, "Text");
    case GroupId::L:
        if (k == 0) {
            return ShownKey(f ? "Label15" : "Label12", "Caption");
        }
        if (k == 1) {
            return ShownKey(f ? "Label33" : "Label31", "Caption");
        }
        return ShownKey(f ? "Text2" : "Text3", k, "Text");
    default:
        return ShownKey(f ? "Text2" : "Text3", k, "Text");
    }
}

void showCurrentB(ReplyContext& ctx, std::string_view body) {
    // Exactly two fields, shown as read.
    ScrollRun scroll(ctx);
    for (int k = 0; k < 2; ++k) {
        const std::int32_t v = ParseNumber(body);
        scroll.set(ShownKey("HScroll2", k, "Value"), v);
        ctx.show(ShownKey("BText1", k, "Text"), FormatNumber(v, "0"));
        body = AfterComma(body);
    }
}

void showCurrentLV(ReplyContext& ctx, GroupId group, std::string_view body) {
    ScrollRun scroll(ctx);
    const int count = clampedCount(ctx.data.group(group));
    for (int k = 0; k < count; ++k) {
        const std::int32_t v = ParseNumber(body);
        const std::string text = FormatNumber(v, "0");
        if (group == GroupId::L && k == 0) {
            scroll.set(ShownKey("HScroll_contrast", "Value"), v);
            ctx.show(ShownKey("lblContrastPV", "Caption"), text);
        } else if (group == GroupId::L && k == 1) {
            scroll.set(ShownKey("HScroll_Brightness", "Value"), v);
            ctx.show(ShownKey("Label18", "Caption"), text);
        } else {
            scroll.set(ShownKey("HScroll1", k, "Value"), v);
            ctx.show(ShownKey("Text1", k, "Text"), text);
        }
        body = AfterComma(body);
    }
}

void showCurrentH(ReplyContext& ctx, std::string_view body) {
    ScrollRun scroll(ctx);
    const int count = clampedCount(ctx.data.H);
    for (int k = 0; k < count; ++k) {
        const std::int32_t v = ParseNumber(body);
        scroll.set(ShownKey("HHScroll1", k, "Value"), v);
        ctx.show(ShownKey("HText1", k, "Text"), FormatNumber(v, "0"));
        body = AfterComma(body);
    }
    const std::int32_t extra = std::min(ParseNumber(body), kExtraHDisplayLimit);
    scroll.set(ShownKey("HHScroll1", kHorizSCapIndex, "Value"), extra);
    ctx.show(ShownKey("HText1", kHorizSCapIndex, "Text"), FormatNumber(extra, "0"));
}

} // namespace

void CurrentValueReply(ReplyContext& ctx, GroupId group, std::string_view body) {
    if (ctx.display == nullptr) {
        return; // the monitor data keeps none of it
    }
    switch (group) {
    case GroupId::B:
        showCurrentB(ctx, body);
        break;
    case GroupId::H:
        showCurrentH(ctx, body);
        break;
    case GroupId::L:
    case GroupId::V:
        showCurrentLV(ctx, group, body);
        break;
    default:
        break;
    }
}

void ValueSetReply(ReplyContext& ctx, ValueSet set, GroupId group, std::string_view body) {
    const int s = ctx.data.CurrentScanSet;
    if (!validScanSet(s)) {
        return;
    }
    DacGroup& g = ctx.data.group(group);
    DacPlane& plane = set == ValueSet::F ? g.FValue : g.PValue;
    DacMarks& marks = set == ValueSet::F ? g.FReported : g.PReported;
    const int count = clampedCount(g);
    for (int k = 0; k < count; ++k) {
        const std::int32_t v = ParseNumber(body);
        if (v < 0 || v > kDacMax) {
            return; // the rest of the reply, the extra H value too, is not read
        }
        plane[s][k] = static_cast<std::int16_t>(v);
        MarkReported(marks, s, k);
        ctx.show(setValueKey(set, group, k), FormatNumber(v, "0"));
        body = AfterComma(body);
    }
    if (group != GroupId::H) {
        return;
    }
    // The extra H value has no range check; it is kept only if it fits.
    const std::int32_t extra = ParseNumber(body);
    if (StoreIfFits(plane[s][kHorizSCapIndex], extra)) {
        MarkReported(marks, s, kHorizSCapIndex);
    }
    ctx.show(setValueKey(set, group, kHorizSCapIndex), FormatNumber(extra, "0"));
}

} // namespace orlix
