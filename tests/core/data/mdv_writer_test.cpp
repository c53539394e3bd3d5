// The data file writer: which identity lines and scan sets a file carries,
// and that a failed write never damages the old file. The exact lines are
// checked against golden/ by the reader's tests.
#include "core/data/mdv_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace orlix {
namespace {

namespace fs = std::filesystem;

constexpr DateTime kCreated{2024, 3, 7, 14, 5, 9};
constexpr auto npos = std::string::npos;

MonitorData defaultModel() {
    MonitorData d;
    SetDefaultCountsAndNames(d);
    return d;
}

TEST(MdvWriter, IdentityLinesNeedAConnectedUnitAndCrtLinesAFirstGenerationOne) {
    MonitorData d = defaultModel();
    const std::pair<std::int16_t, bool> cases[] = {
        {99, false}, {100, true}, {299, true}, {300, false}};
    for (const auto& [code, crtLines] : cases) {
        d.FirmwareVersionCode = code;
        const std::string text = formatMdv(d, true, kCreated);
        EXPECT_NE(text.find("\r\n\"Model Number: \",\""), npos);
        EXPECT_EQ(text.find("\r\n\"CRT Serial Number: \",\"") != npos, crtLines) << code;
        EXPECT_EQ(text.find("\r\n\"CRT Part Number: \",\"") != npos, crtLines) << code;
        EXPECT_EQ(formatMdv(d, false, kCreated).find("Model Number"), npos);
    }
}

TEST(MdvWriter, NeverWritesPastTheTablesWhateverTheCounts) {
    MonitorData d = defaultModel();
    d.NumScanSets = 20;
    d.L.count = 50;
    d.B.count = -3;
    const std::string text = formatMdv(d, false, kCreated);
    EXPECT_NE(text.find("\"NumScanSets\",20\r\n"), npos);
    EXPECT_NE(text.find("\"ScanSet\",6\r\n"), npos);
    EXPECT_EQ(text.find("\"ScanSet\",7\r\n"), npos);
    EXPECT_EQ(text.find("White Level"), npos);
}

class MdvWriteFile : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir);
        hooks.now = kCreated;
        hooks.message = [this](std::string_view text) { messages.emplace_back(text); };
        hooks.restartDataWalk = [this] { steps.emplace_back("walk"); };
        hooks.busy = [this](bool on) { steps.emplace_back(on ? "busy" : "idle"); };
    }
    void TearDown() override { fs::remove_all(dir); }

    bool write(const fs::path& target) {
        data.FileIsOpen = data.DataChanged = true;
        data.DiskFileNum = 1;
        data.DataFilePath = target.string();
        messages.clear();
        steps.clear();
        const bool written = WriteMDF(data, hooks);
        EXPECT_EQ(steps, (std::vector<std::string>{"busy", "walk", "idle"}));
        EXPECT_FALSE(data.FileIsOpen);
        EXPECT_EQ(data.DiskFileNum, 0);
        EXPECT_EQ(data.DataChanged, !written);
        return written;
    }
    long filesInDir() const {
        return std::distance(fs::directory_iterator(dir), fs::directory_iterator());
    }

    const fs::path dir =
        fs::temp_directory_path() / ("orlix6-mdv-writer-" + std::to_string(std::random_device()()));
    MonitorData data = defaultModel();
    MdvWriteHooks hooks;
    std::vector<std::string> messages;
    std::vector<std::string> steps;
};

TEST_F(MdvWriteFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
    const fs::path file = dir / "a.mdv";
    std::ofstream(file, std::ios::binary) << std::string(100'000, 'o'); // longer than the new one
    const auto perms = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(file, perms);

    ASSERT_TRUE(write(file));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              formatMdv(data, false, kCreated));
    EXPECT_EQ(filesInDir(), 1);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, perms);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MdvWriteFile, AFailedWriteNamesTheFileAndTheReasonAndLeavesNothingBehind) {
    fs::create_directories(dir / "folder" / "inside");
    const std::pair<fs::path, std::string> cases[] = {
        {dir / "missing" / "a.mdv", "No such file or directory"},
        {dir / "folder", "Is a directory"}, // a folder is never replaced by a file
    };
    for (const auto& [target, reason] : cases) {
        EXPECT_FALSE(write(target));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "The data file " + target.string() + " cannot be written: " +
                                   reason + ". The file on disk is unchanged.");
    }
    EXPECT_EQ(filesInDir(), 1);
    EXPECT_TRUE(fs::is_directory(dir / "folder" / "inside"));
}

} // namespace
} // namespace orlix
