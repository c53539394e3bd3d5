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

// A 40-byte image whose text carries its version, as firmware does.
std::vector<std::string> smallImage() {
    return {makeHexRecord(0x04, 0x0000, {0x00, 0x01}),
            makeHexRecord(0x00, 0x0000, bytesOf("Norvique display ")),
            makeHexRecord(0x00, 0x0011, bytesOf("firmware V 3.10 ")),
            makeHexRecord(0x00, 0x0021, bytesOf("(c)2024")), makeHexRecord(0x01, 0x0000, {})};
}

TEST(SimBootLoader, DownloadsAnImageAndStartsTheNewFirmware) {
    UnitDriver d(inBootLoader());
    EXPECT_EQ(d.command("p"), "p\r\n$\r\n");
    EXPECT_EQ(d.command("bs"), "bs\r\nFlash not erased\r\n$\r\n");
    EXPECT_EQ(d.command("bf3"), "bf3\r\nFlash block 3 erased\r\n$\r\n");
    EXPECT_EQ(d.command("bs"), "bs\r\nReady\r\n#\r\n");

    const auto image = smallImage();
    for (std::size_t i = 0; i + 1 < image.size(); ++i) {
        EXPECT_EQ(d.command(image[i]), image[i] + "\r\n$\r\n");
    }
    EXPECT_EQ(d.command("a"), "a\r\nAddr = 0x10028\r\n$\r\n");
    EXPECT_EQ(d.command(image.back()), image.back() + "\r\nEOF\r\n$\r\n");
    EXPECT_EQ(d.unit.bootLoader().image().size(), 40u);
    EXPECT_EQ(d.unit.bootLoader().image().at(0x10000), 'N');
    EXPECT_EQ(d.unit.firmwareVersion(), "3.10");

    EXPECT_EQ(d.command("g"), "g\r\nNorvique Monitor Firmware V 3.10\r\n#\r\n");
    EXPECT_FALSE(d.unit.inBootLoader());
    EXPECT_EQ(d.command("df"), "df\r\nV 3.10\r\n#\r\n");
    EXPECT_EQ(d.command("da"), "da\r\n120,100,90,80,60,70,50,159,176,106,135,100\r\n#\r\n");
}

TEST(SimBootLoader, RejectsABadRecordAndTakesTheSameLineAgain) {
    UnitDriver d(inBootLoader());
    d.command("bf3");
    const std::string good = makeHexRecord(0x00, 0x0100, {1, 2, 3, 4});
    std::string bad = good;
    bad.back() = bad.back() == '0' ? '1' : '0'; // checksum off by one
    EXPECT_EQ(d.command(bad), bad + "\r\n!\r\n");
    EXPECT_TRUE(d.unit.bootLoader().image().empty());
    EXPECT_EQ(d.command(good), good + "\r\n$\r\n");
    EXPECT_EQ(d.unit.bootLoader().image().size(), 4u);
    EXPECT_EQ(d.unit.bootLoader().recordsRejected(), 1);
}

TEST(SimBootLoader, EveryEraseLeavesNoApplicationToStart) {
    for (const char* erase : {"bf1", "bf2", "bf3", "be"}) {
        UnitDriver d(inBootLoader());
        const auto out = d.command(erase);
        EXPECT_NE(out.find("erased\r\n$\r\n"), std::string::npos) << erase;
        EXPECT_EQ(d.command("g"), "g\r\nNo valid application\r\n$\r\n") << erase;
        EXPECT_TRUE(d.unit.inBootLoader());
    }
}

TEST(SimBootLoader, AnImageWithoutAVersionKeepsTheOldOne) {
    UnitDriver d(inBootLoader("1.39"));
    d.command("be");
    d.command(makeHexRecord(0x00, 0, {0xFF, 0x00}));
    d.command(makeHexRecord(0x01, 0, {}));
    EXPECT_EQ(d.command("g"), "g\r\nNorvique Monitor Firmware V 1.39\r\n#\r\n");
}

TEST(SimBootLoader, EraseTakesItsTimeBeforeThePrompt) {
    auto options = inBootLoader();
    options.eraseTimeMs = 250;
    UnitDriver d(options);
    d.unit.receive("bf3\r\n", 0);
    EXPECT_EQ(d.unit.takeOutput(249), "bf3\r\n");
    EXPECT_EQ(d.unit.nextOutputTime(), std::optional<std::int64_t>(250));
    EXPECT_EQ(d.unit.takeOutput(250), "Flash block 3 erased\r\n$\r\n");
}

TEST(SimBootLoader, KnowsNoApplicationCommands) {
    UnitDriver d(inBootLoader());
    EXPECT_EQ(d.command("df"), "df\r\n?\r\n$\r\n");
    EXPECT_EQ(d.command(""), "\r\n$\r\n");
}

struct HexCase {
    const char* line;
    HexError error;
};

class SimHexRecord : public ::testing::TestWithParam<HexCase> {};

TEST_P(SimHexRecord, IsCheckedForShapeAndChecksum) {
    EXPECT_EQ(parseHexRecord(GetParam().line).error, GetParam().error) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SimHexRecord,
    ::testing::Values(
        HexCase{":10010000214601360121470136007EFE09D2190140", HexError::None},
        HexCase{":10010000214601360121470136007efe09d2190140", HexError::None},
        HexCase{":00000001FF", HexError::None}, HexCase{":00000001FE", HexError::BadChecksum},
        HexCase{":10010000214601360121470136007EFE09D2190141", HexError::BadChecksum},
        HexCase{"10010000214601360121470136007EFE09D2190140", HexError::NoColon},
        HexCase{":0000000G1FF", HexError::BadCharacter}, HexCase{":00000001F", HexError::BadLength},
        HexCase{":000001FF", HexError::BadLength}, HexCase{":0200000001FD", HexError::BadLength}));

TEST(SimHexRecordBuild, MakesTheRecordsThatParseBack) {
    EXPECT_EQ(makeHexRecord(0x01, 0, {}), ":00000001FF");
    const std::vector<std::uint8_t> data{0x21, 0x46, 0x01, 0x36, 0x01, 0x21, 0x47, 0x01,
                                         0x36, 0x00, 0x7E, 0xFE, 0x09, 0xD2, 0x19, 0x01};
    EXPECT_EQ(makeHexRecord(0x00, 0x0100, data), ":10010000214601360121470136007EFE09D2190140");
    const auto parsed = parseHexRecord(makeHexRecord(0x00, 0x0100, data));
    ASSERT_TRUE(parsed.record);
    EXPECT_EQ(parsed.record->address, 0x0100);
    EXPECT_EQ(parsed.record->data, data);
}

} // namespace
} // namespace orlix::sim
