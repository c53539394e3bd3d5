// The data file reader: hand-written files in golden/ with the exact message
// each gives, the lines the key table leaves open, and write-then-read.
#include "core/data/mdv_reader.h"
#include "core/data/mdv_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

namespace orlix {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = fs::path(__FILE__).parent_path() / "golden";

struct Reading {
    MonitorData data;
    MdvReadResult result = MdvReadResult::Refused;
    std::vector<std::string> messages;
    std::vector<std::string> dispatched;
};

MonitorData openModel(std::string title) {
    MonitorData d;
    SetDefaultCountsAndNames(d);
    d.FileIsOpen = true;
    d.FileOpenForInput = true;
    d.DiskFileNum = 1;
    d.DataFileTitle = std::move(title);
    return d;
}

void read(Reading& r, std::istream& in) {
    MdvReadHooks hooks;
    hooks.message = [&r](std::string_view text) { r.messages.emplace_back(text); };
    hooks.replyDispatcher = [&r](std::string_view text) { r.dispatched.emplace_back(text); };
    r.result = ReadMDF(r.data, in, hooks);
}

Reading readGolden(const std::string& name) {
    Reading r;
    r.data = openModel(name);
    std::ifstream in(kGolden / name, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << name;
    read(r, in);
    return r;
}

Reading readText(const std::string& text, MonitorData data = openModel("t.mdv")) {
    Reading r;
    r.data = std::move(data);
    std::istringstream in(text);
    read(r, in);
    return r;
}

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

const std::string kHead =
    crlf({R"("Norvique Monitor DAC Value File")", R"("Version 3.0")",
          R"("File Created: ","3/7/2024 2:05:09 PM")", R"("NumScanSets",6)", R"("NumLDacs",8)",
          R"("NumBDacs",2)", R"("NumHDacs",4)", R"("NumVDacs",7)", R"("NumNDacs",6)"});
// Where the first line after kHead starts.
const std::int64_t kAfterHead = static_cast<std::int64_t>(kHead.size()) + 1;

TEST(MdvReader, GoldenFilesGiveExactlyTheirMessage) {
    using R = MdvReadResult;
    struct Case {
        std::string file;
        R result;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {"valid_connected.mdv", R::Complete, std::nullopt},
        {"valid_offline_small.mdv", R::Complete, std::nullopt},
        {"valid_older_quirks.mdv", R::Complete, std::nullopt},
        {"short.mdv", R::Refused, "File short.mdv is not a valid .mdv file"},
        {"not_mdv.mdv", R::Refused, "File not_mdv.mdv is not in .mdv format"},
        {"wrong_version.mdv", R::Refused, "File wrong_version.mdv is a wrong version number"},
        {"count_too_large.mdv", R::Stopped, "Bad Input - NumLDacs Value Too Large\rLine 108"},
        {"scan_set_too_large.mdv", R::Stopped, "Bad Input - ScanSet Value Too Large\rLine 213"},
        {"scan_set_without_name.mdv", R::Stopped,
         "Bad Input - ScanSetName Has No Name Assigned\rLine 191"},
        {"name_not_found.mdv", R::Stopped,
         "Name Not Found: Master Contrst\r\nLine 331\r\nScanSetReading: 1"},
        {"unnamed_n_past_count.mdv", R::Stopped,
         "Name Not Found: \r\nLine 316\r\nScanSetReading: 0"},
        {"number_overflow.mdv", R::Stopped, "In ReadMDF, Error #6: Overflow"},
        {"negative_scan_set.mdv", R::Stopped, "In ReadMDF, Error #9: Subscript out of range"},
        {"eight_scan_sets.mdv", R::Stopped, "In ReadMDF, Error #9: Subscript out of range"},
        {"not_a_number.mdv", R::Stopped, "In ReadMDF, Error #13: Type mismatch"},
        {"line_too_long.mdv", R::Stopped, "In ReadMDF, Error #14: Line too long"},
        {"missing_field.mdv", R::Stopped, "In ReadMDF, Error #62: Input past end of line"},
    };
    for (const auto& c : cases) {
        const Reading r = readGolden(c.file);
        EXPECT_EQ(r.result, c.result) << c.file;
        EXPECT_EQ(r.messages,
                  c.message ? std::vector<std::string>{*c.message} : std::vector<std::string>{})
            << c.file;
        // Refused files are not open; a stopped read leaves the file open.
        EXPECT_EQ(r.data.FileIsOpen, c.result != R::Refused) << c.file;
        EXPECT_EQ(r.data.FileOpenForInput, c.result != R::Refused) << c.file;
        EXPECT_EQ(r.data.DiskFileNum, c.result == R::Refused ? 0 : 1) << c.file;
    }
}

TEST(MdvReader, AConnectedUnitsFileFillsEveryValueAndHandsTheVersionsToTheDispatcher) {
    const Reading r = readGolden("valid_connected.mdv");
    const MonitorData& d = r.data;
    EXPECT_EQ(d.ModelNumber, "XYZ-100");
    EXPECT_EQ(d.SerialNumber, "SN0012345");
    EXPECT_EQ(d.PartNumber, "PN-4471-02");
    EXPECT_EQ(d.CrtSerialNumber, "K7731590");
    EXPECT_EQ(d.CrtPartNumber, "M19KTB22");
    EXPECT_EQ(d.OperatingHours, "523:07:42:18");
    EXPECT_EQ(d.OperatingCycles, "1873");
    EXPECT_EQ(d.HVUpperLimit, 230);
    EXPECT_EQ(d.HVLowerLimit, 180);
    EXPECT_EQ(r.dispatched, (std::vector<std::string>{"df\r\nV 2.24", "de\r\nV 1.05"}));
    EXPECT_EQ(d.NumScanSets, 2);
    EXPECT_EQ(d.ScanSetNames[1], "800x600 60Hz");
    EXPECT_TRUE(d.ScanSetIncluded[0] && d.ScanSetIncluded[1]);
    EXPECT_FALSE(d.DataChanged);

    // The file numbers its values 1, 2, ... through each block, in the order
    // L, B, H, Horiz S Cap, V, N, plus 100 per scan set; F and P add 30, 60.
    struct Run {
        const DacGroup& group;
        int first, count, number;
    };
    const Run runs[] = {{d.L, 0, 8, 1},  {d.B, 0, 2, 9},  {d.H, 0, 4, 11},
                        {d.H, 8, 1, 15}, {d.V, 0, 7, 16}, {d.N, 0, 6, 23}};
    for (std::size_t s = 0; s < 2; ++s) {
        for (const auto& run : runs) {
            for (int i = 0; i < run.count; ++i) {
                const auto dac = static_cast<std::size_t>(run.first + i);
                const int v = int(s) * 100 + run.number + i;
                EXPECT_EQ(run.group.Value[s][dac], v) << s << "," << dac;
                EXPECT_EQ(run.group.LoadedValue[s][dac], v);
                EXPECT_EQ(run.group.FValue[s][dac], v + 30);
                EXPECT_EQ(run.group.PValue[s][dac], v + 60);
            }
        }
    }
}

TEST(MdvReader, OlderFilesAndHandEditedLinesReadAsMeant) {
    const Reading r = readGolden("valid_older_quirks.mdv");
    const MonitorData& d = r.data;
    // "Model Number :" and the CR older files kept after identity texts.
    EXPECT_EQ(d.ModelNumber, "XYZ-100");
    EXPECT_EQ(d.SerialNumber, "SN0012345");
    EXPECT_EQ(d.PartNumber, "PN-4471-02");
    EXPECT_EQ(r.dispatched, (std::vector<std::string>{"df\r\nV 1.39", "de\r\nV 1.05"}));
    EXPECT_EQ(d.OperatingHours, "12:03:07:09");
    EXPECT_EQ(d.OperatingCycles, "42");
    // Leading numbers rounded half to even; an LF-only line end before it.
    EXPECT_EQ(d.HVUpperLimit, 230);
    EXPECT_EQ(d.HVLowerLimit, 182);
    EXPECT_EQ(d.NumScanSets, 3);
    EXPECT_EQ(d.L.count, 1);
    EXPECT_EQ(d.N.count, 0);
    EXPECT_EQ(d.ScanSetNames[2], "Night, dimmed");
    // Unquoted, padded fields; the extra fields are ignored.
    EXPECT_EQ(d.L.Value[2][0], 7);
    EXPECT_EQ(d.L.FValue[2][0], 8);
    EXPECT_EQ(d.L.PValue[2][0], 9);
    EXPECT_EQ(d.H.PValue[2][kHorizSCapIndex], 6);
}

TEST(MdvReader, StopsAtTheFirstErrorAndKeepsWhatEarlierLinesStored) {
    const Reading r = readGolden("name_not_found.mdv");
    EXPECT_EQ(r.data.L.Value[0][0], 1);  // scan set 0, before the error
    EXPECT_EQ(r.data.L.Value[1][0], 11); // scan set 1, the line before the error
    EXPECT_EQ(r.data.L.Value[1][2], 0);  // "Red Gain" after the error
    EXPECT_EQ(r.data.LinePos, 331);
}

TEST(MdvReader, UnnamedLinesInsideAnNBlockAreTheNextNIndexes) {
    const Reading r = readGolden("valid_offline_small.mdv");
    EXPECT_EQ(r.result, MdvReadResult::Complete);
    EXPECT_EQ(r.data.N.count, 4);
    EXPECT_EQ(r.data.N.Value[0][3], 10);
    EXPECT_EQ(r.data.N.PValue[0][3], 70);
    EXPECT_EQ(r.data.L.Value[0][0], -5);
    EXPECT_EQ(r.data.L.PValue[0][0], 32767);

    const Reading past = readGolden("unnamed_n_past_count.mdv");
    EXPECT_EQ(past.data.N.Value[0][3], 10); // the first unnamed line was index 3
}

TEST(MdvReader, KeyLinesAndTheirErrors) {
    struct Case {
        std::string lines;
        std::string message; // empty: read in full
    };
    const std::string pos = std::to_string(kAfterHead);
    const std::string nextPos =
        std::to_string(kAfterHead + 13 + 19); // after "ScanSet",0 and the name
    const Case cases[] = {
        {crlf({R"("NumScanSets",9)"}), "Bad Input - NumScanSets Value Too Large\rLine " + pos},
        {crlf({R"("NumScanSets",7)", R"("ScanSet",6)"}), ""},
        {crlf({R"("NumBDacs",8)"}), ""},
        {crlf({R"("NumNDacs",-1)"}), "In ReadMDF, Error #9: Subscript out of range"},
        {crlf({R"("ScanSet",5)"}), ""},
        {crlf({R"("HV Upper Limit: ","40000")"}), "In ReadMDF, Error #6: Overflow"},
        {crlf({R"("HV Lower Limit: ","-0.5")"}), ""},
        {crlf({R"("#")"}), "In ReadMDF, Error #62: Input past end of line"},
        {crlf({R"("Red Gain","1","2","3")"}), ""},
        {crlf({R"(" Red Gain ",1,2,3)"}), ""},
        {crlf({R"("red gain",1,2,3)"}),
         "Name Not Found: red gain\r\nLine " + pos + "\r\nScanSetReading: 0"},
        {crlf({R"("ScanSet",0)", R"("ScanSetName","A")", R"("",1,2,3)"}),
         "Name Not Found: \r\nLine " + nextPos + "\r\nScanSetReading: 0"},
        {crlf({R"("ScanSet",0)", R"("ScanSetName","A")", R"("Red Gain",1,2,3,4,"x")"}), ""},
        {crlf({R"("Red Gain",1,,3)"}), "In ReadMDF, Error #13: Type mismatch"},
        {crlf({R"("White Level",1,2,3)", R"("Bias Adjust",1,2,3)", R"("",1,2,3)"}),
         "Name Not Found: \r\nLine " + std::to_string(kAfterHead + 21 + 21) +
             "\r\nScanSetReading: 0"},
        {crlf({"", "   ", R"("Red Gain",1,2,3)"}), ""},
    };
    for (const auto& c : cases) {
        const Reading r = readText(kHead + c.lines);
        EXPECT_EQ(r.messages, c.message.empty() ? std::vector<std::string>{}
                                                : std::vector<std::string>{c.message})
            << c.lines;
        EXPECT_EQ(r.result, c.message.empty() ? MdvReadResult::Complete : MdvReadResult::Stopped)
            << c.lines;
    }
}

TEST(MdvReader, LinesFarIntoALargeFileKeepTheirBytePosition) {
    std::string text = kHead;
    while (text.size() < 100'000) {
        text += crlf({R"("#","a comment that pads the file")"});
    }
    const std::int64_t start = static_cast<std::int64_t>(text.size()) + 1;
    text += crlf(
        {R"("ScanSet",3)", R"("ScanSetName","Far")", R"("Red Gain",1,2,3)", R"("NumLDacs",9)"});
    const Reading r = readText(text);
    EXPECT_EQ(r.messages, (std::vector<std::string>{"Bad Input - NumLDacs Value Too Large\rLine " +
                                                    std::to_string(start + 13 + 21 + 18)}));
    EXPECT_EQ(r.data.ScanSetNames[3], "Far");
    EXPECT_EQ(r.data.L.FValue[3][2], 2);
}

TEST(MdvReader, RefusesToReadWithoutAnOpenFileOrAValidHandle) {
    MonitorData closed = openModel("t.mdv");
    closed.FileIsOpen = false;
    MonitorData badHandle = openModel("t.mdv");
    badHandle.DiskFileNum = 0;
    const std::string file = kHead + crlf({R"("NumLDacs",1)"});
    EXPECT_EQ(readText(file, closed).messages,
              (std::vector<std::string>{"No File Is Open - Can't Finish Read Operation"}));
    const Reading r = readText(file, badHandle);
    EXPECT_EQ(r.messages, (std::vector<std::string>{"In ReadMDF, DiskFileNum is out of range"}));
    EXPECT_EQ(r.data.L.count, 8);
}

// A model with every value set, the way a unit's data set would be.
MonitorData randomModel(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-32768, 32767);
    MonitorData d;
    SetDefaultCountsAndNames(d);
    d.L.count = 5;
    d.B.count = 4; // past its two names, as H and V below
    d.H.count = 6;
    d.V.count = 8;
    for (DacGroup* g : {&d.L, &d.B, &d.H, &d.V, &d.N}) {
        for (DacPlane* plane : {&g->Value, &g->FValue, &g->PValue}) {
            for (auto& row : *plane) {
                for (auto& v : row) {
                    v = static_cast<std::int16_t>(value(random));
                }
            }
        }
    }
    d.ScanSetNames = {"640x480, 60Hz", "", " padded ", "#", "3", "x", "unused"};
    d.ModelNumber = "XYZ-100, rev B";
    d.SerialNumber = " SN 1 ";
    d.PartNumber = "PN";
    d.CrtSerialNumber = "CS";
    d.CrtPartNumber = "CP";
    d.FirmwareVersion = "V 1.39";
    d.RomVersion = "V 1.05";
    d.OperatingHours = "523:07:42:18";
    d.OperatingCycles = "1873";
    d.HVUpperLimit = -32768;
    d.HVLowerLimit = 32767;
    d.FirmwareVersionCode = 139;
    return d;
}

TEST(MdvReader, EverythingWrittenReadsBack) {
    for (const bool reported : {false, true}) {
        MonitorData written = randomModel(reported ? 7 : 11);
        written.ScanSetsReported = reported;
        written.ScanSetIncluded = {true, false, true, false, false, true, true};
        const std::string text = formatMdv(written, true, {2024, 3, 7, 14, 5, 9});

        MonitorData fresh = openModel("rt.mdv");
        fresh.NumScanSets = 1;
        for (DacGroup* g : {&fresh.L, &fresh.B, &fresh.H, &fresh.V, &fresh.N}) {
            g->count = 1;
        }
        const Reading r = readText(text, fresh);
        ASSERT_EQ(r.result, MdvReadResult::Complete) << (r.messages.empty() ? "" : r.messages[0]);
        const MonitorData& d = r.data;

        EXPECT_EQ(d.NumScanSets, written.NumScanSets);
        for (const GroupId g : {GroupId::L, GroupId::B, GroupId::H, GroupId::V, GroupId::N}) {
            const DacGroup& a = written.group(g);
            const DacGroup& b = d.group(g);
            EXPECT_EQ(b.count, a.count);
            for (int s = 0; s < written.NumScanSets; ++s) {
                if (!scanSetWritten(written, s)) {
                    continue;
                }
                const auto si = static_cast<std::size_t>(s);
                EXPECT_EQ(d.ScanSetNames[si], scanSetFileName(written, s));
                for (int i = 0; i < kMaxDacs; ++i) {
                    if (i >= a.count && !(g == GroupId::H && i == kHorizSCapIndex)) {
                        continue;
                    }
                    const auto di = static_cast<std::size_t>(i);
                    EXPECT_EQ(b.Value[si][di], a.Value[si][di]) << s << "," << i;
                    EXPECT_EQ(b.FValue[si][di], a.FValue[si][di]) << s << "," << i;
                    EXPECT_EQ(b.PValue[si][di], a.PValue[si][di]) << s << "," << i;
                }
            }
        }
        for (const auto member :
             {&MonitorData::ModelNumber, &MonitorData::SerialNumber, &MonitorData::PartNumber,
              &MonitorData::CrtSerialNumber, &MonitorData::CrtPartNumber,
              &MonitorData::OperatingHours, &MonitorData::OperatingCycles}) {
            EXPECT_EQ(d.*member, written.*member);
        }
        EXPECT_EQ(d.HVUpperLimit, written.HVUpperLimit);
        EXPECT_EQ(d.HVLowerLimit, written.HVLowerLimit);
        EXPECT_EQ(r.dispatched, (std::vector<std::string>{"df\r\nV 1.39", "de\r\nV 1.05"}));
        // Written again, the file is the same (with the versions that the
        // dispatcher would have stored, and the unit's scan set report).
        MonitorData again = d;
        again.FirmwareVersion = written.FirmwareVersion;
        again.RomVersion = written.RomVersion;
        again.FirmwareVersionCode = written.FirmwareVersionCode;
        again.ScanSetsReported = written.ScanSetsReported;
        EXPECT_EQ(formatMdv(again, true, {2024, 3, 7, 14, 5, 9}), text);
    }
}

} // namespace
} // namespace orlix
