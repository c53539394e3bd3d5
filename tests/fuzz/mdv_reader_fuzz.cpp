// Feeds arbitrary bytes to the data file reader as the content of a file,
// with the reply handlers behind it as in the tool.
//
// Input: two setup bytes, then the file. The setup bytes pick the model the
// file is read into (NumScanSets, counts, which scan sets the unit said it
// has, the reading scan set and FirmwareVersionCode), every one of them a
// value the tool can hold.
//
// Besides the sanitizers, it checks that a read shows exactly one message
// unless it completes, that counts stay inside the tables, and that whatever
// the model holds afterwards is written as a file that reads back without
// a message and writes again to the very same bytes.
#include "core/data/mdv_reader.h"
#include "core/data/mdv_writer.h"
#include "core/link/link_flags.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace orlix;

constexpr std::array<std::int16_t, 8> kCodes = {0, 99, 100, 139, 224, 299, 300, 310};
constexpr DateTime kCreated{2024, 3, 7, 14, 5, 9};

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

MonitorData setUp(std::uint8_t shape, std::uint8_t more) {
    MonitorData d;
    SetDefaultCountsAndNames(d);
    d.NumScanSets = static_cast<std::int16_t>(shape % 8);
    d.ScanSetsReported = (shape & 0x08) != 0;
    for (std::size_t s = 0; s < d.ScanSetIncluded.size(); ++s) {
        d.ScanSetIncluded[s] = ((more >> s) & 1) != 0;
    }
    d.L.count = static_cast<std::int16_t>((shape >> 4) % 9);
    d.N.count = static_cast<std::int16_t>(8 - (shape >> 4) % 9);
    d.ScanSetReading = static_cast<std::int16_t>(more % 7);
    d.FirmwareVersionCode = kCodes[(more >> 5) % kCodes.size()];
    d.FileIsOpen = true;
    d.FileOpenForInput = true;
    d.DiskFileNum = 1;
    d.DataFileTitle = "fuzz.mdv";
    return d;
}

struct Outcome {
    MdvReadResult result;
    std::size_t messages = 0;
};

Outcome read(MonitorData& data, const std::string& text) {
    LinkFlags link;
    ProtocolEvents events;
    ReplyProtocol protocol(data, link, events);
    Outcome outcome{MdvReadResult::Refused};
    MdvReadHooks hooks;
    hooks.message = [&outcome](std::string_view) { ++outcome.messages; };
    hooks.replyDispatcher = [&protocol](std::string_view text) { protocol.ReplyDispatcher(text); };
    std::istringstream in(text);
    outcome.result = ReadMDF(data, in, hooks);
    return outcome;
}

void checkCounts(const MonitorData& d) {
    require(d.NumScanSets >= 0 && d.NumScanSets <= kMaxScanSets);
    for (const DacGroup* g : {&d.L, &d.B, &d.H, &d.V, &d.N}) {
        require(g->count >= 0 && g->count <= 8);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string file(reinterpret_cast<const char*>(bytes + 2), size - 2);

    MonitorData data = setUp(bytes[0], bytes[1]);
    const Outcome first = read(data, file);
    require(first.messages == (first.result == MdvReadResult::Complete ? 0u : 1u));
    require(data.LinePos >= 0 && data.LinePos <= static_cast<std::int64_t>(file.size()) + 1);
    checkCounts(data);

    // Whatever the read left in the model is a file that reads back.
    const std::string written = formatMdv(data, true, kCreated);
    MonitorData again = setUp(bytes[0], bytes[1]);
    const Outcome second = read(again, written);
    require(second.result == MdvReadResult::Complete && second.messages == 0);
    require(formatMdv(again, true, kCreated) == written);
    return 0;
}
