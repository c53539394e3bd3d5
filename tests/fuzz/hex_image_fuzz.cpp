// Feeds arbitrary bytes to the firmware image check as the content of a
// file. Besides the sanitizers, it checks that a sound image is what the
// unit will take: every record parses in the simulated unit's own reader
// (an independent one), the end-of-file record comes once and last, the
// counts add up, and a refusal names a line inside the file and a reason.
#include "core/download/hex_image.h"
#include "sim/intel_hex.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orlix::HexImage image;
    const orlix::HexImageCheck check = orlix::checkHexImage(text, image);
    if (!check.ok) {
        require(!check.reason.empty());
        require(image.records.empty());
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        require(check.lineNumber <= lines + 1);
        return 0;
    }
    require(!image.records.empty());
    std::uint32_t chars = 0;
    std::uint32_t bytes = 0;
    for (std::size_t i = 0; i < image.records.size(); ++i) {
        const auto& record = image.records[i];
        const auto parsed = orlix::sim::parseHexRecord(record.text);
        require(parsed.record.has_value());
        require(parsed.record->type <= 0x05);
        require((parsed.record->type == 0x01) == (i + 1 == image.records.size()));
        require(record.text.find_first_of("\r\n") == std::string::npos);
        chars += static_cast<std::uint32_t>(record.text.size());
        bytes += record.dataBytes;
    }
    require(chars == image.totalChars);
    require(bytes == image.dataBytes && bytes > 0);
    return 0;
}
