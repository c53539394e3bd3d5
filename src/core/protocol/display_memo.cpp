#include "core/protocol/display_memo.h"

namespace orlix {

DisplayInputs DisplayInputs::of(const MonitorData& data) {
    DisplayInputs in;
    in.firmwareVersionCode = data.FirmwareVersionCode;
    in.currentScanSet = data.CurrentScanSet;
    in.numScanSets = data.NumScanSets;
    in.dacCounts = {data.L.count, data.B.count, data.H.count,
                    data.V.count, data.N.count, data.DayNight.count};
    in.analogRaw = data.AnalogRaw;
    return in;
}

const DisplayModel::Writes* DisplayMemo::find(std::string_view reply, const DisplayInputs& inputs,
                                              std::uint64_t clearCount) const {
    const auto it = m_replies.find(reply);
    if (it == m_replies.end() || it->second.clearCount != clearCount ||
        !(it->second.inputs == inputs)) {
        return nullptr;
    }
    return &it->second.writes;
}

void DisplayMemo::remember(std::string_view reply, const DisplayInputs& inputs,
                           std::uint64_t clearCount, DisplayModel::Writes writes) {
    if (m_replies.size() >= kMaxReplies && m_replies.find(reply) == m_replies.end()) {
        m_replies.clear();
    }
    Shown& shown = m_replies[std::string(reply)];
    shown.inputs = inputs;
    shown.clearCount = clearCount;
    shown.writes = std::move(writes);
}

} // namespace orlix
