// A firmware image for the boot loader, read whole and checked before any
// of it goes to the unit: a wrong or damaged file must be refused before
// the flash is erased, not found out half-way through the download.
//
// Every non-blank line must be one Intel HEX record: ':' then pairs of hex
// digits, a length byte that matches the data, a known record type (00 to
// 05, address and end records of their proper size) and a checksum that
// brings the byte sum to 0. Exactly one end-of-file record, and it comes
// last. Blank lines and the line ends (CR, LF, CR LF, several CRs) are
// tolerated and
// dropped; each record keeps its text exactly as written otherwise, since
// that text is what the unit receives.
//
// What it does not do: interpret addresses or data (that is the unit's
// business) or talk to anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orlix {

struct HexImage {
    // Far above any image this unit's flash can hold.
    static constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

    struct Record {
        std::string text;         // without line end
        std::uint16_t dataBytes;  // bytes it writes to flash (0 but for data records)
        std::uint32_t lineNumber; // in the file, from 1
    };

    std::string name; // the file name, shown in messages
    std::vector<Record> records;
    // Characters of all records without their line ends: what the progress
    // of a download is measured against.
    std::uint32_t totalChars = 0;
    std::uint32_t dataBytes = 0; // bytes the image writes to flash

    std::size_t recordCount() const { return records.size(); }
};

struct HexImageCheck {
    bool ok = false;
    std::uint32_t lineNumber = 0; // of the fault; 0 for the file as a whole
    std::string reason;
    // The faulty line's first 8 characters (a line fault only).
    std::string lineStart;
    // The file could not be read at all (rather than read and found wrong).
    bool readError = false;
    // "line 12: the checksum is 3F, the record needs 40" or the file-wide reason.
    std::string describe() const;
};

// Checks `text` (a whole file) and, when sound, fills `image.records`,
// `totalChars` and `dataBytes`.
HexImageCheck checkHexImage(std::string_view text, HexImage& image);

// Reads the file at `path` (at most kMaxFileBytes) and checks it.
HexImageCheck loadHexImage(const std::string& path, HexImage& image);

} // namespace orlix
