// Chooses, at each open, the adapter for the device name: the built-in
// simulated unit for "simulator", the network port for a network address
// (tcp://..., rfc2217://...), the real serial port for anything else.
#pragma once

#include "platform/serial_port_adapter.h"

#include <memory>

namespace orlix::platform {

class RoutingSerialPort : public SerialPortAdapter {
public:
    RoutingSerialPort(std::unique_ptr<SerialPortAdapter> real,
                      std::unique_ptr<SerialPortAdapter> simulated,
                      std::unique_ptr<SerialPortAdapter> network = nullptr);

    SerialOpenResult open(const std::string& device, const SerialLineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes) override;

private:
    SerialPortAdapter* m_current = nullptr;
    std::unique_ptr<SerialPortAdapter> m_real;
    std::unique_ptr<SerialPortAdapter> m_simulated;
    std::unique_ptr<SerialPortAdapter> m_network;
};

} // namespace orlix::platform
