// The Monitor Data view as tab-separated text, so that it pastes into a
// spreadsheet: a table is its title line, a header line and one line per
// row (label, then one cell per column); a group is its title line and its
// tables; the whole view starts with where the data comes from.
//
// When the view compares, the compared columns' headers name the compared
// data set, and a last column "Differs" holds "*" on each row that differs.
// Tabs and line breaks inside a text become blanks, so that a text from the
// unit can never break the grid.
#pragma once

#include "core/dataview/data_view.h"

#include <string>

namespace orlix {

std::string tableText(const ViewTable& table, const DataView& view);
std::string groupText(const ViewGroup& group, const DataView& view);
std::string viewText(const DataView& view);

} // namespace orlix
