#include "core/dataview/data_set_loader.h"

#include "core/data/mdv_reader.h"
#include "core/link/link_flags.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_protocol.h"

#include <filesystem>
#include <fstream>

namespace orlix {

namespace {

namespace fs = std::filesystem;

// The handle number the data file state carries while the file is read.
constexpr std::int16_t kFileNumber = 1;

// The reader's message on one line: its line breaks become "; ".
std::string oneLine(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            line += "; ";
        } else {
            line.push_back(c);
        }
    }
    return line;
}

// The number of the line that starts at byte `position` (1-based).
std::int64_t lineNumberAt(const std::string& path, std::int64_t position) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    std::int64_t line = 1;
    char c = 0;
    for (std::int64_t i = 1; i < position && in.get(c); ++i) {
        if (c == '\n') {
            ++line;
        }
    }
    return line;
}

} // namespace

LoadedDataSet loadDataSet(const std::string& path) {
    LoadedDataSet loaded;
    MonitorData& d = loaded.data;
    SetDefaultCountsAndNames(d);
    d.DataFileExt = kDataFileExt;
    d.DataFileHeader = kDataFileHeader;
    d.DataFileVersion = kDataFileVersion;

    std::ifstream in;
    if (const auto reason = openForReading(path, in)) {
        loaded.error = path + ": " + *reason;
        return loaded;
    }

    d.DiskFileNum = kFileNumber;
    d.DataFilePath = path;
    d.DataFileTitle = fs::path(path).filename().string();
    d.FileIsOpen = true;
    d.FileOpenForInput = true;

    LinkFlags link;
    ProtocolEvents none;
    ReplyProtocol protocol(d, link, none);
    std::string message;
    MdvReadHooks hooks;
    hooks.message = [&message](std::string_view text) {
        if (message.empty()) {
            message = oneLine(text);
        }
    };
    hooks.replyDispatcher = [&protocol](std::string_view text) { protocol.ReplyDispatcher(text); };
    const MdvReadResult result = ReadMDF(d, in, hooks);
    loaded.ok = result == MdvReadResult::Complete;
    if (!loaded.ok) {
        loaded.error = path;
        if (result == MdvReadResult::Stopped && d.LinePos > 0) {
            loaded.error += ", line " + std::to_string(lineNumberAt(path, d.LinePos));
        }
        loaded.error += ": " + message;
    }
    return loaded;
}

} // namespace orlix
