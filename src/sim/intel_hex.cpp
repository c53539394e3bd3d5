#include "sim/intel_hex.h"

#include <cstdio>

namespace orlix::sim {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

HexParseResult parseHexRecord(std::string_view line) {
    if (line.empty() || line[0] != ':') {
        return {std::nullopt, HexError::NoColon};
    }
    const auto digits = line.substr(1);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);
    for (char c : digits) {
        if (hexValue(c) < 0) {
            return {std::nullopt, HexError::BadCharacter};
        }
    }
    // Length, address (2), type and checksum: five bytes at least.
    if (digits.size() % 2 != 0 || digits.size() < 10) {
        return {std::nullopt, HexError::BadLength};
    }
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(
            static_cast<std::uint8_t>(hexValue(digits[i]) * 16 + hexValue(digits[i + 1])));
    }
    if (bytes.size() != static_cast<std::size_t>(bytes[0]) + 5) {
        return {std::nullopt, HexError::BadLength};
    }
    unsigned sum = 0;
    for (auto b : bytes) {
        sum += b;
    }
    if ((sum & 0xFF) != 0) {
        return {std::nullopt, HexError::BadChecksum};
    }
    HexRecord record;
    record.address = static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2]);
    record.type = bytes[3];
    record.data.assign(bytes.begin() + 4, bytes.end() - 1);
    return {record, HexError::None};
}

std::string makeHexRecord(std::uint8_t type, std::uint16_t address,
                          const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(data.size()),
                                    static_cast<std::uint8_t>(address >> 8),
                                    static_cast<std::uint8_t>(address & 0xFF), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (auto b : bytes) {
        sum += b;
    }
    bytes.push_back(static_cast<std::uint8_t>((0x100 - (sum & 0xFF)) & 0xFF));
    std::string out = ":";
    for (auto b : bytes) {
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

} // namespace orlix::sim
