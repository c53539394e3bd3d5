#include "core/dataview/data_view_text.h"

#include <algorithm>

namespace orlix {

namespace {

std::string field(std::string_view text) {
    std::string f(text);
    std::replace_if(
        f.begin(), f.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return f;
}

std::string scanSetLine(const DataView& view) {
    for (const ScanSetChoice& choice : view.scanSets) {
        if (choice.scanSet == view.scanSet) {
            return field(choice.text);
        }
    }
    return "Scan set " + std::to_string(view.scanSet);
}

} // namespace

std::string tableText(const ViewTable& table, const DataView& view) {
    const bool comparing = std::any_of(table.columns.begin(), table.columns.end(),
                                       [](const ViewColumn& c) { return c.compared; });
    std::string text = field(table.title) + "\n";
    text += "Item";
    for (const ViewColumn& c : table.columns) {
        text += "\t" + field(c.title);
        if (c.compared && c.title != view.comparedTitle) {
            text += " (" + field(view.comparedTitle) + ")";
        }
    }
    text += comparing ? "\tDiffers\n" : "\n";
    for (const ViewRow& row : table.rows) {
        text += field(row.label);
        for (const ViewCell& cell : row.cells) {
            text += "\t" + field(cell.text);
        }
        if (comparing) {
            text += row.differs ? "\t*" : "\t";
        }
        text += "\n";
    }
    return text;
}

std::string groupText(const ViewGroup& group, const DataView& view) {
    std::string text = field(group.title) + "\n";
    if (group.name == "grpAdjustments") {
        text += scanSetLine(view) + "\n";
    }
    for (const ViewTable& table : group.tables) {
        text += "\n" + tableText(table, view);
    }
    return text;
}

std::string viewText(const DataView& view) {
    std::string text = field(view.source) + "\n";
    if (!view.summary.empty()) {
        text += field(view.summary) + "\n";
    }
    for (const ViewGroup& group : view.groups) {
        text += "\n" + groupText(group, view);
    }
    return text;
}

} // namespace orlix
