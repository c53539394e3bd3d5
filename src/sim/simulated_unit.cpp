#include "sim/simulated_unit.h"

#include "sim/application_firmware.h"

#include <algorithm>
#include <stdexcept>

namespace orlix::sim {

namespace {

// Longer lines than this are garbage: the longest record is 521 characters.
constexpr std::size_t kMaxLine = 600;

constexpr char kBackspace = '\b';
constexpr char kDelete = '\x7f';

UnitState initialState(UnitOptions options) {
    const auto firmware = parseFirmwareVersion(options.firmwareVersion);
    if (!firmware) {
        throw std::invalid_argument("not a firmware version: '" + options.firmwareVersion + "'");
    }
    UnitState s;
    s.firmware = *firmware;
    s.inBootLoader = options.startInBootLoader;
    s.digitalBrightness = options.digitalBrightness;
    s.analogBrightness = options.analogBrightness;
    s.softwareControl = options.softwareControl;
    s.storedOperatingSeconds = options.operatingSeconds;
    s.operatingCycles = options.operatingCycles;
    s.powerOnMs = options.powerOnMs;
    s.config = std::move(options);
    return s;
}

} // namespace

SimulatedUnit::SimulatedUnit(UnitOptions options)
    : m_state(initialState(std::move(options))), m_output(m_state.config.wireRate),
      m_input(m_state.config.wireRate) {
    m_faults.options = m_state.config.faults;
}

void SimulatedUnit::receive(std::string_view bytes, std::int64_t nowMs) {
    if (m_hungUp || m_faults.options.silent) {
        return;
    }
    for (char c : bytes) {
        const auto arrival = m_input.arrival(nowMs);
        if (!m_faults.passInput()) {
            continue;
        }
        receiveByte(c, arrival, nowMs);
    }
}

void SimulatedUnit::receiveByte(char c, std::int64_t arrivalTick, std::int64_t nowMs) {
    if (m_afterCr) {
        m_afterCr = false;
        if (c == '\n') {
            return; // the LF of a CR LF line end
        }
    }
    if (m_state.bugeyeMode) {
        if (!m_blockFirst) {
            m_blockFirst = c;
            return;
        }
        const char first = *m_blockFirst;
        m_blockFirst.reset();
        if (c == '\0') {
            m_state.bugeyeBrightness = static_cast<unsigned char>(first);
            return;
        }
        // Not a block: the tool is talking again.
        m_state.bugeyeMode = false;
        lineByte(first, arrivalTick, nowMs);
        receiveByte(c, arrivalTick, nowMs);
        return;
    }
    lineByte(c, arrivalTick, nowMs);
}

void SimulatedUnit::lineByte(char c, std::int64_t arrivalTick, std::int64_t nowMs) {
    switch (c) {
    case '\r':
        m_afterCr = true;
        [[fallthrough]];
    case '\n':
        send("\r\n", arrivalTick);
        completeLine(arrivalTick, nowMs);
        return;
    case kBackspace:
    case kDelete:
        if (!m_line.empty()) {
            m_line.pop_back();
            send("\b \b", arrivalTick);
        }
        return;
    case '\0':
        return;
    default:
        send(std::string_view(&c, 1), arrivalTick);
        if (m_line.size() < kMaxLine) {
            m_line += c;
        } else {
            m_lineOverflow = true;
        }
    }
}

bool SimulatedUnit::lineIsGarbled() const {
    return m_lineOverflow || std::any_of(m_line.begin(), m_line.end(), [](char ch) {
               const auto u = static_cast<unsigned char>(ch);
               return u < 0x20 || u > 0x7e;
           });
}

void SimulatedUnit::completeLine(std::int64_t arrivalTick, std::int64_t nowMs) {
    const bool garbled = lineIsGarbled();
    const std::string line = std::move(m_line);
    m_line.clear();
    m_lineOverflow = false;
    const std::int64_t answerTick = arrivalTick + OutputPacer::toTicks(m_state.config.replyDelayMs);

    if (!line.empty()) {
        ++m_linesReceived;
        const bool checking = m_state.inBootLoader || m_state.lineChecking;
        if (m_faults.rejectLine() || (garbled && checking)) {
            send("!\r\n", answerTick);
            return;
        }
    }
    const Response response = m_state.inBootLoader ? m_bootLoader.handle(line, m_state)
                                                   : runApplicationCommand(line, m_state, nowMs);
    std::string out = line.empty() ? std::string() : m_faults.garbageForReply();
    out += response.data;
    out += response.prompt;
    out += "\r\n";
    send(out, answerTick + OutputPacer::toTicks(response.workMs));
}

void SimulatedUnit::send(std::string_view bytes, std::int64_t earliestTick) {
    if (m_hungUp || m_faults.options.silent) {
        return;
    }
    m_output.send(m_faults.shapeOutput(bytes), earliestTick);
}

std::string SimulatedUnit::takeOutput(std::int64_t nowMs) {
    if (m_hungUp) {
        return {};
    }
    return m_output.take(nowMs);
}

std::optional<std::int64_t> SimulatedUnit::nextOutputTime() const {
    if (m_hungUp) {
        return std::nullopt;
    }
    return m_output.nextDueMs();
}

void SimulatedUnit::setFaults(const FaultOptions& faults) {
    m_faults.options = faults;
    if (faults.silent) {
        m_output.clear();
    }
}

void SimulatedUnit::setSilent(bool silent) {
    m_faults.options.silent = silent;
    if (silent) {
        m_output.clear();
        m_line.clear();
        m_blockFirst.reset();
    }
}

void SimulatedUnit::injectGarbage(std::string_view bytes, std::int64_t nowMs) {
    if (m_hungUp || m_faults.options.silent) {
        return;
    }
    // Noise is not subject to the output faults: it is a fault already.
    m_output.send(bytes, OutputPacer::toTicks(nowMs));
}

void SimulatedUnit::hangUp() {
    m_hungUp = true;
    m_output.clear();
    m_line.clear();
    m_blockFirst.reset();
}

void SimulatedUnit::reconnectLine() {
    m_hungUp = false;
}

void SimulatedUnit::rebootIntoBootLoader(std::int64_t nowMs) {
    m_output.clear();
    m_line.clear();
    m_lineOverflow = false;
    m_afterCr = false;
    m_blockFirst.reset();
    m_state.powerCycle(nowMs);
    m_state.inBootLoader = true;
    send("Boot Loader V " + m_state.config.identity.romVersion + "\r\n" + kBootLoaderPrompt +
             "\r\n",
         OutputPacer::toTicks(nowMs + m_state.config.startTimeMs));
}

int SimulatedUnit::digitalBrightness(int channel) const {
    return m_state.digitalBrightness.at(static_cast<std::size_t>(channel));
}

int SimulatedUnit::analogBrightness(int channel) const {
    return m_state.analogBrightness.at(static_cast<std::size_t>(channel));
}

int SimulatedUnit::dac(DacGroup group, DacSet set, int index) const {
    return m_state.config.dacs.group(group).values(set).at(static_cast<std::size_t>(index));
}

void SimulatedUnit::setDac(DacGroup group, DacSet set, int index, int value) {
    m_state.config.dacs.group(group).values(set).at(static_cast<std::size_t>(index)) = value;
}

void SimulatedUnit::setWireRate(bool on) {
    m_state.config.wireRate = on;
    m_output.setWireRate(on);
    m_input.setWireRate(on);
}

} // namespace orlix::sim
