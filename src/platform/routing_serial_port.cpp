#include "platform/routing_serial_port.h"

namespace orlix::platform {

RoutingSerialPort::RoutingSerialPort(std::unique_ptr<SerialPortAdapter> real,
                                     std::unique_ptr<SerialPortAdapter> simulated)
    : m_real(std::move(real)), m_simulated(std::move(simulated)) {
    for (SerialPortAdapter* adapter : {m_real.get(), m_simulated.get()}) {
        if (adapter) {
            adapter->setHandlers([this](std::string_view bytes) { deliverBytes(bytes); },
                                 [this](const std::string& reason) { deliverLost(reason); });
        }
    }
}

SerialOpenResult RoutingSerialPort::open(const std::string& device,
                                         const SerialLineSettings& settings) {
    close();
    SerialPortAdapter* next = device == kSimulatorDevice ? m_simulated.get() : m_real.get();
    if (!next) {
        return {false, "no such device"};
    }
    m_current = next;
    return m_current->open(device, settings);
}

void RoutingSerialPort::close() {
    if (m_current) {
        m_current->close();
    }
}

bool RoutingSerialPort::isOpen() const {
    return m_current && m_current->isOpen();
}

bool RoutingSerialPort::write(std::string_view bytes) {
    return m_current && m_current->write(bytes);
}

} // namespace orlix::platform
