// The display texts of the last reply of each kind whose controls share
// their names with another reply's.
//
// The display model keeps one text per control name, as the unit's replies
// give them, and several replies name the same control: the limits reply's
// control values and the F sets of L and V both fill "Text2(k)", the
// current values of L and V and the parameter list all fill "Text1(k)", the
// current values of B and N both fill "HScroll2(k)", the first generation's
// analog reply and the sync frequency reply both fill "HFreqTextBox". The
// model holds whichever came last, which is right for none of them.
//
// This keeps, for each such reply, what that reply alone gave: the reply is
// taken in once more by the same handlers, on a copy of the monitor data and
// a display model of its own. Only these few replies are copied (a handful
// per walk of the data items), and nothing else is touched: the copy never
// reaches the tool's monitor data, link flags or windows.
#pragma once

#include "core/data/monitor_data.h"
#include "core/protocol/display_model.h"

#include <array>
#include <string_view>

namespace orlix {

enum class ReplyKind {
    Analog,        // da
    Limits,        // dh
    SyncFrequency, // dv
    Parameters,    // dz
    CurrentL,      // ddl
    CurrentB,      // ddb
    CurrentH,      // ddh
    CurrentV,      // ddv
    NGroupS,       // dds
    NGroupT,       // ddt
    Count
};

class LastReplyTexts {
public:
    // A complete reply from the unit, after the tool has taken it in;
    // `data` is the tool's monitor data as that reply left it.
    void afterReply(std::string_view reply, const MonitorData& data);

    // The text `key` had after the last reply of `kind`; empty when that
    // reply did not give it (or none has come).
    std::string_view text(ReplyKind kind, std::string_view key) const;
    // Every text the last reply of `kind` gave (none: empty).
    const DisplayModel::Entries& entries(ReplyKind kind) const;

    // The kind a reply is routed as, or Count when it is none of the above.
    static ReplyKind kindOf(std::string_view reply);

private:
    std::array<DisplayModel::Entries, static_cast<std::size_t>(ReplyKind::Count)> m_kept{};
};

} // namespace orlix
