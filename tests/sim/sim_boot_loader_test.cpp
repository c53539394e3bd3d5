// The boot loader: erase, download of a small Intel-HEX image, record
// checking, the address query and the start of the new firmware.
#include "unit_driver.h"

#include "sim/intel_hex.h"

#include <gtest/gtest.h>

namespace orlix::sim {
namespace {

using testing::quickOptions;
using testing::UnitDriver;

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

UnitOptions inBootLoader(std::string firmware = "2.24") {
    auto options = quickOptions(std::move(firmware));
    options.startInBootLoader = true;
    return options;
}

TEST(SimBootLoader, DownloadsAnImageAndStartsTheNewFirmware) {
    UnitDriver d(inBootLoader());
    EXPECT_EQ(d.command("p"), "p\r\n$\r\n");
    EXPECT_EQ(d.command("df"), "df\r\n?\r\n$\r\n");
    EXPECT_EQ(d.command("bs"), "bs\r\nFlash not erased\r\n$\r\n");
    EXPECT_EQ(d.command("bf3"), "bf3\r\nFlash block 3 erased\r\n$\r\n");
    EXPECT_EQ(d.command("bs"), "bs\r\nReady\r\n#\r\n");

    // A 40-byte image whose text carries its version, as firmware does.
    const std::string image[] = {makeHexRecord(0x04, 0x0000, {0x00, 0x01}),
                                 makeHexRecord(0x00, 0x0000, bytesOf("Norvique display ")),
                                 makeHexRecord(0x00, 0x0011, bytesOf("firmware V 3.10 ")),
                                 makeHexRecord(0x00, 0x0021, bytesOf("(c)2024"))};
    for (const auto& record : image) {
        std::string bad = record;
        bad.back() = bad.back() == '0' ? '1' : '0'; // checksum off by one
        const auto before = d.unit.bootLoader().image().size();
        EXPECT_EQ(d.command(bad), bad + "\r\n!\r\n");
        EXPECT_EQ(d.unit.bootLoader().image().size(), before);
        EXPECT_EQ(d.command(record), record + "\r\n$\r\n");
    }
    EXPECT_EQ(d.unit.bootLoader().recordsRejected(), 4);
    EXPECT_EQ(d.command("a"), "a\r\nAddr = 0x10028\r\n$\r\n");
    EXPECT_EQ(d.command(":00000001FF"), ":00000001FF\r\nEOF\r\n$\r\n");
    EXPECT_EQ(d.unit.bootLoader().image().size(), 40u);
    EXPECT_EQ(d.unit.bootLoader().image().at(0x10000), 'N');

    EXPECT_EQ(d.command("g"), "g\r\nNorvique Monitor Firmware V 3.10\r\n#\r\n");
    EXPECT_EQ(d.command("df"), "df\r\nV 3.10\r\n#\r\n");
    EXPECT_EQ(d.command("da"), "da\r\n120,100,90,80,60,70,50,159,176,106,135,100\r\n#\r\n");
}

// After any erase there is nothing to start, and an image without a
// version text keeps the version the unit had.
TEST(SimBootLoader, EveryEraseLeavesNoApplicationToStart) {
    for (const char* erase : {"bf1", "bf2", "bf3", "be"}) {
        UnitDriver d(inBootLoader("1.39"));
        EXPECT_TRUE(d.command(erase).ends_with("erased\r\n$\r\n")) << erase;
        EXPECT_EQ(d.command("g"), "g\r\nNo valid application\r\n$\r\n") << erase;
        d.command(makeHexRecord(0x00, 0, {0xFF, 0x00}));
        d.command(":00000001FF");
        EXPECT_EQ(d.command("g"), "g\r\nNorvique Monitor Firmware V 1.39\r\n#\r\n");
    }
}

TEST(SimHexRecord, IsCheckedForShapeAndChecksum) {
    for (auto [line, error] :
         {std::pair{":10010000214601360121470136007efe09d2190140", HexError::None},
          {":00000001FE", HexError::BadChecksum},
          {"10010000214601360121470136007EFE09D2190140", HexError::NoColon},
          {":0000000G1FF", HexError::BadCharacter},
          {":00000001F", HexError::BadLength},
          {":000001FF", HexError::BadLength},
          {":0200000001FD", HexError::BadLength}}) {
        EXPECT_EQ(parseHexRecord(line).error, error) << line;
    }
}

} // namespace
} // namespace orlix::sim
