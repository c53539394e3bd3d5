#include "core/download/hex_image.h"

#include "core/protocol/text_helpers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orlix {

namespace {

constexpr std::uint8_t kData = 0x00;
constexpr std::uint8_t kEndOfFile = 0x01;
constexpr std::uint8_t kLastKnownType = 0x05;

std::string hexByte(unsigned value) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", value & 0xFFu);
    return buf;
}

std::string shown(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) {
        return std::string("'") + c + "'";
    }
    return "0x" + hexByte(u);
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

struct LineVerdict {
    std::string fault; // empty: a sound record
    std::uint8_t type = 0;
    std::uint16_t dataBytes = 0;
};

// Size that each address record type, and the end record, must have.
int fixedRecordSize(std::uint8_t type) {
    switch (type) {
    case kEndOfFile:
        return 0;
    case 0x02: // extended segment address
    case 0x04: // extended linear address
        return 2;
    case 0x03: // start segment address
    case 0x05: // start linear address
        return 4;
    default:
        return -1;
    }
}

LineVerdict checkRecord(std::string_view line) {
    LineVerdict v;
    if (line.front() != ':') {
        v.fault = "the line does not start with ':' but with " + shown(line.front());
        return v;
    }
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (HexDigitValue(line[i]) < 0) {
            v.fault = "column " + std::to_string(i + 1) + " holds " + shown(line[i]) +
                      ", not a hex digit";
            return v;
        }
    }
    const std::size_t digits = line.size() - 1;
    if (digits % 2 != 0) {
        v.fault = "an odd number of hex digits (" + std::to_string(digits) + ")";
        return v;
    }
    // Length, address (2), type and checksum.
    if (digits < 10) {
        v.fault = "too short for a record (length, address, type and checksum need 10 digits)";
        return v;
    }
    const auto byteAt = [&](std::size_t i) {
        return static_cast<unsigned>(HexDigitValue(line[1 + 2 * i]) * 16 +
                                     HexDigitValue(line[2 + 2 * i]));
    };
    const std::size_t bytes = digits / 2;
    const unsigned length = byteAt(0);
    if (bytes != length + 5) {
        v.fault = "the length byte says " + std::to_string(length) +
                  " data bytes, the line holds " + std::to_string(bytes - 5);
        return v;
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < bytes; ++i) {
        sum += byteAt(i);
    }
    const unsigned wanted = (0x100u - (sum & 0xFFu)) & 0xFFu;
    const unsigned given = byteAt(bytes - 1);
    if (given != wanted) {
        v.fault = "the checksum is " + hexByte(given) + ", the record needs " + hexByte(wanted);
        return v;
    }
    const auto type = static_cast<std::uint8_t>(byteAt(3));
    if (type > kLastKnownType) {
        v.fault = "unknown record type " + hexByte(type);
        return v;
    }
    const int size = fixedRecordSize(type);
    if (size >= 0 && static_cast<int>(length) != size) {
        v.fault = "a record of type " + hexByte(type) + " needs " + std::to_string(size) +
                  " data bytes, this one has " + std::to_string(length);
        return v;
    }
    v.type = type;
    v.dataBytes = static_cast<std::uint16_t>(length);
    return v;
}

HexImageCheck refused(std::uint32_t line, std::string reason) {
    HexImageCheck c;
    c.lineNumber = line;
    c.reason = std::move(reason);
    return c;
}

HexImageCheck unreadable(std::string reason) {
    HexImageCheck c = refused(0, std::move(reason));
    c.readError = true;
    return c;
}

// The next line of `text` from `at`, without its line end, which is LF,
// CR LF, any run of CRs before a LF, or a lone CR; `at` moves past it.
std::string_view nextLine(std::string_view text, std::size_t& at) {
    const std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) {
        const std::string_view line = text.substr(at);
        at = text.size();
        return line;
    }
    const std::string_view line = text.substr(at, end - at);
    std::size_t next = text.find_first_not_of('\r', end);
    if (next != std::string_view::npos && text[next] == '\n') {
        ++next;
    } else if (next == std::string_view::npos) {
        next = text.size();
    } else {
        next = end + 1; // a lone CR ends the line
    }
    at = next;
    return line;
}

} // namespace

std::string HexImageCheck::describe() const {
    if (lineNumber == 0) {
        return reason;
    }
    return "line " + std::to_string(lineNumber) + ": " + reason;
}

namespace {

// Checks every line and fills `image`; on a refusal the image holds part.
HexImageCheck checkLines(std::string_view text, HexImage& image) {
    if (text.size() > HexImage::kMaxFileBytes) {
        return refused(0, "the file is larger than 16 MiB");
    }
    std::uint32_t lineNumber = 0;
    std::uint32_t endLine = 0;
    bool anyData = false;
    std::size_t at = 0;
    while (at < text.size()) {
        ++lineNumber;
        const std::string_view line = nextLine(text, at);
        if (isBlank(line)) {
            continue;
        }
        if (endLine != 0) {
            return refused(lineNumber, "a record after the end-of-file record of line " +
                                           std::to_string(endLine));
        }
        const LineVerdict v = checkRecord(line);
        if (!v.fault.empty()) {
            HexImageCheck c = refused(lineNumber, v.fault);
            c.lineStart = std::string(line.substr(0, 8));
            return c;
        }
        if (v.type == kEndOfFile) {
            endLine = lineNumber;
        }
        const std::uint16_t data = v.type == kData ? v.dataBytes : 0;
        anyData = anyData || data > 0;
        image.records.push_back({std::string(line), data, lineNumber});
        image.totalChars += static_cast<std::uint32_t>(line.size());
        image.dataBytes += data;
    }
    if (image.records.empty()) {
        return refused(0, "the file holds no records");
    }
    if (endLine == 0) {
        return refused(0, "the end-of-file record (:00000001FF) is missing");
    }
    if (!anyData) {
        return refused(0, "the image holds no data");
    }
    HexImageCheck sound;
    sound.ok = true;
    return sound;
}

} // namespace

HexImageCheck checkHexImage(std::string_view text, HexImage& image) {
    image.records.clear();
    image.totalChars = 0;
    image.dataBytes = 0;
    HexImageCheck check = checkLines(text, image);
    if (!check.ok) {
        image.records.clear();
        image.totalChars = 0;
        image.dataBytes = 0;
    }
    return check;
}

HexImageCheck loadHexImage(const std::string& path, HexImage& image) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        return unreadable("the file cannot be read: " + ec.message());
    }
    if (size > HexImage::kMaxFileBytes) {
        return refused(0, "the file is larger than 16 MiB");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return unreadable("the file cannot be opened");
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.gcount() != static_cast<std::streamsize>(text.size())) {
        return unreadable("the file could not be read to its end");
    }
    return checkHexImage(text, image);
}

} // namespace orlix
