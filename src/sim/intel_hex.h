// Intel-HEX records as the boot loader receives them, one per line:
// ":" LL AAAA TT data... CC, where the checksum CC makes the byte sum of
// the record 0 modulo 256.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::sim {

enum class HexRecordType : std::uint8_t {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegmentAddress = 0x02,
    StartSegmentAddress = 0x03,
    ExtendedLinearAddress = 0x04,
    StartLinearAddress = 0x05,
};

struct HexRecord {
    std::uint8_t type = 0;
    std::uint16_t address = 0;
    std::vector<std::uint8_t> data;
};

enum class HexError {
    None,
    NoColon,      // the line does not start with ':'
    BadCharacter, // a character that is not a hexadecimal digit
    BadLength,    // odd number of digits, too short, or not LL data bytes
    BadChecksum,
};

struct HexParseResult {
    std::optional<HexRecord> record;
    HexError error = HexError::None;
};

HexParseResult parseHexRecord(std::string_view line);

// A record line (without line end) with its checksum, in upper case.
std::string makeHexRecord(std::uint8_t type, std::uint16_t address,
                          const std::vector<std::uint8_t>& data);

} // namespace orlix::sim
