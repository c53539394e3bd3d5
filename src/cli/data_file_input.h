// A data file (.mdv) named on the command line, read as File > Open reads
// it. When it cannot be read, standard error gets the reader's own message
// (naming the file and the line) and what to do about it.
#pragma once

#include "core/data/monitor_data.h"

#include <QString>

#include <optional>

namespace orlix::cli {

std::optional<MonitorData> loadDataFile(const QString& path);

} // namespace orlix::cli
