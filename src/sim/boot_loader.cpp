#include "sim/boot_loader.h"

#include "sim/intel_hex.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orlix::sim {

namespace {

Response answer(std::string data, char prompt = kBootLoaderPrompt, int workMs = 0) {
    return Response{std::move(data), prompt, workMs};
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

} // namespace

Response BootLoader::handle(std::string_view line, UnitState& state) {
    if (!line.empty() && line[0] == ':') {
        return record(line, state);
    }
    const std::string cmd = lowered(line);
    if (cmd.empty() || cmd == "p") {
        return answer({});
    }
    if (cmd == "bf1" || cmd == "bf2" || cmd == "bf3" || cmd == "be") {
        return erase(cmd, state);
    }
    if (cmd == "bs") {
        // A download needs erased flash; the go-ahead ends in '#'.
        if (!m_erased) {
            return answer("Flash not erased\r\n");
        }
        return answer("Ready\r\n", kApplicationPrompt);
    }
    if (cmd == "a") {
        char buf[32];
        std::snprintf(buf, sizeof buf, "Addr = 0x%04X\r\n", static_cast<unsigned>(m_next));
        return answer(buf);
    }
    if (cmd == "g") {
        return start(state);
    }
    return answer(kUnknownCommandLine);
}

Response BootLoader::erase(std::string_view what, const UnitState& state) {
    m_image.clear();
    m_base = 0;
    m_next = 0;
    m_erased = true;
    m_applicationValid = false;
    const std::string text = what == "be"
                                 ? std::string("Flash erased\r\n")
                                 : "Flash block " + std::string(1, what.back()) + " erased\r\n";
    return answer(text, kBootLoaderPrompt, state.config.eraseTimeMs);
}

Response BootLoader::record(std::string_view line, UnitState& state) {
    const auto parsed = parseHexRecord(line);
    if (!parsed.record) {
        ++m_rejected;
        return answer({}, kRejectPrompt);
    }
    const auto& r = *parsed.record;
    ++m_records;
    switch (static_cast<HexRecordType>(r.type)) {
    case HexRecordType::Data: {
        std::uint32_t address = m_base + r.address;
        for (auto byte : r.data) {
            m_image[address++] = byte;
        }
        m_next = address;
        return answer({});
    }
    case HexRecordType::EndOfFile: {
        m_applicationValid = true;
        m_erased = false;
        std::string bytes;
        for (const auto& [address, byte] : m_image) {
            bytes += static_cast<char>(byte);
        }
        if (auto version = findVersionInImage(bytes)) {
            state.firmware = *version;
            state.config.firmwareVersion = version->text;
        }
        return answer("EOF\r\n");
    }
    case HexRecordType::ExtendedSegmentAddress:
        if (r.data.size() == 2) {
            m_base = static_cast<std::uint32_t>(r.data[0] << 8 | r.data[1]) << 4;
        }
        return answer({});
    case HexRecordType::ExtendedLinearAddress:
        if (r.data.size() == 2) {
            m_base = static_cast<std::uint32_t>(r.data[0] << 8 | r.data[1]) << 16;
        }
        return answer({});
    case HexRecordType::StartSegmentAddress:
    case HexRecordType::StartLinearAddress:
        return answer({});
    }
    // A well-formed record of a type the loader does not know.
    return answer(kUnknownCommandLine);
}

Response BootLoader::start(UnitState& state) {
    if (!m_applicationValid) {
        return answer("No valid application\r\n");
    }
    state.inBootLoader = false;
    state.bugeyeMode = false;
    // The application's start-up banner, then its prompt.
    return answer("Norvique Monitor Firmware V " + state.firmware.text + "\r\n", kApplicationPrompt,
                  state.config.startTimeMs);
}

} // namespace orlix::sim
