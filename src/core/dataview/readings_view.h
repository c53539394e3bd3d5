// The "Readings and status" group of the Monitor Data view: what the unit
// reports that the monitor data does not keep, read from the display model
// (or, for the replies whose control names others share, from the texts of
// that reply alone) and shown as the handlers formatted it.
#pragma once

#include "core/dataview/data_view.h"

namespace orlix {

ViewGroup readingsGroup(const DataViewSources& sources);

} // namespace orlix
