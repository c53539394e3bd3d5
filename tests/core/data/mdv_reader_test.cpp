// The data file reader: hand-written files in golden/ with the exact message
// each gives, the lines the key table leaves open, and write-then-read.
#include "core/data/mdv_reader.h"
#include "core/data/mdv_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>

namespace orlix {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = fs::path(__FILE__).parent_path() / "golden";
constexpr DateTime kCreated{2024, 3, 7, 14, 5, 9};
constexpr std::size_t kSets = kMaxScanSets;

struct Reading {
    MonitorData data;
    MdvReadResult result = MdvReadResult::Refused;
    std::vector<std::string> messages;
    std::vector<std::string> dispatched;
};

MonitorData openModel() {
    MonitorData d;
    SetDefaultCountsAndNames(d);
    d.FileIsOpen = d.FileOpenForInput = true;
    d.DiskFileNum = 1;
    return d;
}

Reading read(std::istream&& in, const std::string& title, MonitorData data = openModel()) {
    Reading r;
    r.data = std::move(data);
    r.data.DataFileTitle = title;
    MdvReadHooks hooks;
    hooks.message = [&r](std::string_view text) { r.messages.emplace_back(text); };
    hooks.replyDispatcher = [&r](std::string_view text) { r.dispatched.emplace_back(text); };
    r.result = ReadMDF(r.data, in, hooks);
    return r;
}

Reading readGolden(const std::string& name) {
    return read(std::ifstream(kGolden / name, std::ios::binary), name);
}

Reading readText(const std::string& text, MonitorData data = openModel()) {
    return read(std::istringstream(text), "t.mdv", std::move(data));
}

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        text += std::string(line) + "\r\n";
    }
    return text;
}

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
        {"six_scan_sets.mdv", R::Complete, std::nullopt},
        {"only_scan_set_2.mdv", R::Complete, std::nullopt},
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

TEST(MdvReader, FilesInTheWritersFormAreWrittenAgainByteForByte) {
    for (const std::string name : {"valid_connected.mdv", "valid_offline_small.mdv",
                                   "six_scan_sets.mdv", "only_scan_set_2.mdv"}) {
        Reading r = readGolden(name);
        const bool connected = !r.dispatched.empty();
        // The reply handlers store the versions.
        r.data.FirmwareVersion = "V 2.24";
        r.data.RomVersion = "V 1.05";
        r.data.FirmwareVersionCode = 224;
        std::ifstream in(kGolden / name, std::ios::binary);
        EXPECT_EQ(formatMdv(r.data, connected, kCreated),
                  std::string(std::istreambuf_iterator<char>(in), {}))
            << name;
    }
}

TEST(MdvReader, WhatTheGoldenFilesStore) {
    const Reading full = readGolden("valid_connected.mdv");
    EXPECT_EQ(full.dispatched, (std::vector<std::string>{"df\r\nV 2.24", "de\r\nV 1.05"}));
    // Values run 1, 2, ... through each block, plus 100 per scan set; F and
    // P add 30 and 60.
    EXPECT_EQ(full.data.L.Value[0][0], 1);
    EXPECT_EQ(full.data.L.FValue[0][0], 31);
    EXPECT_EQ(full.data.L.PValue[0][0], 61);
    EXPECT_EQ(full.data.H.Value[1][kHorizSCapIndex], 115);
    EXPECT_EQ(full.data.N.PValue[1][5], 188);

    // "Model Number :", the CR older files kept after identity texts, padded
    // unquoted fields, extra fields, leading numbers in the limits.
    const Reading old = readGolden("valid_older_quirks.mdv");
    EXPECT_EQ(old.data.ModelNumber, "XYZ-100");
    EXPECT_EQ(old.data.SerialNumber, "SN0012345");
    EXPECT_EQ(old.data.PartNumber, "PN-4471-02");
    EXPECT_EQ(old.dispatched, (std::vector<std::string>{"df\r\nV 1.39", "de\r\nV 1.05"}));
    EXPECT_EQ(old.data.OperatingHours, "12:03:07:09");
    EXPECT_EQ(old.data.OperatingCycles, "42");
    EXPECT_EQ(old.data.HVUpperLimit, 230);
    EXPECT_EQ(old.data.HVLowerLimit, 182);
    EXPECT_EQ(old.data.L.count, 1);
    EXPECT_EQ(old.data.L.Value[2][0], 7);
    EXPECT_EQ(old.data.L.PValue[2][0], 9);
    EXPECT_EQ(old.data.H.PValue[2][kHorizSCapIndex], 6);

    // Unnamed lines in an N block are the next N indexes, within the count.
    EXPECT_EQ(readGolden("valid_offline_small.mdv").data.N.PValue[0][3], 70);
    EXPECT_EQ(readGolden("unnamed_n_past_count.mdv").data.N.Value[0][3], 10);

    // A read stops at the first error and keeps what earlier lines stored.
    const Reading stopped = readGolden("name_not_found.mdv");
    EXPECT_EQ(stopped.data.L.Value[1][0], 11);
    EXPECT_EQ(stopped.data.L.Value[1][2], 0);
}

