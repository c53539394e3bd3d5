// What the Monitor Data window shows, as plain data: groups of tables of
// rows of cells, built from the monitor data and the display model. The
// window renders it, the text export writes it, a command-line tool can
// print it; nothing here knows a window.
//
// Groups, as a technician thinks of the unit:
//  - "Unit": the identity lines a data file carries (and the firmware
//    generation the version implies) and the scan sets with their names;
//  - "Readings and status": the analog readings of the unit's firmware
//    generation, sync frequencies, high voltage, model type, capability
//    flags, panel status, duty cycle, device status, register and
//    deflection values, boot and configuration values, the parameter list;
//  - "Adjustments": one table per DAC group (L, B, H, V, N) for the chosen
//    scan set, a row per DAC, columns Value, F, P (the data file's three
//    columns) and, once the unit has given any, Current (its current-value
//    replies).
//
// Every text is as the reply handlers format it ("07.5 kV", "209.0 V",
// "0.00"); a value nobody reported is "" (never a made-up 0). Names: a
// readings row is named after its control ("VAnodeValue", "lblVoltage(3)"),
// an identity row after its monitor data field ("SerialNumber"), a DAC row
// "L(2)"; a cell is its row's name, followed by "." and the column's name
// where the table has more than one column ("L(2).F", "L(2).CmpF").
//
// With a second data set to compare, the identity, scan set and DAC tables
// get its columns beside their own ("Cmp..."), differing cells and rows are
// marked, and the differences are counted (as compareDataSets finds them);
// the other tables have nothing to compare and are left as they are.
#pragma once

#include "core/data/monitor_data.h"
#include "core/dataview/last_reply_texts.h"
#include "core/protocol/display_model.h"

#include <string>
#include <string_view>
#include <vector>

namespace orlix {

struct ViewCell {
    std::string name;
    std::string text;
    bool differs = false;
    bool operator==(const ViewCell&) const = default;
};

struct ViewColumn {
    std::string name;
    std::string title;
    bool compared = false; // a column of the compared data set
    std::string tip = {};  // what the column holds, where a title alone does not say
    bool operator==(const ViewColumn&) const = default;
};

struct ViewRow {
    std::string name;
    std::string label;
    std::vector<ViewCell> cells; // one per column
    bool differs = false;
    bool operator==(const ViewRow&) const = default;
};

struct ViewTable {
    std::string name;
    std::string title;
    std::vector<ViewColumn> columns;
    std::vector<ViewRow> rows;
    bool operator==(const ViewTable&) const = default;
};

struct ViewGroup {
    std::string name;
    std::string title;
    std::vector<ViewTable> tables;
    bool operator==(const ViewGroup&) const = default;
};

struct ScanSetChoice {
    int scanSet = 0;
    std::string text; // "Scan set 0: 1280x1024 60 Hz", with its differences when comparing
    bool operator==(const ScanSetChoice&) const = default;
};

struct DataView {
    std::string source;        // where the data comes from
    std::string ownTitle;      // this side's name when comparing
    std::string comparedTitle; // the compared data set's name; "" when not comparing
    int differences = 0;
    std::string summary; // "3 differences with after.mdv"; "" when not comparing
    std::vector<ScanSetChoice> scanSets;
    int scanSet = 0; // the one the adjustment tables show
    std::vector<ViewGroup> groups;
    bool operator==(const DataView&) const = default;
};

struct DataViewSources {
    const MonitorData& data;
    const DisplayModel& display;
    // Texts of the replies whose control names others share; none: those
    // come from the display model as they stand.
    const LastReplyTexts* lastReplies = nullptr;
    std::string source;
    std::string ownTitle = "This data";
};

struct DataViewOptions {
    int scanSet = 0;
    const MonitorData* compared = nullptr;
    std::string comparedTitle;
    // When comparing: only rows with a difference, only tables that have
    // such rows.
    bool onlyDifferences = false;
};

DataView buildDataView(const DataViewSources& sources, const DataViewOptions& options = {});

// The table or cell of that name; null when the view has none.
const ViewTable* findTable(const DataView& view, std::string_view name);
const ViewCell* findCell(const DataView& view, std::string_view name);

// "1", "2" or "3": the firmware generation of a version code, which picks
// the layout of the analog reply; "" when the code belongs to none.
std::string firmwareGeneration(std::int16_t code);

} // namespace orlix
