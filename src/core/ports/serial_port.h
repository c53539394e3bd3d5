// Port: the serial device. Received bytes, the loss of the device and the
// failure of an open that went on in the background come back to core as
// events (App::onSerialBytes, App::onSerialPortLost, App::onSerialOpenFailed).
#pragma once

#include <string>
#include <string_view>

namespace orlix {

struct SerialLineSettings {
    int baudRate = 19200;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    bool hardwareHandshake = false;
    bool dataTerminalReady = false;
    bool requestToSend = false;
};

struct SerialOpenResult {
    bool ok = false;
    std::string reason; // the system's words when !ok
    // The open goes on in the background (a network connection): a
    // failure comes later (App::onSerialOpenFailed).
    bool pending = false;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens the device with the given line settings and throws away any
    // input that was pending before the call.
    virtual SerialOpenResult open(const std::string& device,
                                  const SerialLineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // True when every byte was handed to the system.
    virtual bool write(std::string_view bytes) = 0;
};

} // namespace orlix
