// Writes the monitor data to the data file (.mdv): header and version, the
// creation date, the identity (the unit's while it is connected, or the one
// read from a data file), the counts and one block of DAC lines per scan
// set that the file carries.
//
// The file is never half-written: the whole text goes to a temporary file
// in the target's folder, which then replaces the target. A failure leaves
// the old file as it was, and the user is told which file and why.
//
// What it does not do: choose the file (the File commands do) or touch the
// line itself; restarting the data walk is handed to the caller.
#pragma once

#include "core/data/monitor_data.h"
#include "core/ports/clock.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

// Every hook must be set.
struct MdvWriteHooks {
    bool monitorConnected = false;
    DateTime now; // for the "File Created: " line
    // A message box with the application title.
    std::function<void(std::string_view)> message;
    // DataItemIndex := 0 and RequestDataItem(0): the walk starts over, so
    // that the file is followed by fresh values from the unit.
    std::function<void()> restartDataWalk;
    // The hourglass pointer on (true) and off.
    std::function<void(bool)> busy;
};

// Writes the whole file to DataFilePath. Needs FileIsOpen and a DiskFileNum
// of 1..255 (the File commands set both). Afterwards FileIsOpen is false and
// DiskFileNum 0, whether or not the write succeeded; DataChanged is cleared
// only when the file was written. True when it was.
bool WriteMDF(MonitorData& data, const MdvWriteHooks& hooks);

// The complete text of a data file for the data as it is now. The
// identity lines are written while a unit is connected or when the
// identity came from a data file.
std::string formatMdv(const MonitorData& data, bool monitorConnected, const DateTime& created);

// Whether scan set `s` gets a block: the scan sets 0..NumScanSets-1 that the
// unit reported as included, or all of them while it has not reported.
bool scanSetWritten(const MonitorData& data, int s);

// The name written for scan set `s`: its own, or "Scan Set s" when it has
// none (the reader refuses a scan set without a name).
std::string scanSetFileName(const MonitorData& data, int s);

// Replaces the file at `path` with `content` through a temporary file in
// the same folder. nullopt on success, else the reason it failed; the old
// file is then untouched and no temporary file is left behind.
std::optional<std::string> replaceFileContents(const std::string& path, std::string_view content);

} // namespace orlix
