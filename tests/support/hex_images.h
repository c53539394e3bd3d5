// Firmware images for the download tests: records built by the simulated
// unit's record maker (the unit's side of the format), a version text in
// the data as firmware carries it, and scratch files to choose them from.
// Header-only; link orlix6_sim.
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

// One extended linear address record, `dataRecords` records of 16 data
// bytes whose text begins "Norvique display firmware V <version> ", and the
// end record: dataRecords + 2 records in all.
inline std::vector<std::string> firmwareRecords(int dataRecords,
                                                std::string_view version = "3.10") {
    std::string text = "Norvique display firmware V " + std::string(version) + " ";
    while (text.size() < static_cast<std::size_t>(dataRecords) * 16) {
        text += static_cast<char>('A' + text.size() % 26);
    }
    std::vector<std::string> records{sim::makeHexRecord(0x04, 0x0000, {0x00, 0x01})};
    for (int i = 0; i < dataRecords; ++i) {
        const auto at = static_cast<std::size_t>(i) * 16;
        records.push_back(
            sim::makeHexRecord(0x00, static_cast<std::uint16_t>(at),
                               {text.begin() + static_cast<std::ptrdiff_t>(at),
                                text.begin() + static_cast<std::ptrdiff_t>(at + 16)}));
    }
    records.push_back(":00000001FF");
    return records;
}

inline std::string joined(const std::vector<std::string>& records,
                          std::string_view lineEnd = "\r\n") {
    std::string text;
    for (const auto& r : records) {
        text += r;
        text += lineEnd;
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
        const auto path = m_path / name;
        std::ofstream(path, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
        return path.string();
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace orlix::test
