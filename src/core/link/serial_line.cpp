#include "core/link/serial_line.h"

#include "core/net/network_address.h"

namespace orlix {

std::string defaultDeviceName(int port) {
#ifdef _WIN32
    return "COM" + std::to_string(port);
#else
    return "/dev/ttyS" + std::to_string(port - 1);
#endif
}

namespace {

std::string portKey(int port) {
    return "Com" + std::to_string(port);
}

bool validPort(int port) {
    return port >= kFirstPort && port <= kLastPort;
}

} // namespace

std::string SerialLine::deviceFor(int port) const {
    if (!validPort(port)) {
        return {};
    }
    if (const auto& o = m_overrides[static_cast<std::size_t>(port)]) {
        return *o;
    }
    std::string device = m_settings.readText(keys::kPorts, portKey(port), defaultDeviceName(port));
    if (device.find_first_not_of(" \t") == std::string::npos) {
        return defaultDeviceName(port);
    }
    return device;
}

void SerialLine::setOverride(int port, std::string device) {
    if (validPort(port)) {
        m_overrides[static_cast<std::size_t>(port)] = std::move(device);
    }
}

std::string SerialLine::saveDevices(const std::array<std::string, kLastPort>& devices) {
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const std::string& device = devices[static_cast<std::size_t>(port - 1)];
        if (const std::string problem = net::deviceNameProblem(device); !problem.empty()) {
            return portKey(port) + ": " + problem;
        }
    }
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const std::string& device = devices[static_cast<std::size_t>(port - 1)];
        if (!device.empty()) {
            m_settings.save(keys::kPorts, portKey(port), device);
        }
    }
    return {};
}

SerialLineSettings SerialLine::lineSettings() {
    SerialLineSettings s;
    s.baudRate = 19200;
    s.parity = 'N';
    s.dataBits = 8;
    s.stopBits = 1;
    s.hardwareHandshake = false;
    s.dataTerminalReady = false;
    s.requestToSend = false;
    return s;
}

bool SerialLine::open(int port) {
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_lastError.clear();
    m_openPending = false;
    const std::string device = deviceFor(port);
    if (device.empty()) {
        m_lastError = "Com" + std::to_string(port) + " does not exist";
        return false;
    }
    if (std::string problem = net::deviceNameProblem(device); !problem.empty()) {
        m_lastError = std::move(problem);
        return false;
    }
    const SerialOpenResult result = m_port.open(device, lineSettings());
    if (!result.ok) {
        m_lastError = device + ": " + (result.reason.empty() ? "cannot be opened" : result.reason);
        if (m_port.isOpen()) {
            m_port.close();
        }
        return false;
    }
    m_openPending = result.pending;
    return true;
}

void SerialLine::openFailed(std::string reason) {
    close();
    m_openPending = false;
    m_lastError = std::move(reason);
}

void SerialLine::close() {
    if (m_port.isOpen()) {
        m_port.close();
    }
}

bool SerialLine::write(std::string_view bytes) {
    if (!m_port.isOpen() || !m_port.write(bytes)) {
        return false;
    }
    if (m_onWritten) {
        m_onWritten(bytes);
    }
    return true;
}

} // namespace orlix
