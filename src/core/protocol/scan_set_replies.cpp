// The scan set name reply (DDN): one line per scan set, "number,flag,name".
// It tells which scan sets the unit has and what they are called; the data
// file writes the included ones.
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <algorithm>

namespace orlix {

void ScanSetNameReply(ReplyContext& ctx, std::string_view body) {
    MonitorData& data = ctx.data;
    const int lines = std::clamp<int>(data.NumScanSets, 0, kMaxScanSets);
    const int highest = std::min<int>(data.NumScanSets, kMaxScanSets - 1);
    std::string_view text = body;
    bool reported = false;
    for (int line = 0; line < lines; ++line) {
        // Only complete lines count: what follows the last line end is the
        // prompt, not a scan set.
        if (text.find('\n') == std::string_view::npos) {
            break;
        }
        std::int32_t n = ParseNumber(text);
        if (n < 0 || n > highest) {
            n = 0;
        }
        text = AfterComma(text);
        std::int32_t flag = ParseNumber(text);
        if (flag < 0 || flag > 1) {
            flag = 0;
        }
        text = AfterComma(text);
        const std::string_view name = CutAtLineEnd(text);
        const auto index = static_cast<std::size_t>(n);
        data.ScanSetNames[index] = storableText(name);
        data.ScanSetIncluded[index] = flag == 1;
        reported = true;
        ctx.show(ShownKey("ScanName", n, "Caption"), name);
        ctx.show(ShownKey("Check1", n, "Value"), FormatNumber(flag, "0"));
        text = AfterLineFeed(text);
    }
    if (reported) {
        data.ScanSetsReported = true;
    }
}

} // namespace orlix
