#include "platform/routing_serial_port.h"

#include "core/net/network_address.h"

namespace orlix::platform {

RoutingSerialPort::RoutingSerialPort(std::unique_ptr<SerialPortAdapter> real,
                                     std::unique_ptr<SerialPortAdapter> simulated,
                                     std::unique_ptr<SerialPortAdapter> network)
    : m_real(std::move(real)), m_simulated(std::move(simulated)), m_network(std::move(network)) {
    for (SerialPortAdapter* adapter : {m_real.get(), m_simulated.get(), m_network.get()}) {
        if (adapter) {
            adapter->setHandlers([this](std::string_view bytes) { deliverBytes(bytes); },
                                 [this](const std::string& reason) { deliverLost(reason); });
            adapter->setOpenFailedHandler(
                [this](const std::string& reason) { deliverOpenFailed(reason); });
        }
    }
}

SerialOpenResult RoutingSerialPort::open(const std::string& device,
                                         const SerialLineSettings& settings) {
    close();
    SerialPortAdapter* next = device == kSimulatorDevice      ? m_simulated.get()
                              : net::isNetworkAddress(device) ? m_network.get()
                                                              : m_real.get();
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
