#include "core/data/mdv_writer.h"

#include "core/data/mdv_format.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace orlix {

namespace {

namespace fs = std::filesystem;
using namespace mdv;

constexpr std::string_view kNotOpenText = "InWriteMDF, FileIsOpen is False";
constexpr std::string_view kBadHandleText = "In WriteMDF, DiskFileNum is out of range";
constexpr std::string_view kUnnamedScanSet = "Scan Set ";

class FileText {
public:
    void text(std::string_view key, std::string_view value) {
        m_out += quotedField(key);
        m_out += ',';
        m_out += quotedField(value);
        m_out += kLineEnd;
    }
    // The identity and limit keys carry a blank after the colon.
    void identity(std::string_view key, std::string_view value) {
        text(std::string(key) + " ", value);
    }
    void single(std::string_view value) {
        m_out += quotedField(value);
        m_out += kLineEnd;
    }
    void number(std::string_view key, int value) {
        m_out += quotedField(key);
        m_out += ',';
        m_out += std::to_string(value);
        m_out += kLineEnd;
    }
    void dac(const DacGroup& group, int s, int i) {
        const auto si = static_cast<std::size_t>(s);
        const auto di = static_cast<std::size_t>(i);
        m_out += quotedField(group.names[di]);
        for (const DacPlane* plane : {&group.Value, &group.FValue, &group.PValue}) {
            m_out += ',';
            m_out += std::to_string((*plane)[si][di]);
        }
        m_out += kLineEnd;
    }
    // Every DAC the group counts, never past its tables.
    void dacs(const DacGroup& group, int s) {
        const int count = std::clamp<int>(group.count, 0, kMaxDacs);
        for (int i = 0; i < count; ++i) {
            dac(group, s, i);
        }
    }
    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
};

std::string errnoText(int error, std::string_view fallback) {
    return error != 0 ? std::generic_category().message(error) : std::string(fallback);
}

// A name no other file in the folder has.
fs::path temporaryPath(const fs::path& target) {
    std::random_device entropy;
    const fs::path folder = target.parent_path();
    fs::path candidate;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(entropy()));
        candidate = folder / ("." + target.filename().string() + "." + suffix + ".tmp");
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec) {
            break;
        }
    }
    return candidate;
}

} // namespace

bool scanSetWritten(const MonitorData& data, int s) {
    if (s < 0 || s >= std::min<int>(data.NumScanSets, kMaxScanSets)) {
        return false;
    }
    return !data.ScanSetsReported || data.ScanSetIncluded[static_cast<std::size_t>(s)];
}

std::string scanSetFileName(const MonitorData& data, int s) {
    const std::string& name = data.ScanSetNames[static_cast<std::size_t>(s)];
    return name.empty() ? std::string(kUnnamedScanSet) + std::to_string(s) : name;
}

std::string formatMdv(const MonitorData& data, bool monitorConnected, const DateTime& created) {
    FileText f;
    f.single(kDataFileHeader);
    f.single(kDataFileVersion);
    f.identity(key::kFileCreated, generalDate(created));
    if (monitorConnected || data.IdentityFromFile) {
        f.identity(key::kModelNumber, data.ModelNumber);
        f.identity(key::kSerialNumber, data.SerialNumber);
        f.identity(key::kPartNumber, data.PartNumber);
        if (data.FirmwareVersionCode >= 100 && data.FirmwareVersionCode < 300) {
            f.identity(key::kCrtSerialNumber, data.CrtSerialNumber);
            f.identity(key::kCrtPartNumber, data.CrtPartNumber);
        }
        f.identity(key::kFirmwareVersion, data.FirmwareVersion);
        f.identity(key::kRomVersion, data.RomVersion);
        f.identity(key::kOperatingHours, data.OperatingHours);
        f.identity(key::kOperatingCycles, data.OperatingCycles);
        f.identity(key::kHVUpperLimit, std::to_string(data.HVUpperLimit));
        f.identity(key::kHVLowerLimit, std::to_string(data.HVLowerLimit));
    }
    f.number(key::kNumScanSets, data.NumScanSets);
    f.number(key::kNumLDacs, data.L.count);
    f.number(key::kNumBDacs, data.B.count);
    f.number(key::kNumHDacs, data.H.count);
    f.number(key::kNumVDacs, data.V.count);
    f.number(key::kNumNDacs, data.N.count);
    for (int s = 0; s < kMaxScanSets; ++s) {
        if (!scanSetWritten(data, s)) {
            continue;
        }
        f.number(key::kScanSet, s);
        f.text(key::kScanSetName, scanSetFileName(data, s));
        f.dacs(data.L, s);
        f.dacs(data.B, s);
        f.dacs(data.H, s);
        f.dac(data.H, s, kHorizSCapIndex);
        f.dacs(data.V, s);
        // N indexes 3 to 5 have no names; their lines are written all the
        // same, and the reader takes an unnamed line as the next DAC.
        f.dacs(data.N, s);
    }
    return f.take();
}

std::optional<std::string> replaceFileContents(const std::string& path, std::string_view content) {
    if (path.empty()) {
        return "no file name";
    }
    const fs::path target(path);
    const fs::path temporary = temporaryPath(target);
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!out.is_open()) {
            return errnoText(errno, "cannot be created");
        }
        errno = 0;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        out.close();
        if (!out) {
            const std::string reason = errnoText(errno, "write failed");
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return reason;
        }
    }
    // A replaced file keeps who may read and write it.
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old)) {
        fs::permissions(temporary, old.permissions(), ec);
    }
    ec.clear();
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return ec.message();
    }
    return std::nullopt;
}

bool WriteMDF(MonitorData& data, const MdvWriteHooks& hooks) {
    if (!data.FileIsOpen) {
        hooks.message(kNotOpenText);
        return false;
    }
    if (data.DiskFileNum < 1 || data.DiskFileNum > 255) {
        hooks.message(kBadHandleText);
        return false;
    }
    data.FileOpenForInput = false;
    hooks.busy(true);
    hooks.restartDataWalk();
    const auto failure =
        replaceFileContents(data.DataFilePath, formatMdv(data, hooks.monitorConnected, hooks.now));
    data.FileIsOpen = false;
    data.DiskFileNum = 0;
    hooks.busy(false);
    if (failure) {
        hooks.message("The data file " + data.DataFilePath + " cannot be written: " + *failure +
                      ". The file on disk is unchanged.");
        return false;
    }
    data.DataChanged = false;
    return true;
}

} // namespace orlix
