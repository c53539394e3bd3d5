// The one in-memory copy of what the tool knows about the attached unit:
// DAC values per scan set, identity texts, limits, capability flags and the
// state of the open data file. Reply handlers and the data file reader fill
// it; nothing here talks to the line or the windows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlix {

inline constexpr int kMaxScanSets = 7; // scan set index 0..6
inline constexpr int kMaxDacs = 10;    // DAC index 0..9
inline constexpr int kHorizSCapIndex = 8;

using DacPlane = std::array<std::array<std::int16_t, kMaxDacs>, kMaxScanSets>;

// Which entries of a plane the unit or the data file has given: bit k of
// entry s stands for DAC k of scan set s. The other entries still hold their
// initial 0, which a viewer must not show as a value.
using DacMarks = std::array<std::uint16_t, kMaxScanSets>;

inline void MarkReported(DacMarks& marks, int scanSet, int dac) {
    marks[static_cast<std::size_t>(scanSet)] |= static_cast<std::uint16_t>(1u << dac);
}
inline bool IsReported(const DacMarks& marks, int scanSet, int dac) {
    return ((marks[static_cast<std::size_t>(scanSet)] >> dac) & 1u) != 0;
}

// One DAC group. `count` is the design's NumLDacs, NumBDacs, ... of the group.
struct DacGroup {
    std::int16_t count = 0;
    std::array<std::string, kMaxDacs> names{};
    DacPlane Value{};
    DacPlane LoadedValue{};
    DacPlane FValue{};
    DacPlane PValue{};
    // What was given of Value (and so of LoadedValue), FValue and PValue.
    DacMarks ValueReported{};
    DacMarks FReported{};
    DacMarks PReported{};
};

enum class GroupId { L, B, H, V, N, DayNight };
// The groups of DACs with a count, a value per scan set and F and P sets.
inline constexpr GroupId kDacGroups[] = {GroupId::L, GroupId::B, GroupId::H, GroupId::V,
                                         GroupId::N};

struct MonitorData {
    // Scan sets.
    std::int16_t NumScanSets = 6;
    std::int16_t CurrentScanSet = 0;
    std::int16_t ScanSetReading = 0;
    std::array<std::string, kMaxScanSets> ScanSetNames{};
    std::array<bool, kMaxScanSets> ScanSetIncluded{};
    // True once the unit's scan set name reply or a data file has said which
    // scan sets there are; until then the data file includes scan sets
    // 0..NumScanSets-1.
    bool ScanSetsReported = false;

    // DAC groups.
    DacGroup L, B, H, V, N, DayNight;

    // Identity and limits.
    std::string ModelNumber, SerialNumber, PartNumber, CrtSerialNumber, CrtPartNumber;
    std::string FirmwareVersion, RomVersion, OperatingHours, OperatingCycles;
    std::int16_t FirmwareVersionCode = 0;
    std::int16_t HVUpperLimit = 0;
    std::int16_t HVLowerLimit = 0;
    // Given by the limits reply or the data file (not only their initial 0).
    bool HVUpperLimitReported = false;
    bool HVLowerLimitReported = false;
    std::array<std::int16_t, 8> Capability{};
    std::array<std::int16_t, 7> AnalogRaw{};
    std::string HsyncFrequencyText;
    std::int16_t HsyncFrequencyWhole = 0;
    std::int16_t HsyncFrequencyHundredths = 0;
    std::int16_t ValueH = 0, ValueV = 0, ValueVR = 0, ValueHP = 0, ValueVP = 0;
    // The identity came from the data file that was read, not from a unit:
    // it is the user's data, written back with the data set whether or not
    // a unit is connected, and kept when the link goes offline.
    bool IdentityFromFile = false;

    // Data file state.
    std::string DataFileExt, DataFileHeader, DataFileVersion;
    std::string DataFilePath, DataFileTitle;
    bool FileIsOpen = false;
    std::int16_t DiskFileNum = 0;
    bool FileOpenForInput = false;
    bool DataChanged = false;
    std::int64_t LinePos = 0; // byte position; wide so that large files read

    DacGroup& group(GroupId id);
    const DacGroup& group(GroupId id) const;
};

inline constexpr std::string_view kDataFileExt = ".mdv";
inline constexpr std::string_view kDataFileHeader = "Norvique Monitor DAC Value File";
inline constexpr std::string_view kDataFileVersion = "Version 3.0";

// Texts about the unit (identity, versions, scan set names) are kept to
// this length, so that a data file line carries each one whole.
inline constexpr std::size_t kMaxUnitText = 1000;

// A text as the tool keeps it and the data file carries it: at most
// kMaxUnitText characters, a double quote (which would end a file field)
// as an apostrophe, a line break as a blank. Written and read back, such a
// text is the same text.
std::string storableText(std::string_view text);

// Counts and names as a unit without any reply has them.
void SetDefaultCountsAndNames(MonitorData& data);

// The capability flags all 0.
void ClearCapabilities(MonitorData& data);

// The identity texts a data file carries (not the versions) empty and the
// high-voltage limits 0.
void ClearFileIdentity(MonitorData& data);

enum class StoreResult { Ok, ScanSetOutOfRange, DacIndexOutOfRange };

// Store one data file DAC line for scan set ScanSetReading: Value and
// LoadedValue := first, FValue := second, PValue := third. A scan set
// outside 0..6 or a DAC index outside 0..9 is refused and changes nothing.
StoreResult StoreDac(MonitorData& data, GroupId group, int dacIndex, std::int16_t first,
                     std::int16_t second, std::int16_t third);
StoreResult StoreLDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third);
StoreResult StoreBDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third);
StoreResult StoreHDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third);
StoreResult StoreVDac(MonitorData& data, int dacIndex, std::int16_t first, std::int16_t second,
                      std::int16_t third);

std::string_view describe(StoreResult result);

} // namespace orlix
