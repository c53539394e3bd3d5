// Firmware images for the download tests, built with the simulated unit's
// record maker, and scratch files to choose them from. Link orlix6_sim.
#pragma once

#include "sim/intel_hex.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::test {

// An extended linear address record, `dataRecords` records of 16 bytes whose
// text begins "Norvique display firmware V <version> ", and the end record.
inline std::vector<std::string> firmwareRecords(int dataRecords,
                                                std::string_view version = "3.10") {
    std::string text = "Norvique display firmware V " + std::string(version) + " ";
    while (text.size() < static_cast<std::size_t>(dataRecords) * 16) {
        text += static_cast<char>('A' + text.size() % 26);
    }
    std::vector<std::string> records{sim::makeHexRecord(0x04, 0x0000, {0x00, 0x01})};
    for (std::size_t at = 0; at < static_cast<std::size_t>(dataRecords) * 16; at += 16) {
        records.push_back(sim::makeHexRecord(0x00, static_cast<std::uint16_t>(at),
                                             {text.data() + at, text.data() + at + 16}));
    }
    records.push_back(":00000001FF");
    return records;
}

inline std::string joined(const std::vector<std::string>& records) {
    std::string text;
    for (const auto& r : records) {
        text += r + "\r\n";
    }
    return text;
}

// A directory of its own under the system's temporary folder, removed at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orlix6-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes `text` to a file of that name and returns its full path.
    std::string write(const std::string& name, std::string_view text) const {
        std::ofstream(m_path / name, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
        return (m_path / name).string();
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace orlix::test
