// A reply protocol wired to fresh monitor data, link flags and recorded
// events, and small builders for replies as the unit sends them.
#pragma once

#include "core/protocol/reply_protocol.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ranges>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace orlix::prototest {

struct RecordingEvents : ProtocolEvents {
    std::vector<std::string> firmwareLabels, epromLabels;
    std::vector<bool> controlModes;
    std::vector<std::string> records, addresses, bReplies;
    int displayChanges = 0;

    void firmwareVersionLabel(const std::string& text) override { firmwareLabels.push_back(text); }
    void epromVersionLabel(const std::string& text) override { epromLabels.push_back(text); }
    void controlModeReported(bool software) override { controlModes.push_back(software); }
    void downloadRecordReply(std::string_view text) override { records.emplace_back(text); }
    void downloadAddressReply(std::string_view text) override { addresses.emplace_back(text); }
    void downloadBReply(std::string_view text) override { bReplies.emplace_back(text); }
    void displayChanged() override { ++displayChanges; }
};

// "echo" CR LF, each line CR LF, then the prompt.
inline std::string Reply(std::string_view echo, std::initializer_list<std::string_view> lines) {
    std::string text(echo);
    text += "\r\n";
    for (std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text + '#';
}

// Every value (arrays element by element), each followed by '|'.
template <typename... T>
std::string Dump(const T&... values) {
    std::ostringstream out;
    const auto put = [&](const auto& self, const auto& value) -> void {
        using V = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::ranges::range<V> && !std::is_same_v<V, std::string>) {
            for (const auto& v : value) {
                self(self, v);
            }
        } else {
            out << value << '|';
        }
    };
    (put(put, values), ...);
    return out.str();
}

// Every field of the monitor data that a reply may touch, as one text, so
// that "nothing changed" is a single comparison.
inline std::string Snapshot(const MonitorData& d) {
    std::string text;
    for (const DacGroup* g : {&d.L, &d.B, &d.H, &d.V, &d.N, &d.DayNight}) {
        text += Dump(g->count, g->Value, g->LoadedValue, g->FValue, g->PValue, g->ValueReported,
                     g->FReported, g->PReported);
    }
    return text + Dump(d.NumScanSets, d.CurrentScanSet, d.ScanSetReading, d.ScanSetsReported,
                       d.ScanSetNames, d.ScanSetIncluded, d.ModelNumber, d.SerialNumber,
                       d.PartNumber, d.CrtSerialNumber, d.CrtPartNumber, d.FirmwareVersion,
                       d.RomVersion, d.OperatingHours, d.OperatingCycles, d.FirmwareVersionCode,
                       d.HVUpperLimit, d.HVLowerLimit, d.HVUpperLimitReported,
                       d.HVLowerLimitReported, d.Capability, d.AnalogRaw, d.HsyncFrequencyText,
                       d.HsyncFrequencyWhole, d.HsyncFrequencyHundredths, d.ValueH, d.ValueV,
                       d.ValueVR, d.ValueHP, d.ValueVP, d.DataChanged);
}

inline std::string Snapshot(const LinkFlags& l) {
    return Dump(l.OnlineMode, l.OfflineMode, l.BootMode, l.DemoMode, l.MonitorConnected,
                l.MonitorInBootMode);
}

class ProtocolTest : public ::testing::Test {
protected:
    ProtocolTest() { SetDefaultCountsAndNames(data); }

    void reply(std::string_view text) { protocol.ReplyDispatcher(text); }
    void reply(std::string_view echo, std::initializer_list<std::string_view> lines) {
        protocol.ReplyDispatcher(Reply(echo, lines));
    }
    std::string shown(std::string_view key) const {
        return std::string(protocol.display().text(key));
    }
    bool isShown(std::string_view key) const { return protocol.display().contains(key); }
    void withFirmware(std::int16_t code) { data.FirmwareVersionCode = code; }

    MonitorData data;
    LinkFlags link;
    RecordingEvents events;
    ReplyProtocol protocol{data, link, events};
};

} // namespace orlix::prototest