TEST(MdvReader, KeyLinesAndTheirErrors) {
    const std::string head =
        crlf({R"("Norvique Monitor DAC Value File")", R"("Version 3.0")",
              R"("File Created: ","3/7/2024 2:05:09 PM")", R"("NumScanSets",6)", R"("NumLDacs",8)",
              R"("NumBDacs",2)", R"("NumHDacs",4)", R"("NumVDacs",7)", R"("NumNDacs",6)"});
    std::string padding; // further than 16 bits can count
    while (padding.size() < 100'000) {
        padding += crlf({R"("#","a comment that pads the file")"});
    }
    // The lines after `head` and their message; "" when read in full, "@"
    // for where the last line starts.
    const std::pair<std::string, std::string> cases[] = {
        {crlf({R"("NumScanSets",7)", R"("ScanSet",6)", R"("NumBDacs",8)"}), ""},
        {crlf({R"("NumNDacs",-1)"}), "In ReadMDF, Error #9: Subscript out of range"},
        {crlf({R"("HV Upper Limit: ","40000")"}), "In ReadMDF, Error #6: Overflow"},
        {crlf({R"("#")"}), "In ReadMDF, Error #62: Input past end of line"},
        {crlf({R"(" Red Gain ",1,2,3)"}), ""},
        // An unnamed line follows a DAC line, never a key line.
        {crlf({R"("North-South Phase",1,2,3)", R"("ScanSet",1)", R"("",1,2,3)"}),
         "Name Not Found: \r\nLine @\r\nScanSetReading: 1"},
        {padding + crlf({R"("ScanSet",3)", R"("NumLDacs",9)"}),
         "Bad Input - NumLDacs Value Too Large\rLine @"},
    };
    for (auto [lines, message] : cases) {
        const std::string text = head + lines;
        if (const auto at = message.find('@'); at != std::string::npos) {
            message.replace(at, 1, std::to_string(text.rfind("\r\n", text.size() - 3) + 3));
        }
        const Reading r = readText(text);
        EXPECT_EQ(r.messages,
                  message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message})
            << lines.substr(0, 80);
    }
}

TEST(MdvReader, EverythingWrittenReadsBack) {
    MonitorData w;
    SetDefaultCountsAndNames(w);
    w.L.count = 5;
    w.B.count = 4; // past its two names, as H and V
    w.H.count = 6;
    w.V.count = 8;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-32768, 32767);
    for (DacGroup* g : {&w.L, &w.B, &w.H, &w.V, &w.N}) {
        for (DacPlane* plane : {&g->Value, &g->FValue, &g->PValue}) {
            for (auto& row : *plane) {
                for (auto& v : row) {
                    v = static_cast<std::int16_t>(value(random));
                }
            }
        }
    }
    w.ScanSetNames = {"640x480, 60Hz", "x", "", " padded ", "#", "3", "unused"};
    w.ScanSetIncluded = {true, false, true, false, false, true, true};
    w.ModelNumber = "XYZ-100, rev B";
    w.SerialNumber = " SN 1 ";
    w.PartNumber = "PN";
    w.CrtSerialNumber = "CS";
    w.CrtPartNumber = "CP";
    w.FirmwareVersion = "V 1.39";
    w.FirmwareVersionCode = 139;
    w.RomVersion = "V 1.05";
    w.OperatingHours = "523:07:42:18";
    w.OperatingCycles = "1873";
    w.HVUpperLimit = -32768;
    w.HVLowerLimit = 32767;

    for (const bool reported : {false, true}) {
        w.ScanSetsReported = reported;
        MonitorData fresh = openModel();
        fresh.NumScanSets = 1;
        for (DacGroup* g : {&fresh.L, &fresh.B, &fresh.H, &fresh.V, &fresh.N}) {
            g->count = 1;
        }
        const Reading r = readText(formatMdv(w, true, kCreated), fresh);
        ASSERT_EQ(r.messages, std::vector<std::string>{});
        const MonitorData& d = r.data;

        EXPECT_EQ(d.NumScanSets, w.NumScanSets);
        for (std::size_t s = 0; s < kSets; ++s) {
            const bool carried = int(s) < w.NumScanSets && (!reported || w.ScanSetIncluded[s]);
            ASSERT_EQ(d.ScanSetIncluded[s], carried) << s;
            if (carried) {
                EXPECT_EQ(d.ScanSetNames[s], s == 2 ? "Scan Set 2" : w.ScanSetNames[s]);
            }
        }
        for (const GroupId g : {GroupId::L, GroupId::B, GroupId::H, GroupId::V, GroupId::N}) {
            const DacGroup& a = w.group(g);
            const DacGroup& b = d.group(g);
            EXPECT_EQ(b.count, a.count);
            for (std::size_t s = 0; s < kSets; ++s) {
                for (int i = 0; d.ScanSetIncluded[s] && i < kMaxDacs; ++i) {
                    if (i >= a.count && !(g == GroupId::H && i == kHorizSCapIndex)) {
                        continue;
                    }
                    const auto di = static_cast<std::size_t>(i);
                    EXPECT_EQ(b.Value[s][di], a.Value[s][di]) << s << "," << i;
                    EXPECT_EQ(b.FValue[s][di], a.FValue[s][di]) << s << "," << i;
                    EXPECT_EQ(b.PValue[s][di], a.PValue[s][di]) << s << "," << i;
                }
            }
        }
        for (const auto member :
             {&MonitorData::ModelNumber, &MonitorData::SerialNumber, &MonitorData::PartNumber,
              &MonitorData::CrtSerialNumber, &MonitorData::CrtPartNumber,
              &MonitorData::OperatingHours, &MonitorData::OperatingCycles}) {
            EXPECT_EQ(d.*member, w.*member);
        }
        EXPECT_EQ(d.HVUpperLimit, w.HVUpperLimit);
        EXPECT_EQ(d.HVLowerLimit, w.HVLowerLimit);
        EXPECT_EQ(r.dispatched, (std::vector<std::string>{"df\r\nV 1.39", "de\r\nV 1.05"}));
    }
}

} // namespace
} // namespace orlix
