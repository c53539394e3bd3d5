#include "core/dataview/data_view.h"

#include "core/dataview/data_set_compare.h"
#include "core/dataview/readings_view.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace orlix {

namespace {

constexpr std::int16_t kLayout224 = 224;

// The differences of a compare, looked up while the tables are built.
struct Marks {
    std::set<std::string, std::less<>> identity;
    std::set<int> scanSets;
    std::map<int, int> perScanSet;
    std::set<std::tuple<int, GroupId, int, DacColumn>> dacs;

    explicit Marks(const std::vector<DataSetDifference>& differences) {
        using Kind = DataSetDifference::Kind;
        for (const DataSetDifference& d : differences) {
            if (d.kind == Kind::Identity) {
                identity.insert(d.item);
                continue;
            }
            ++perScanSet[d.scanSet];
            if (d.kind == Kind::Dac) {
                dacs.insert({d.scanSet, d.group, d.dac, d.column});
            } else {
                scanSets.insert(d.scanSet);
            }
        }
    }
};

// One row: its cells named after the row and their columns.
class RowBuilder {
public:
    RowBuilder(const std::vector<ViewColumn>& columns, std::string name, std::string label)
        : m_columns(columns) {
        m_row.name = std::move(name);
        m_row.label = std::move(label);
    }
    void add(std::string text, bool differs = false) {
        const ViewColumn& column = m_columns[m_row.cells.size()];
        std::string name = column.name.empty() ? m_row.name : m_row.name + "." + column.name;
        m_row.differs = m_row.differs || differs;
        m_row.cells.push_back({std::move(name), std::move(text), differs});
    }
    ViewRow take() { return std::move(m_row); }

private:
    const std::vector<ViewColumn>& m_columns;
    ViewRow m_row;
};

std::string generationText(const MonitorData& data) {
    if (data.FirmwareVersion.empty()) {
        return {};
    }
    std::string text = firmwareGeneration(data.FirmwareVersionCode);
    if (data.FirmwareVersionCode == kLayout224 && !text.empty()) {
        text += " (2.24 layouts)";
    }
    return text;
}

std::string scanSetCell(const MonitorData& data, int s) {
    if (!carriesScanSet(data, s)) {
        return {};
    }
    const std::string name = scanSetName(data, s);
    return name.empty() ? "(no name)" : name;
}

// The scan sets the tables list: those the data sets say they have, and
// any further one that either carries.
int scanSetRows(const MonitorData& data, const MonitorData* compared) {
    int rows = std::clamp<int>(data.NumScanSets, 1, kMaxScanSets);
    if (compared) {
        rows = std::max(rows, std::clamp<int>(compared->NumScanSets, 1, kMaxScanSets));
    }
    for (int s = rows; s < kMaxScanSets; ++s) {
        if (carriesScanSet(data, s) || (compared && carriesScanSet(*compared, s))) {
            rows = s + 1;
        }
    }
    return rows;
}

ViewGroup unitGroup(const DataViewSources& src, const DataViewOptions& opt, const Marks* marks) {
    const MonitorData* other = opt.compared;
    std::vector<ViewColumn> columns{{"", other ? src.ownTitle : "Value", false}};
    if (other) {
        columns.push_back({"Cmp", opt.comparedTitle, true});
    }

    ViewTable unit{"tblUnit", "Unit", columns, {}};
    const auto addRow = [&](std::string_view name, std::string_view label, std::string own,
                            std::string theirs, bool differs) {
        RowBuilder row(columns, std::string(name), std::string(label));
        row.add(std::move(own), differs);
        if (other) {
            row.add(std::move(theirs), differs);
        }
        unit.rows.push_back(row.take());
    };
    for (const IdentityItem& item : identityItems()) {
        const bool differs = marks && marks->identity.count(item.label) != 0;
        addRow(item.name, item.label, item.text(src.data), other ? item.text(*other) : "", differs);
        if (item.name == "FirmwareVersion") {
            addRow("FirmwareGeneration", "Firmware Generation", generationText(src.data),
                   other ? generationText(*other) : "", false);
        }
    }

    ViewTable scanSets{"tblScanSets", "Scan Sets", columns, {}};
    for (int s = 0; s < scanSetRows(src.data, other); ++s) {
        const bool differs = marks && marks->scanSets.count(s) != 0;
        RowBuilder row(columns, "ScanSet(" + std::to_string(s) + ")",
                       "Scan set " + std::to_string(s));
        row.add(scanSetCell(src.data, s), differs);
        if (other) {
            row.add(scanSetCell(*other, s), differs);
        }
        scanSets.rows.push_back(row.take());
    }
    return {"grpUnit", "Unit", {std::move(unit), std::move(scanSets)}};
}

// The unit's current value of a DAC, from its group's current-value reply.
std::string currentText(const DataViewSources& src, GroupId g, int k) {
    const auto text = [&](ReplyKind kind, const std::string& key) {
        return std::string(src.lastReplies ? src.lastReplies->text(kind, key)
                                           : src.display.text(key));
    };
    switch (g) {
    case GroupId::L:
        if (k == 0) {
            return text(ReplyKind::CurrentL, "lblContrastPV.Caption");
        }
        if (k == 1) {
            return text(ReplyKind::CurrentL, "Label18.Caption");
        }
        return text(ReplyKind::CurrentL, ControlKey("Text1", k, "Text"));
    case GroupId::B:
        return text(ReplyKind::CurrentB, ControlKey("BText1", k, "Text"));
    case GroupId::H:
        return text(ReplyKind::CurrentH, ControlKey("HText1", k, "Text"));
    case GroupId::V:
        return text(ReplyKind::CurrentV, ControlKey("Text1", k, "Text"));
    case GroupId::N: {
        // The S reply reports N 0..2, the T reply N 2..5, as scroll values.
        const std::string key = ControlKey("HScroll2", k, "Value");
        const std::string fromS = text(ReplyKind::NGroupS, key);
        return fromS.empty() ? text(ReplyKind::NGroupT, key) : fromS;
    }
    case GroupId::DayNight:
        break;
    }
    return {};
}

std::string_view columnTip(DacColumn c) {
    switch (c) {
    case DacColumn::Value:
        return "The data file's first column; the unit reports it only through a data file";
    case DacColumn::F:
        return "The F set the unit reports; the data file's second column";
    case DacColumn::P:
        return "The P set the unit reports; the data file's third column";
    }
    return {};
}

ViewGroup adjustmentsGroup(const DataViewSources& src, const DataViewOptions& opt, int s,
                           const Marks* marks) {
    const MonitorData* other = opt.compared;
    std::vector<ViewColumn> columns;
    for (const DacColumn c : kDacColumns) {
        columns.push_back({std::string(columnName(c)), std::string(columnName(c)), false,
                           std::string(columnTip(c))});
    }
    // The unit's current values, once it has given any (a file has none).
    bool current = false;
    for (const GroupId g : kDacGroups) {
        for (int k : dacIndexes(src.data.group(g), g)) {
            current = current || (s == src.data.CurrentScanSet && !currentText(src, g, k).empty());
        }
    }
    if (current) {
        columns.push_back({"Current", "Current", false,
                           "The value the unit uses now, from its current-value reply"});
    }
    if (other) {
        for (const DacColumn c : kDacColumns) {
            columns.push_back(
                {"Cmp" + std::string(columnName(c)), std::string(columnName(c)), true});
        }
    }

    ViewGroup group{"grpAdjustments", "Adjustments", {}};
    for (const GroupId g : kDacGroups) {
        const DacGroup& own = src.data.group(g);
        const std::vector<int> dacs = dacIndexes(own, g, other ? &other->group(g) : nullptr);
        const std::string letter(groupName(g));
        ViewTable table{"tbl" + letter, letter + " Group", columns, {}};
        for (int k : dacs) {
            RowBuilder row(columns, letter + "(" + std::to_string(k) + ")", dacName(own, k));
            const auto differs = [&](DacColumn c) {
                return marks && marks->dacs.count({s, g, k, c}) != 0;
            };
            for (const DacColumn c : kDacColumns) {
                row.add(dacText(own, c, s, k), differs(c));
            }
            if (current) {
                row.add(currentText(src, g, k));
            }
            if (other) {
                for (const DacColumn c : kDacColumns) {
                    row.add(dacText(other->group(g), c, s, k), differs(c));
                }
            }
            table.rows.push_back(row.take());
        }
        group.tables.push_back(std::move(table));
    }
    return group;
}

std::string countText(int count, std::string_view one) {
    return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

std::vector<ScanSetChoice> scanSetChoices(const DataViewSources& src, const DataViewOptions& opt,
                                          const Marks* marks) {
    std::vector<ScanSetChoice> choices;
    for (int s = 0; s < scanSetRows(src.data, opt.compared); ++s) {
        std::string text = "Scan set " + std::to_string(s);
        std::string name = scanSetName(src.data, s);
        if (name.empty() && opt.compared) {
            name = scanSetName(*opt.compared, s);
        }
        if (!name.empty()) {
            text += ": " + name;
        }
        const bool own = carriesScanSet(src.data, s);
        if (marks) {
            const bool theirs = carriesScanSet(*opt.compared, s);
            const auto found = marks->perScanSet.find(s);
            if (own != theirs) {
                text += " (only in " + (own ? src.ownTitle : opt.comparedTitle) + ")";
            } else if (found != marks->perScanSet.end()) {
                text += " (" + countText(found->second, "difference") + ")";
            }
        } else if (!own) {
            text += " (no values)";
        }
        choices.push_back({s, std::move(text)});
    }
    return choices;
}

void keepOnlyDifferences(DataView& view) {
    for (ViewGroup& g : view.groups) {
        for (ViewTable& t : g.tables) {
            const bool compared = std::any_of(t.columns.begin(), t.columns.end(),
                                              [](const ViewColumn& c) { return c.compared; });
            if (!compared) {
                t.rows.clear();
            }
            std::erase_if(t.rows, [](const ViewRow& r) { return !r.differs; });
        }
        std::erase_if(g.tables, [](const ViewTable& t) { return t.rows.empty(); });
    }
}

} // namespace

std::string firmwareGeneration(std::int16_t code) {
    if (code >= 100 && code <= 199) {
        return "1";
    }
    if (code >= 200 && code <= 298) {
        return "2";
    }
    if (code >= 300 && code <= 398) {
        return "3";
    }
    return {};
}

DataView buildDataView(const DataViewSources& src, const DataViewOptions& opt) {
    DataView view;
    view.source = src.source;
    view.scanSet = std::clamp(opt.scanSet, 0, kMaxScanSets - 1);

    std::optional<Marks> marks;
    if (opt.compared) {
        const std::vector<DataSetDifference> differences = compareDataSets(src.data, *opt.compared);
        marks.emplace(differences);
        view.ownTitle = src.ownTitle;
        view.comparedTitle = opt.comparedTitle;
        view.differences = static_cast<int>(differences.size());
        view.summary = view.differences == 0 ? "No differences with " + opt.comparedTitle
                                             : countText(view.differences, "difference") +
                                                   " with " + opt.comparedTitle;
    }
    const Marks* m = marks ? &*marks : nullptr;
    view.scanSets = scanSetChoices(src, opt, m);
    // A scan set that is no longer listed (the compare that had it ended)
    // gives way to the first one.
    if (std::none_of(view.scanSets.begin(), view.scanSets.end(),
                     [&](const ScanSetChoice& c) { return c.scanSet == view.scanSet; })) {
        view.scanSet = view.scanSets.front().scanSet;
    }
    view.groups.push_back(unitGroup(src, opt, m));
    view.groups.push_back(readingsGroup(src));
    view.groups.push_back(adjustmentsGroup(src, opt, view.scanSet, m));
    if (opt.compared && opt.onlyDifferences) {
        keepOnlyDifferences(view);
    }
    return view;
}

const ViewTable* findTable(const DataView& view, std::string_view name) {
    for (const ViewGroup& g : view.groups) {
        for (const ViewTable& t : g.tables) {
            if (t.name == name) {
                return &t;
            }
        }
    }
    return nullptr;
}

const ViewCell* findCell(const DataView& view, std::string_view name) {
    for (const ViewGroup& g : view.groups) {
        for (const ViewTable& t : g.tables) {
            for (const ViewRow& r : t.rows) {
                for (const ViewCell& c : r.cells) {
                    if (c.name == name) {
                        return &c;
                    }
                }
            }
        }
    }
    return nullptr;
}

} // namespace orlix
