#include "core/dataview/data_set_compare.h"

#include <algorithm>
#include <array>

namespace orlix {

namespace {

std::string trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::string reportedNumber(bool reported, std::int16_t value) {
    return reported ? std::to_string(value) : std::string();
}

constexpr std::array<IdentityItem, 11> kIdentity{{
    {"Model Number", "ModelNumber", [](const MonitorData& d) { return trimmed(d.ModelNumber); }},
    {"Serial Number", "SerialNumber", [](const MonitorData& d) { return trimmed(d.SerialNumber); }},
    {"Part Number", "PartNumber", [](const MonitorData& d) { return trimmed(d.PartNumber); }},
    {"CRT Serial Number", "CrtSerialNumber",
     [](const MonitorData& d) { return trimmed(d.CrtSerialNumber); }},
    {"CRT Part Number", "CrtPartNumber",
     [](const MonitorData& d) { return trimmed(d.CrtPartNumber); }},
    {"Firmware Version", "FirmwareVersion",
     [](const MonitorData& d) { return trimmed(d.FirmwareVersion); }},
    {"ROM Version", "RomVersion", [](const MonitorData& d) { return trimmed(d.RomVersion); }},
    {"Operating Hours", "OperatingHours",
     [](const MonitorData& d) { return trimmed(d.OperatingHours); }},
    {"Operating Cycles", "OperatingCycles",
     [](const MonitorData& d) { return trimmed(d.OperatingCycles); }},
    {"HV Upper Limit", "HVUpperLimit",
     [](const MonitorData& d) { return reportedNumber(d.HVUpperLimitReported, d.HVUpperLimit); }},
    {"HV Lower Limit", "HVLowerLimit",
     [](const MonitorData& d) { return reportedNumber(d.HVLowerLimitReported, d.HVLowerLimit); }},
}};

bool validScanSet(int s) {
    return s >= 0 && s < kMaxScanSets;
}

// Whether any DAC of any group has a value of `column` in scan set `s`.
bool carriesColumn(const MonitorData& data, DacColumn column, int s) {
    return std::any_of(std::begin(kDacGroups), std::end(kDacGroups), [&](GroupId g) {
        return reportedMarks(data.group(g), column)[static_cast<std::size_t>(s)] != 0;
    });
}

std::string orNone(const std::string& text) {
    return text.empty() ? std::string("(none)") : text;
}

void compareDacs(const MonitorData& a, const MonitorData& b, int s, const std::string& name,
                 std::vector<DataSetDifference>& out) {
    std::array<bool, 3> compared{};
    for (std::size_t c = 0; c < compared.size(); ++c) {
        compared[c] = carriesColumn(a, kDacColumns[c], s) && carriesColumn(b, kDacColumns[c], s);
    }
    for (const GroupId g : kDacGroups) {
        const DacGroup& ga = a.group(g);
        const DacGroup& gb = b.group(g);
        for (int k : dacIndexes(ga, g, &gb)) {
            for (std::size_t c = 0; c < compared.size(); ++c) {
                if (!compared[c]) {
                    continue;
                }
                const DacColumn column = kDacColumns[c];
                std::string ta = dacText(ga, column, s, k);
                std::string tb = dacText(gb, column, s, k);
                if (ta != tb) {
                    DataSetDifference d;
                    d.kind = DataSetDifference::Kind::Dac;
                    d.item = dacName(ga, k);
                    d.scanSet = s;
                    d.scanSetName = name;
                    d.group = g;
                    d.dac = k;
                    d.column = column;
                    d.first = std::move(ta);
                    d.second = std::move(tb);
                    out.push_back(std::move(d));
                }
            }
        }
    }
}

} // namespace

std::string scanSetTitle(int scanSet, const std::string& name) {
    std::string title = "Scan set " + std::to_string(scanSet);
    if (!name.empty()) {
        title += " \"" + name + "\"";
    }
    return title;
}

std::string_view columnName(DacColumn column) {
    switch (column) {
    case DacColumn::Value:
        return "Value";
    case DacColumn::F:
        return "F";
    case DacColumn::P:
        return "P";
    }
    return {};
}

std::string_view groupName(GroupId group) {
    switch (group) {
    case GroupId::L:
        return "L";
    case GroupId::B:
        return "B";
    case GroupId::H:
        return "H";
    case GroupId::V:
        return "V";
    case GroupId::N:
        return "N";
    case GroupId::DayNight:
        break;
    }
    return "Day/Night";
}

std::span<const IdentityItem> identityItems() {
    return kIdentity;
}

std::vector<int> dacIndexes(const DacGroup& group, GroupId id, const DacGroup* other) {
    std::array<bool, kMaxDacs> held{};
    for (const DacGroup* g : {&group, other}) {
        if (g == nullptr) {
            continue;
        }
        const int count = std::clamp<int>(g->count, 0, kMaxDacs);
        std::fill_n(held.begin(), count, true);
    }
    if (id == GroupId::H) {
        held[kHorizSCapIndex] = true;
    }
    std::vector<int> dacs;
    for (int k = 0; k < kMaxDacs; ++k) {
        if (held[static_cast<std::size_t>(k)]) {
            dacs.push_back(k);
        }
    }
    return dacs;
}

std::string dacName(const DacGroup& group, int dac) {
    const std::string& name = group.names[static_cast<std::size_t>(dac)];
    return name.empty() ? "DAC " + std::to_string(dac) : name;
}

const DacMarks& reportedMarks(const DacGroup& group, DacColumn column) {
    switch (column) {
    case DacColumn::F:
        return group.FReported;
    case DacColumn::P:
        return group.PReported;
    case DacColumn::Value:
        break;
    }
    return group.ValueReported;
}

std::string dacText(const DacGroup& group, DacColumn column, int scanSet, int dac) {
    if (!validScanSet(scanSet) || dac < 0 || dac >= kMaxDacs ||
        !IsReported(reportedMarks(group, column), scanSet, dac)) {
        return {};
    }
    const DacPlane& plane = column == DacColumn::F   ? group.FValue
                            : column == DacColumn::P ? group.PValue
                                                     : group.Value;
    return std::to_string(plane[static_cast<std::size_t>(scanSet)][static_cast<std::size_t>(dac)]);
}

bool carriesScanSet(const MonitorData& data, int scanSet) {
    if (!validScanSet(scanSet)) {
        return false;
    }
    if (data.ScanSetIncluded[static_cast<std::size_t>(scanSet)]) {
        return true;
    }
    return std::any_of(std::begin(kDacColumns), std::end(kDacColumns),
                       [&](DacColumn c) { return carriesColumn(data, c, scanSet); });
}

std::string scanSetName(const MonitorData& data, int scanSet) {
    return validScanSet(scanSet) ? trimmed(data.ScanSetNames[static_cast<std::size_t>(scanSet)])
                                 : std::string();
}

std::vector<DataSetDifference> compareDataSets(const MonitorData& first,
                                               const MonitorData& second) {
    using Kind = DataSetDifference::Kind;
    std::vector<DataSetDifference> out;
    for (const IdentityItem& item : kIdentity) {
        DataSetDifference d;
        d.first = item.text(first);
        d.second = item.text(second);
        if (d.first != d.second) {
            d.item = std::string(item.label);
            out.push_back(std::move(d));
        }
    }
    for (int s = 0; s < kMaxScanSets; ++s) {
        const bool inFirst = carriesScanSet(first, s);
        const bool inSecond = carriesScanSet(second, s);
        if (!inFirst && !inSecond) {
            continue;
        }
        DataSetDifference d;
        d.scanSet = s;
        const std::string a = scanSetName(first, s);
        const std::string b = scanSetName(second, s);
        d.scanSetName = a.empty() ? b : a;
        if (inFirst != inSecond) {
            d.kind = inFirst ? Kind::ScanSetOnlyInFirst : Kind::ScanSetOnlyInSecond;
            d.scanSetName = inFirst ? a : b;
            out.push_back(std::move(d));
            continue;
        }
        const std::string name = d.scanSetName;
        if (a != b) {
            d.kind = Kind::ScanSetName;
            d.first = a;
            d.second = b;
            out.push_back(std::move(d));
        }
        compareDacs(first, second, s, name, out);
    }
    return out;
}

std::string differenceLine(const DataSetDifference& d) {
    using Kind = DataSetDifference::Kind;
    const std::string change = orNone(d.first) + " -> " + orNone(d.second);
    switch (d.kind) {
    case Kind::Identity:
        return d.item + ": " + change;
    case Kind::ScanSetOnlyInFirst:
        return scanSetTitle(d.scanSet, d.scanSetName) + ": only in the first";
    case Kind::ScanSetOnlyInSecond:
        return scanSetTitle(d.scanSet, d.scanSetName) + ": only in the second";
    case Kind::ScanSetName:
        return "Scan set " + std::to_string(d.scanSet) + " name: " + change;
    case Kind::Dac:
        return scanSetTitle(d.scanSet, d.scanSetName) + ", " + std::string(groupName(d.group)) +
               " " + d.item + ", " + std::string(columnName(d.column)) + ": " + change;
    }
    return {};
}

} // namespace orlix
