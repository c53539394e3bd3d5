// The reply handlers that the dispatcher routes to, one family per file.
//
// Each handler takes the body of its reply: the text after its routing
// letters with leading white space removed (for a reply from the unit, the
// data lines and the prompt). A handler first stores what the monitor data
// keeps, then, when a display model is attached, gives the rest to the
// display model. Display code reads the monitor data but never writes it.
#pragma once

#include "core/data/monitor_data.h"
#include "core/link/link_flags.h"
#include "core/protocol/display_model.h"
#include "core/protocol/protocol_events.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlix {

struct ReplyContext {
    MonitorData& data;
    LinkFlags& link;
    ProtocolEvents& events;
    DisplayModel* display = nullptr; // null: nothing is shown

    void show(std::string_view key, std::string_view text) const {
        if (display != nullptr) {
            display->set(key, text);
        }
    }
    void show(const ShownKey& key, std::string_view text) const {
        if (display != nullptr) {
            display->set(key, text);
        }
    }
};

// Scroll bars of the adjustment controls take 0..kScrollMax; within one
// reply, the first value outside that range ends the run of scroll values
// (later ones are not shown), while texts are still shown.
inline constexpr double kScrollMax = 255;

class ScrollRun {
public:
    explicit ScrollRun(const ReplyContext& ctx) : m_ctx(ctx) {}
    void set(const ShownKey& key, double value);

private:
    const ReplyContext& m_ctx;
    bool m_ended = false;
};

enum class ValueSet { F, P };

// --- Adjustment values (DD family) -------------------------------------------
void CurrentValueReply(ReplyContext& ctx, GroupId group, std::string_view body);
void ValueSetReply(ReplyContext& ctx, ValueSet set, GroupId group, std::string_view body);
// FS, FT, PS, PT: `letter` is 'S' or 'T'.
void NGroupSetReply(ReplyContext& ctx, ValueSet set, char letter, std::string_view body);
// S and T replies with their first data character choosing P, F or current.
void NGroupReply(ReplyContext& ctx, char letter, std::string_view body);
void ScanSetNameReply(ReplyContext& ctx, std::string_view body);

// What an N-group store helper stored: `count` values, in field order.
struct NStored {
    int count = 0;
    std::array<std::int16_t, 4> values{};
};
inline constexpr std::int32_t kNValueLimit = 63;
// Fields 1..4 to plane (s, 0..3).
NStored StoreNValues4(std::string_view text, std::int32_t limit, DacPlane& plane, int scanSet);
// Fields 1 and 3 to plane (s, 0) and (s, 1).
NStored StoreNValues2(std::string_view text, std::int32_t limit, DacPlane& plane, int scanSet);
// Fields 1..4 to plane (s, 2..5).
NStored StoreNValuesFrom2(std::string_view text, std::int32_t limit, DacPlane& plane, int scanSet);

// --- Configuration (DB, DC, DY, DZ) ------------------------------------------
void AutoBootReply(ReplyContext& ctx, std::string_view body);
void ConfigurationReply(ReplyContext& ctx, std::string_view body);
void ControlModeReply(ReplyContext& ctx, std::string_view body);
void ParameterListReply(ReplyContext& ctx, std::string_view body);

// --- Versions and limits (DE, DF, DH) ----------------------------------------
void EpromVersionReply(ReplyContext& ctx, std::string_view body);
void FirmwareVersionReply(ReplyContext& ctx, std::string_view body);
void LimitsReply(ReplyContext& ctx, std::string_view body);
// The version number times 100 as the unit's generation code: single
// precision plus 0.4, so "1.39" gives 139. 0 when the text does not start
// with a number or the code does not fit 16 bits.
std::int16_t VersionCode(std::string_view versionText);

// --- Analog readings (DA) ----------------------------------------------------
void AnalogReadings1(ReplyContext& ctx, std::string_view body);
void AnalogReadings2(ReplyContext& ctx, std::string_view body);
void AnalogReadings3(ReplyContext& ctx, std::string_view body);

// --- Identity (DM, DS, DR, DP) -----------------------------------------------
void ModelNumberReply(ReplyContext& ctx, std::string_view body);
void SerialNumberReply(ReplyContext& ctx, std::string_view body);
void DutyCycleReply(ReplyContext& ctx, std::string_view body);
void PanelStatusReply(ReplyContext& ctx, std::string_view body);

// --- Time and frequency (DT, DU, DV, DW, DX) ---------------------------------
void OperatingTimeReply(ReplyContext& ctx, std::string_view body);
void SyncFrequencyReply(ReplyContext& ctx, std::string_view body);
void ModelTypeReply(ReplyContext& ctx, std::string_view body);
void CapabilityReply(ReplyContext& ctx, std::string_view body);

// --- Register, device and acknowledgement (H, M, P, R) -----------------------
void HandleHReply(ReplyContext& ctx, std::string_view body);
void HandleMReply(ReplyContext& ctx, std::string_view body);
void HandlePReply(ReplyContext& ctx, std::string_view body);
void HandleRReply(ReplyContext& ctx, std::string_view body);

} // namespace orlix
