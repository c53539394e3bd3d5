// The N group (north-south DACs): its F and P sets, the S and T replies, and
// the three store helpers they share.
//
// The N values sit on the reply's second data line. Every value passes the
// range check 0..255 and is then limited to 63. Firmware 2.24 reports them
// in another layout, so FirmwareVersionCode 224 picks other helpers.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <algorithm>
#include <initializer_list>

namespace orlix {

namespace {

constexpr std::int32_t kDacMax = 255;
constexpr std::int16_t kLayout224 = 224;

// Reads one field per plane index in `indexes`, skipping `skip` extra fields
// after each, and stops at the first value out of range.
NStored storeN(std::string_view text, std::int32_t limit, DacPlane& plane, int scanSet,
               std::initializer_list<int> indexes, int skip) {
    NStored stored;
    if (scanSet < 0 || scanSet >= kMaxScanSets) {
        return stored;
    }
    for (int index : indexes) {
        std::int32_t v = ParseNumber(text);
        if (v < 0 || v > kDacMax) {
            break;
        }
        v = std::min(v, limit);
        plane[scanSet][index] = static_cast<std::int16_t>(v);
        stored.values[stored.count++] = static_cast<std::int16_t>(v);
        for (int i = 0; i <= skip; ++i) {
            text = AfterComma(text);
        }
    }
    return stored;
}

// Where a store helper's values went: DACs from `firstDac` on. How they
// reach the NText5 (F) or NText6 (P) boxes: fields from `firstField`
// (0-based) on, into boxes from `firstBox` on.
struct NTextLayout {
    int firstDac;
    int firstField;
    int firstBox;
    int boxes;
};

constexpr NTextLayout kTwoValues{0, 0, 0, 2};
constexpr NTextLayout kFourInS{0, 1, 0, 3};
constexpr NTextLayout kFourInT{0, 1, 2, 3};
constexpr NTextLayout kFromTwo{2, 0, 2, 4};

// Marks what a store helper stored as reported, then shows it.
void reportN(ReplyContext& ctx, ValueSet set, const NStored& stored, NTextLayout layout) {
    DacMarks& marks = set == ValueSet::F ? ctx.data.N.FReported : ctx.data.N.PReported;
    for (int i = 0; i < stored.count; ++i) {
        MarkReported(marks, ctx.data.CurrentScanSet, layout.firstDac + i);
    }
    if (ctx.display == nullptr) {
        return;
    }
    const std::string_view box = set == ValueSet::F ? "NText5" : "NText6";
    for (int i = 0; i < layout.boxes; ++i) {
        const int field = layout.firstField + i;
        if (field >= stored.count) {
            break;
        }
        ctx.show(ShownKey(box, layout.firstBox + i, "Text"),
                 FormatNumber(std::int32_t{stored.values[static_cast<std::size_t>(field)]}, "0"));
    }
}

DacPlane& nPlane(ReplyContext& ctx, ValueSet set) {
    return set == ValueSet::F ? ctx.data.N.FValue : ctx.data.N.PValue;
}

// The S-family store (S reply P/F rows and PS): four values, or two on 224.
void storeSFamily(ReplyContext& ctx, ValueSet set, std::string_view text) {
    DacPlane& plane = nPlane(ctx, set);
    const int s = ctx.data.CurrentScanSet;
    if (ctx.data.FirmwareVersionCode == kLayout224) {
        reportN(ctx, set, StoreNValues2(text, kNValueLimit, plane, s), kTwoValues);
    } else {
        reportN(ctx, set, StoreNValues4(text, kNValueLimit, plane, s), kFourInS);
    }
}

void showCurrentN(ReplyContext& ctx, char letter, std::string_view body) {
    ScrollRun scroll(ctx);
    if (letter == 'T') {
        for (int box = 2; box <= 5; ++box) {
            scroll.set(ShownKey("HScroll2", box, "Value"), ParseNumber(body));
            body = AfterComma(body);
        }
        return;
    }
    const bool layout224 = ctx.data.FirmwareVersionCode == kLayout224;
    const std::int32_t first = ParseNumber(body);
    body = AfterComma(body);
    const std::int32_t second = ParseNumber(body);
    body = AfterComma(body);
    const std::int32_t third = ParseNumber(body);
    scroll.set(ShownKey("HScroll2", 0, "Value"), first);
    scroll.set(ShownKey("HScroll2", 1, "Value"), layout224 ? third : second);
    if (!layout224) {
        scroll.set(ShownKey("HScroll2", 2, "Value"), third);
    }
}

} // namespace

NStored StoreNValues4(std::string_view text, std::int32_t limit, DacPlane& plane, int scanSet) {
    return storeN(text, limit, plane, scanSet, {0, 1, 2, 3}, 0);
}

NStored StoreNValues2(std::string_view text, std::int32_t limit, DacPlane& plane, int scanSet) {
    return storeN(text, limit, plane, scanSet, {0, 1}, 1);
}

NStored StoreNValuesFrom2(std::string_view text, std::int32_t limit, DacPlane& plane, int scanSet) {
    return storeN(text, limit, plane, scanSet, {2, 3, 4, 5}, 0);
}

void NGroupSetReply(ReplyContext& ctx, ValueSet set, char letter, std::string_view body) {
    const std::string_view text = AfterLineFeed(body);
    DacPlane& plane = nPlane(ctx, set);
    const int s = ctx.data.CurrentScanSet;
    const bool layout224 = ctx.data.FirmwareVersionCode == kLayout224;
    if (letter == 'S') {
        if (set == ValueSet::F) {
            // FS reads fields 1 and 3 whatever the firmware.
            reportN(ctx, set, StoreNValues2(text, kNValueLimit, plane, s), kTwoValues);
        } else {
            storeSFamily(ctx, set, text);
        }
        return;
    }
    if (layout224) {
        reportN(ctx, set, StoreNValuesFrom2(text, kNValueLimit, plane, s), kFromTwo);
    } else {
        reportN(ctx, set, StoreNValues4(text, kNValueLimit, plane, s), kFourInT);
    }
}

void NGroupReply(ReplyContext& ctx, char letter, std::string_view body) {
    const char first = FirstUpper(body);
    if (first != 'P' && first != 'F') {
        if (ctx.display != nullptr) {
            showCurrentN(ctx, letter, body);
        }
        return;
    }
    const ValueSet set = first == 'P' ? ValueSet::P : ValueSet::F;
    const std::string_view text = AfterLineFeed(body);
    if (letter == 'S') {
        storeSFamily(ctx, set, text);
        return;
    }
    // The T reply's rows do not depend on the firmware.
    reportN(ctx, set,
            StoreNValuesFrom2(text, kNValueLimit, nPlane(ctx, set), ctx.data.CurrentScanSet),
            kFromTwo);
}

} // namespace orlix
