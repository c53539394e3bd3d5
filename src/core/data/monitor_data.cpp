#include "core/data/monitor_data.h"

#include <initializer_list>

namespace orlix {

DacGroup& MonitorData::group(GroupId id) {
    switch (id) {
    case GroupId::L:
        return L;
    case GroupId::B:
        return B;
    case GroupId::H:
        return H;
    case GroupId::V:
        return V;
    case GroupId::N:
        return N;
    case GroupId::DayNight:
        break;
    }
    return DayNight;
}

const DacGroup& MonitorData::group(GroupId id) const {
    return const_cast<MonitorData&>(*this).group(id);
}

namespace {

template <std::size_t N>
void setNames(DacGroup& group, const std::array<std::string_view, N>& names) {
    group.names = {};
    for (std::size_t i = 0; i < N; ++i) {
        group.names[i] = std::string(names[i]);
    }
}

} // namespace

void SetDefaultCountsAndNames(MonitorData& data) {
    data.L.count = 8;
    data.B.count = 2;
    data.H.count = 4;
    data.V.count = 7;
    data.N.count = 6;
    data.DayNight.count = 6;
    data.NumScanSets = 6;

    setNames(data.L, std::array<std::string_view, 8>{"Master Contrast", "Master Brightness",
                                                     "Red Gain", "Green Gain", "Blue Gain",
                                                     "Red Offset", "Green Offset", "Blue Offset"});
    setNames(data.B, std::array<std::string_view, 2>{"White Level", "Bias Adjust"});
    setNames(data.H, std::array<std::string_view, 4>{"Horizontal Size", "Horizontal Center",
                                                     "Horizontal Linearity", "Trace Rotation"});
    data.H.names[kHorizSCapIndex] = "Horiz S Cap";
    setNames(data.V, std::array<std::string_view, 7>{
                         "Vertical Size", "Vertical Center", "Vert Linearity", "E-W Correction",
                         "Horiz Trapezoid", "Horiz Parabola", "Horiz Bow"});
    // N indexes 3 to 5 have no names; the data file still carries their lines.
    setNames(data.N, std::array<std::string_view, 3>{"North-South Correction",
                                                     "North-South Trapezoid", "North-South Phase"});
    setNames(data.DayNight,
             std::array<std::string_view, 6>{"Day Lo Red Offset", "Day Lo Grn Offset",
                                             "Day Lo Blu Offset", "Night Lo Red Offset",
                                             "Night Lo Grn Offset", "Night Lo Blu Offset"});
}

std::string storableText(std::string_view text) {
    std::string result(text.substr(0, kMaxUnitText));
    for (char& c : result) {
        if (c == '"') {
            c = '\'';
        } else if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return result;
}

void ClearCapabilities(MonitorData& data) {
    data.Capability.fill(0);
}

void ClearFileIdentity(MonitorData& data) {
    for (std::string* text :
         {&data.ModelNumber, &data.SerialNumber, &data.PartNumber, &data.CrtSerialNumber,
          &data.CrtPartNumber, &data.OperatingHours, &data.OperatingCycles}) {
        text->clear();
    }
    data.HVUpperLimit = 0;
    data.HVLowerLimit = 0;
}

StoreResult StoreDac(MonitorData& data, GroupId group, int dacIndex, std::int16_t first,
                     std::int16_t second, std::int16_t third) {
    const int s = data.ScanSetReading;
    if (s < 0 || s >= kMaxScanSets) {
        return StoreResult::ScanSetOutOfRange;
    }
    if (dacIndex < 0 || dacIndex >= kMaxDacs) {
        return StoreResult::DacIndexOutOfRange;
    }
    DacGroup& g = data.group(group);
    g.Value[s][dacIndex] = first;
    g.LoadedValue[s][dacIndex] = first;
    g.FValue[s][dacIndex] = second;
    g.PValue[s][dacIndex] = third;
    for (DacMarks* marks : {&g.ValueReported, &g.FReported, &g.PReported}) {
        MarkReported(*marks, s, dacIndex);
    }
    return StoreResult::Ok;
}

StoreResult StoreLDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third) {
    return StoreDac(data, GroupId::L, dacIndex, first, second, third);
}

StoreResult StoreBDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third) {
    return StoreDac(data, GroupId::B, dacIndex, first, second, third);
}

StoreResult StoreHDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third) {
    return StoreDac(data, GroupId::H, dacIndex, first, second, third);
}

StoreResult StoreVDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third) {
    return StoreDac(data, GroupId::V, dacIndex, first, second, third);
}

std::string_view describe(StoreResult result) {
    switch (result) {
    case StoreResult::Ok:
        return "";
    case StoreResult::ScanSetOutOfRange:
        return "Scan set index out of range";
    case StoreResult::DacIndexOutOfRange:
        return "DAC index out of range";
    }
    return "";
}

} // namespace orlix
