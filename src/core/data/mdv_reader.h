// Reads a monitor data file (.mdv) into the monitor data.
//
// Theory of operation: the file must be at least 100 bytes and start with
// the header and version lines; then each line is one key and its fields.
// Counts, scan set numbers and DAC lines are stored directly; the firmware
// and ROM version lines are handed to the reply dispatcher as the unit's
// "df" and "de" replies, so that a stored version is taken in exactly as a
// live one (FirmwareVersionCode included). The first error shows its
// message and ends the read; what earlier lines stored stays.
//
// A file that passes the header checks replaces the data set: scan sets,
// names, counts and values it does not carry are not kept from before, and
// only the scan sets it carries are included afterwards. A file with
// identity lines brings its whole identity (IdentityFromFile); one without
// drops an identity that an earlier file brought.
//
// Beyond the key table: an unnamed DAC line is the DAC after the one of the
// line before it, within the group's count (the N DACs 3 to 5 have no names,
// nor have DACs counted past a group's named ones); a trailing CR that
// older files carry on identity texts is dropped; lines with more fields
// than their key needs are fine, lines with fewer are an error; blank lines
// are skipped. The model, identity, hours and cycles texts are stored as
// they stand (the reply handlers would not take them in), and a "ScanSet"
// line marks its scan set as included, so that what was read is written
// again.
//
// What it does not do: open or choose the file (the caller hands it the
// stream and closes it) or send anything to the unit.
#pragma once

#include "core/data/monitor_data.h"

#include <fstream>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

// Both hooks must be set.
struct MdvReadHooks {
    // A message box with the application title.
    std::function<void(std::string_view)> message;
    // The reply dispatcher, given a text as if the unit had sent it.
    std::function<void(std::string_view)> replyDispatcher;
};

enum class MdvReadResult {
    Complete, // every line read: FileIsOpen, FileOpenForInput set, DataChanged clear
    Refused,  // nothing read (no file open, or not a data file of this version)
    Stopped,  // ended at an error in a line; earlier lines are in the model
};

// Reads the file in `in`, whose name is DataFileTitle. Needs FileIsOpen and
// a DiskFileNum of 1..255. A file that is not a data file of this version
// clears FileIsOpen, FileOpenForInput and DiskFileNum.
MdvReadResult ReadMDF(MonitorData& data, std::istream& in, const MdvReadHooks& hooks);

// Opens `in` on the file at `path` for ReadMDF: nullopt when it is open,
// else the reason it is not ("Is a directory", the system's words).
std::optional<std::string> openForReading(const std::string& path, std::ifstream& in);

} // namespace orlix
