// Compares two data sets as a technician checks a service job: the identity
// lines (those a data file carries), the scan sets each carries and their
// names, and every DAC value (Value, F, P) of every scan set both carry.
//
// What counts as a difference:
//  - an identity line whose texts differ (blanks at either end ignored), a
//    line that only one side has included;
//  - a scan set that only one side carries, or that both carry under other
//    names;
//  - a DAC value that differs, or that only one side has, within a column
//    both sides carry in that scan set. A column one side carries nowhere in
//    a scan set is not compared there: the unit never reports the first
//    column, so a live data set compared with a file would otherwise show
//    every first-column value as a difference.
//
// Also here: what a data set holds, as texts, for the view and the compare
// alike, with "" for a value nobody reported (never a made-up 0).
#pragma once

#include "core/data/monitor_data.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlix {

enum class DacColumn { Value, F, P };
inline constexpr DacColumn kDacColumns[] = {DacColumn::Value, DacColumn::F, DacColumn::P};

std::string_view columnName(DacColumn column); // "Value", "F", "P"
std::string_view groupName(GroupId group);     // "L", "B", "H", "V", "N"

// One identity line: its label (the data file's key without the colon), a
// name for it (the monitor data's field) and its text.
struct IdentityItem {
    std::string_view label;
    std::string_view name;
    std::string (*text)(const MonitorData&);
};
std::span<const IdentityItem> identityItems();

// The DACs of a group that a data set holds, in order: those its count
// covers, and for H the "Horiz S Cap" at index 8 too; with `other`, those
// either of the two holds.
std::vector<int> dacIndexes(const DacGroup& group, GroupId id, const DacGroup* other = nullptr);
// Its name from the group's table, or "DAC k" for one without a name.
std::string dacName(const DacGroup& group, int dac);
// The value as text; "" when neither the unit nor a file gave it.
std::string dacText(const DacGroup& group, DacColumn column, int scanSet, int dac);
const DacMarks& reportedMarks(const DacGroup& group, DacColumn column);

// A scan set the data set carries: one the unit or a file named as
// included, or one that holds any reported value.
bool carriesScanSet(const MonitorData& data, int scanSet);
// Its name with blanks at either end dropped ("" when it has none).
std::string scanSetName(const MonitorData& data, int scanSet);
// "Scan set 2 \"1024x768 60Hz\"", or "Scan set 2" when it has no name.
std::string scanSetTitle(int scanSet, const std::string& name);

struct DataSetDifference {
    enum class Kind {
        Identity,           // `item` is the identity line's label
        ScanSetOnlyInFirst, // the scan set's presence; `first`, `second` empty
        ScanSetOnlyInSecond,
        ScanSetName, // `first` and `second` hold the names
        Dac,         // `group`, `dac`, `column`; `item` is the DAC's name
    };
    Kind kind = Kind::Identity;
    std::string item;
    int scanSet = -1;
    std::string scanSetName; // the scan set's name (the first's, else the second's)
    GroupId group = GroupId::L;
    int dac = -1;
    DacColumn column = DacColumn::Value;
    std::string first;  // "" when the first data set has none
    std::string second; // "" when the second has none
    bool operator==(const DataSetDifference&) const = default;
};

// Every difference between `first` and `second`, in a fixed order: identity
// lines, then scan set by scan set its presence, name and DAC values
// (group by group, DAC by DAC, Value, F, P).
std::vector<DataSetDifference> compareDataSets(const MonitorData& first, const MonitorData& second);

// One line for a difference, for example
//   Serial Number: SN-1001 -> SN-1002
//   Scan set 0 "Day", L Red Gain, F: 120 -> 124
//   Scan set 3 "Night": only in the first
// A value one side lacks reads "(none)".
std::string differenceLine(const DataSetDifference& difference);

} // namespace orlix
