// Feeds arbitrary bytes to ReplyDispatcher as reception would: cut after
// every prompt character, then once more as one text.
//
// Input: two setup bytes, then the reply stream. Byte 0 picks the starting
// FirmwareVersionCode (so every analog and N-group layout is reached
// without a DF reply first), byte 1 the DAC counts, NumScanSets and
// CurrentScanSet, out-of-range values included.
//
// Besides the sanitizers, it checks that the display model never changes
// the monitor data or the link (a second protocol runs with the display
// off) and that stored values respect their ranges.
#include "core/data/monitor_data.h"
#include "core/link/link_flags.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_protocol.h"
#include "core/protocol/text_helpers.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace orlix;

constexpr std::array<std::int16_t, 16> kCodes = {0,   100, 139, 199, 200, 216, 224, 250,
                                                 298, 299, 300, 350, 398, 399, -5,  32767};

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void setUp(MonitorData& data, std::uint8_t codeByte, std::uint8_t shapeByte) {
    SetDefaultCountsAndNames(data);
    data.FirmwareVersionCode = kCodes[codeByte % kCodes.size()];
    const auto count = static_cast<std::int16_t>(shapeByte % 12); // 0..11, beyond the tables too
    data.L.count = count;
    data.H.count = count;
    data.B.count = static_cast<std::int16_t>(11 - count);
    data.V.count = static_cast<std::int16_t>((shapeByte / 12) % 12);
    data.NumScanSets = static_cast<std::int16_t>(shapeByte % 9);
    data.CurrentScanSet = static_cast<std::int16_t>(shapeByte / 128 == 0 ? 0 : shapeByte % 9);
}

bool sameGroup(const DacGroup& a, const DacGroup& b) {
    return a.count == b.count && a.Value == b.Value && a.LoadedValue == b.LoadedValue &&
           a.FValue == b.FValue && a.PValue == b.PValue;
}

bool sameData(const MonitorData& a, const MonitorData& b) {
    return sameGroup(a.L, b.L) && sameGroup(a.B, b.B) && sameGroup(a.H, b.H) &&
           sameGroup(a.V, b.V) && sameGroup(a.N, b.N) && a.ScanSetNames == b.ScanSetNames &&
           a.ScanSetIncluded == b.ScanSetIncluded && a.ScanSetsReported == b.ScanSetsReported &&
           a.ModelNumber == b.ModelNumber && a.SerialNumber == b.SerialNumber &&
           a.PartNumber == b.PartNumber && a.CrtSerialNumber == b.CrtSerialNumber &&
           a.CrtPartNumber == b.CrtPartNumber && a.FirmwareVersion == b.FirmwareVersion &&
           a.RomVersion == b.RomVersion && a.OperatingHours == b.OperatingHours &&
           a.OperatingCycles == b.OperatingCycles &&
           a.FirmwareVersionCode == b.FirmwareVersionCode && a.HVUpperLimit == b.HVUpperLimit &&
           a.HVLowerLimit == b.HVLowerLimit && a.Capability == b.Capability &&
           a.AnalogRaw == b.AnalogRaw && a.HsyncFrequencyText == b.HsyncFrequencyText &&
           a.HsyncFrequencyWhole == b.HsyncFrequencyWhole &&
           a.HsyncFrequencyHundredths == b.HsyncFrequencyHundredths && a.ValueH == b.ValueH &&
           a.ValueV == b.ValueV && a.ValueVR == b.ValueVR && a.ValueHP == b.ValueHP &&
           a.ValueVP == b.ValueVP;
}

bool sameLink(const LinkFlags& a, const LinkFlags& b) {
    return a.MonitorConnected == b.MonitorConnected && a.MonitorInBootMode == b.MonitorInBootMode;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void checkRanges(const MonitorData& d) {
    for (auto v : d.AnalogRaw) {
        require(v >= 0 && v <= 255);
    }
    for (const DacPlane* plane : {&d.N.FValue, &d.N.PValue}) {
        for (const auto& row : *plane) {
            for (auto v : row) {
                require(v >= 0 && v <= 63);
            }
        }
    }
    for (auto c : d.Capability) {
        require(c == 0 || c == 1);
    }
    for (const std::string* s : {&d.ModelNumber, &d.SerialNumber, &d.PartNumber, &d.CrtSerialNumber,
                                 &d.CrtPartNumber, &d.FirmwareVersion, &d.RomVersion}) {
        require(!hasLineBreak(*s)); // would break the data file's lines
    }
}

void checkHelpers(std::string_view text) {
    const std::int32_t n = ParseNumber(text);
    require(n >= -65529 && n <= 65529);
    std::string_view c = text;
    const std::int32_t cn = ParseCNumber(c);
    require(cn >= -65529 && cn <= 65529);
    require(c.size() + 1 >= text.size());
    (void)GetKeyValue(text, "control=", ";");
    (void)LeadingNumber(text);
    (void)ParseWideNumber(text);
    (void)IsBase62Text(text.substr(0, 4));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string_view stream(reinterpret_cast<const char*>(bytes + 2), size - 2);
    checkHelpers(stream);

    MonitorData shownData, plainData;
    setUp(shownData, bytes[0], bytes[1]);
    setUp(plainData, bytes[0], bytes[1]);
    LinkFlags shownLink, plainLink;
    ProtocolEvents shownEvents, plainEvents;
    ReplyProtocol shown(shownData, shownLink, shownEvents);
    ReplyProtocol plain(plainData, plainLink, plainEvents);
    plain.setDisplayEnabled(false);

    const auto dispatch = [&](std::string_view reply) {
        shown.ReplyDispatcher(reply);
        plain.ReplyDispatcher(reply);
        require(sameData(shownData, plainData));
        require(sameLink(shownLink, plainLink));
    };

    std::size_t start = 0;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        if (stream[i] == '#' || stream[i] == '$') {
            dispatch(stream.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < stream.size()) {
        dispatch(stream.substr(start));
    }
    dispatch(stream);
    checkRanges(shownData);
    return 0;
}
