// Reads a monitor data file (.mdv) into a data set of its own, through the
// same reader and reply handlers as File > Open, so that a stored version
// is taken in exactly as there. It never touches the tool's own monitor
// data, its open file or its windows: a compare, or a command-line tool,
// can load any number of files beside the tool's data.
#pragma once

#include "core/data/monitor_data.h"

#include <string>

namespace orlix {

struct LoadedDataSet {
    // What was read; after an error, what the lines before it gave.
    MonitorData data;
    // The whole file was read.
    bool ok = false;
    // When not ok: the file's path, the number of the line the read ended
    // at (when it ended at a line) and the reader's own message, on one
    // line, for example
    //   /data/after.mdv, line 12: In ReadMDF, Error #13: Type mismatch
    std::string error;
};

LoadedDataSet loadDataSet(const std::string& path);

} // namespace orlix
