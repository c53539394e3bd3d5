// Remembers what replies showed, so that a reply that comes again in the
// same state shows the same texts without being read a second time.
//
// The data walk asks the same questions over and over, and most answers
// repeat word for word. The handlers still store into the monitor data
// every time; only their display work (finding each field, formatting each
// number, naming each control) is done once per distinct reply and state.
//
// A reply's display texts depend on its own text and on the few values of
// the monitor data that handlers read to lay their texts out: the firmware
// version code, the current scan set, the number of scan sets, the DAC
// counts and the raw analog readings (DisplayInputs). A handler whose
// display texts come to depend on more must add it there.
#pragma once

#include "core/data/monitor_data.h"
#include "core/protocol/display_model.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orlix {

struct DisplayInputs {
    std::int16_t firmwareVersionCode = 0;
    std::int16_t currentScanSet = 0;
    std::int16_t numScanSets = 0;
    std::array<std::int16_t, 6> dacCounts{};
    std::array<std::int16_t, 7> analogRaw{};
    bool operator==(const DisplayInputs&) const = default;

    static DisplayInputs of(const MonitorData& data);
};

class DisplayMemo {
public:
    // Distinct replies kept; past this the memo starts afresh, since
    // readings that drift make new replies without end.
    static constexpr std::size_t kMaxReplies = 128;

    // The texts `reply` showed in `inputs`, with the model as it was then
    // (`clearCount`); null when it has not been seen so.
    const DisplayModel::Writes* find(std::string_view reply, const DisplayInputs& inputs,
                                     std::uint64_t clearCount) const;
    void remember(std::string_view reply, const DisplayInputs& inputs, std::uint64_t clearCount,
                  DisplayModel::Writes writes);
    void clear() { m_replies.clear(); }
    std::size_t size() const { return m_replies.size(); }

private:
    struct Shown {
        DisplayInputs inputs;
        std::uint64_t clearCount = 0;
        DisplayModel::Writes writes;
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, Shown, TextHash, std::equal_to<>> m_replies;
};

} // namespace orlix
