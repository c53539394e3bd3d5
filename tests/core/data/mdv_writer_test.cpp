// The data file writer: the exact lines, which scan sets and identity lines
// a file carries, and that a failed write never damages the old file.
#include "core/data/mdv_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace orlix {
namespace {

namespace fs = std::filesystem;

constexpr DateTime kCreated{2024, 3, 7, 14, 5, 9};

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

MonitorData smallModel() {
    MonitorData d;
    SetDefaultCountsAndNames(d);
    d.NumScanSets = 1;
    d.L.count = d.B.count = d.H.count = d.V.count = 1;
    d.N.count = 4;
    d.ScanSetNames[0] = "Mode A";
    const auto set = [](DacGroup& g, int i, std::int16_t v, std::int16_t f, std::int16_t p) {
        g.Value[0][std::size_t(i)] = v;
        g.FValue[0][std::size_t(i)] = f;
        g.PValue[0][std::size_t(i)] = p;
    };
    set(d.L, 0, 1, 2, 3);
    set(d.B, 0, 4, 5, 6);
    set(d.H, 0, 7, 8, 9);
    set(d.H, kHorizSCapIndex, 10, 11, 12);
    set(d.V, 0, -1, 0, 1);
    set(d.N, 3, 20, 21, 22);
    return d;
}

TEST(MdvWriter, WritesTheLinesOfAnOfflineFileExactly) {
    EXPECT_EQ(formatMdv(smallModel(), false, kCreated),
              joinLines({R"("Norvique Monitor DAC Value File")",
                         R"("Version 3.0")",
                         R"("File Created: ","3/7/2024 2:05:09 PM")",
                         R"("NumScanSets",1)",
                         R"("NumLDacs",1)",
                         R"("NumBDacs",1)",
                         R"("NumHDacs",1)",
                         R"("NumVDacs",1)",
                         R"("NumNDacs",4)",
                         R"("ScanSet",0)",
                         R"("ScanSetName","Mode A")",
                         R"("Master Contrast",1,2,3)",
                         R"("White Level",4,5,6)",
                         R"("Horizontal Size",7,8,9)",
                         R"("Horiz S Cap",10,11,12)",
                         R"("Vertical Size",-1,0,1)",
                         R"("North-South Correction",0,0,0)",
                         R"("North-South Trapezoid",0,0,0)",
                         R"("North-South Phase",0,0,0)",
                         R"("",20,21,22)"}));
}

TEST(MdvWriter, TheIdentityBlockNeedsAConnectedUnitAndTheCrtLinesAFirstGenerationOne) {
    struct Case {
        std::int16_t code;
        bool crtLines;
    };
    const Case cases[] = {{99, false}, {100, true}, {150, true}, {299, true}, {300, false}};
    for (const auto& c : cases) {
        MonitorData d = smallModel();
        d.ModelNumber = "XYZ-100";
        d.SerialNumber = "SN1";
        d.PartNumber = "PN";
        d.CrtSerialNumber = "CS";
        d.CrtPartNumber = "CP";
        d.FirmwareVersion = "V 2.24";
        d.RomVersion = "V 1.05";
        d.OperatingHours = "1:02:03:04";
        d.OperatingCycles = "42";
        d.HVUpperLimit = 230;
        d.HVLowerLimit = -5;
        d.FirmwareVersionCode = c.code;
        const std::string crt =
            c.crtLines ? joinLines({R"("CRT Serial Number: ","CS")", R"("CRT Part Number: ","CP")"})
                       : "";
        const std::string expected =
            joinLines({R"("Norvique Monitor DAC Value File")", R"("Version 3.0")",
                       R"("File Created: ","3/7/2024 2:05:09 PM")", R"("Model Number: ","XYZ-100")",
                       R"("Serial Number: ","SN1")", R"("Part Number: ","PN")"}) +
            crt +
            joinLines({R"("Firmware Version: ","V 2.24")", R"("ROM Version: ","V 1.05")",
                       R"("Operating Hours: ","1:02:03:04")", R"("Operating Cycles: ","42")",
                       R"("HV Upper Limit: ","230")", R"("HV Lower Limit: ","-5")",
                       R"("NumScanSets",1)"});
        const std::string text = formatMdv(d, true, kCreated);
        EXPECT_EQ(text.substr(0, expected.size()), expected) << c.code;
        EXPECT_EQ(formatMdv(d, false, kCreated).find("Model Number"), std::string::npos);
    }
}

std::vector<std::string> scanSetLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while ((pos = text.find("\"ScanSet", pos)) != std::string::npos) {
        const std::size_t end = text.find("\r\n", pos);
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

TEST(MdvWriter, CarriesEveryScanSetUntilTheUnitSaysWhichItHasAndNamesTheUnnamed) {
    MonitorData d = smallModel();
    d.NumScanSets = 3;
    d.ScanSetNames = {"A", "", "C"};
    EXPECT_EQ(scanSetLines(formatMdv(d, false, kCreated)),
              (std::vector<std::string>{R"("ScanSet",0)", R"("ScanSetName","A")", R"("ScanSet",1)",
                                        R"("ScanSetName","Scan Set 1")", R"("ScanSet",2)",
                                        R"("ScanSetName","C")"}));

    d.ScanSetsReported = true;
    d.ScanSetIncluded = {true, false, true, true};
    EXPECT_EQ(scanSetLines(formatMdv(d, false, kCreated)),
              (std::vector<std::string>{R"("ScanSet",0)", R"("ScanSetName","A")", R"("ScanSet",2)",
                                        R"("ScanSetName","C")"}));
}

TEST(MdvWriter, NeverWritesPastTheTablesWhateverTheCounts) {
    MonitorData d = smallModel();
    d.NumScanSets = 20;
    d.L.count = 50;
    d.B.count = -3;
    const std::string text = formatMdv(d, false, kCreated);
    EXPECT_EQ(scanSetLines(text).size(), 2u * kMaxScanSets);
    EXPECT_NE(text.find(R"("ScanSet",6)"), std::string::npos);
    EXPECT_EQ(text.find("White Level"), std::string::npos);
    EXPECT_EQ(text.find(R"("NumScanSets",20)"), text.find("\"NumScanSets\""));
}

class MdvWriteFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device entropy;
        dir = fs::temp_directory_path() / ("orlix6-mdv-writer-" + std::to_string(entropy()));
        fs::create_directories(dir);
        data = smallModel();
        data.FileIsOpen = true;
        data.DiskFileNum = 1;
        data.FileOpenForInput = true;
        data.DataChanged = true;
        data.DataFilePath = (dir / "a.mdv").string();
        hooks.now = kCreated;
        hooks.message = [this](std::string_view text) { messages.emplace_back(text); };
        hooks.restartDataWalk = [this] { steps.emplace_back("walk"); };
        hooks.busy = [this](bool on) { steps.emplace_back(on ? "busy" : "idle"); };
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
    MonitorData data;
    MdvWriteHooks hooks;
    std::vector<std::string> messages;
    std::vector<std::string> steps;
};

TEST_F(MdvWriteFile, ReplacesTheWholeFileAndClosesIt) {
    {
        std::ofstream old(dir / "a.mdv", std::ios::binary);
        old << std::string(10'000, 'o'); // longer than the new file
    }
    fs::permissions(dir / "a.mdv", fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_TRUE(WriteMDF(data, hooks));
    EXPECT_EQ(contents(dir / "a.mdv"), formatMdv(data, false, kCreated));
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"a.mdv"}));
    EXPECT_EQ(fs::status(dir / "a.mdv").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(steps, (std::vector<std::string>{"busy", "walk", "idle"}));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(data.FileIsOpen);
    EXPECT_FALSE(data.FileOpenForInput);
    EXPECT_EQ(data.DiskFileNum, 0);
    EXPECT_FALSE(data.DataChanged);
}

TEST_F(MdvWriteFile, AFailedWriteNamesTheFileAndTheReasonAndLeavesNothingBehind) {
    struct Case {
        fs::path target;
        std::string reason;
    };
    fs::create_directories(dir / "folder" / "inside");
    const Case cases[] = {
        {dir / "missing" / "a.mdv", "No such file or directory"},
        {dir / "folder", "Is a directory"}, // a folder is never replaced by a file
    };
    for (const auto& c : cases) {
        messages.clear();
        steps.clear();
        data.FileIsOpen = true;
        data.DiskFileNum = 1;
        data.DataFilePath = c.target.string();
        EXPECT_FALSE(WriteMDF(data, hooks)) << c.target;
        ASSERT_EQ(messages.size(), 1u);
        const std::string prefix = "The data file " + c.target.string() + " cannot be written: ";
        EXPECT_EQ(messages[0].substr(0, prefix.size()), prefix);
        EXPECT_NE(messages[0].find(c.reason), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find("The file on disk is unchanged."), std::string::npos);
        EXPECT_EQ(steps, (std::vector<std::string>{"busy", "walk", "idle"}));
        EXPECT_FALSE(data.FileIsOpen);
        EXPECT_EQ(data.DiskFileNum, 0);
        EXPECT_TRUE(data.DataChanged); // nothing was saved
    }
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"folder"}));
    EXPECT_TRUE(fs::is_directory(dir / "folder" / "inside"));
}

TEST_F(MdvWriteFile, RefusesWithoutAnOpenFileOrAValidHandle) {
    data.FileIsOpen = false;
    EXPECT_FALSE(WriteMDF(data, hooks));
    data.FileIsOpen = true;
    data.DiskFileNum = 256;
    EXPECT_FALSE(WriteMDF(data, hooks));
    EXPECT_EQ(messages, (std::vector<std::string>{"InWriteMDF, FileIsOpen is False",
                                                  "In WriteMDF, DiskFileNum is out of range"}));
    EXPECT_TRUE(steps.empty());
    EXPECT_TRUE(filesInDir().empty());
}

} // namespace
} // namespace orlix
