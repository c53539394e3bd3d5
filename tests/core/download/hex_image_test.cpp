// The image check: what makes a file fit to go to the unit, and the line
// and reason given when it is not.
#include "core/download/hex_image.h"
#include "sim/intel_hex.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

const std::string kData = sim::makeHexRecord(0x00, 0x0100, {0x21, 0x46, 0x01});
const std::string kEnd = ":00000001FF";

TEST(HexImageCheck, RefusesEveryFaultWithItsLineAndReason) {
    struct Case {
        const char* name;
        std::string text;
        std::uint32_t line;
        const char* reason;
    };
    const Case cases[] = {
        {"empty file", "", 0, "the file holds no records"},
        {"blank lines only", "\r\n  \r\n", 0, "the file holds no records"},
        {"no end record", kData + "\r\n", 0, "the end-of-file record (:00000001FF) is missing"},
        {"no data", kEnd + "\r\n", 0, "the image holds no data"},
        {"not a record", kData + "\nHello\n" + kEnd, 2,
         "the line does not start with ':' but with 'H'"},
        {"bad digit", ":03010000214G0195\n" + kEnd, 1, "column 13 holds 'G', not a hex digit"},
        {"control character",
         ":0301000021\x01"
         "60195\n" +
             kEnd,
         1, "column 12 holds 0x01, not a hex digit"},
        {"trailing blank", kData + " \n" + kEnd, 1, "column 18 holds ' ', not a hex digit"},
        {"odd digits", ":030100002146019\n" + kEnd, 1, "an odd number of hex digits (15)"},
        {"too short", ":0001FF\n" + kEnd, 1,
         "too short for a record (length, address, type and checksum need 10 digits)"},
        {"length too large", ":04010000214601\n" + kEnd, 1,
         "the length byte says 4 data bytes, the line holds 2"},
        {"checksum", ":03010000214601FF\n" + kEnd, 1, "the checksum is FF, the record needs 94"},
        {"unknown type", sim::makeHexRecord(0x06, 0, {}) + "\n" + kData + "\n" + kEnd, 1,
         "unknown record type 06"},
        {"address record size", sim::makeHexRecord(0x04, 0, {0x00}) + "\n" + kData + "\n" + kEnd, 1,
         "a record of type 04 needs 2 data bytes, this one has 1"},
        {"end record with data", kData + "\n:01000001FFFF\n", 2,
         "a record of type 01 needs 0 data bytes, this one has 1"},
        {"record after end", kData + "\n" + kEnd + "\n" + kData + "\n", 3,
         "a record after the end-of-file record of line 2"},
        {"second end", kData + "\n" + kEnd + "\n\n" + kEnd + "\n", 4,
         "a record after the end-of-file record of line 2"},
        {"too large", std::string(HexImage::kMaxFileBytes + 1, '\n'), 0,
         "the file is larger than 16 MiB"},
    };
    for (const auto& c : cases) {
        HexImage image;
        const HexImageCheck check = checkHexImage(c.text, image);
        EXPECT_FALSE(check.ok) << c.name;
        EXPECT_EQ(check.lineNumber, c.line) << c.name;
        EXPECT_EQ(check.reason, c.reason) << c.name;
        EXPECT_TRUE(image.records.empty()) << c.name;
    }
}

TEST(HexImageCheck, TakesEveryLineEndAndKeepsEachRecordAsWritten) {
    const std::string lower = ":0300300002337a1e";
    const std::string text = "\r\n" + sim::makeHexRecord(0x04, 0, {0x00, 0x01}) + "\r\r\n" + lower +
                             "\n\n   \n" + kData + "\r" + kEnd; // a lone CR too
    HexImage image;
    const HexImageCheck check = checkHexImage(text, image);
    ASSERT_TRUE(check.ok) << check.describe();
    ASSERT_EQ(image.records.size(), 4u);
    EXPECT_EQ(image.records[0].text, ":020000040001F9");
    EXPECT_EQ(image.records[1].text, lower) << "sent exactly as written";
    EXPECT_EQ(image.records[1].lineNumber, 3u);
    EXPECT_EQ(image.records[3].text, kEnd);
    EXPECT_EQ(image.records[3].lineNumber, 7u);
    EXPECT_EQ(image.dataBytes, 6u) << "address and end records write nothing";
    EXPECT_EQ(image.totalChars, 15u + 17u + 17u + 11u);
}

} // namespace
} // namespace orlix
