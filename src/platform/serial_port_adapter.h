// Base of the serial port adapters: the core's SerialPort port plus the
// events that go back to core (bytes received, device lost, and the failure
// of an open that went on in the background). Adapters hold no decisions;
// they only move bytes and report what the system said.
#pragma once

#include "core/ports/serial_port.h"

#include <functional>
#include <string>
#include <string_view>

namespace orlix::platform {

class SerialPortAdapter : public SerialPort {
public:
    using BytesHandler = std::function<void(std::string_view)>;
    using LostHandler = std::function<void(const std::string& reason)>;

    void setHandlers(BytesHandler onBytes, LostHandler onLost) {
        m_onBytes = std::move(onBytes);
        m_onLost = std::move(onLost);
    }
    // An open that returned pending did not succeed after all ("DEVICE:
    // reason"). Without this handler it is reported as a lost device.
    void setOpenFailedHandler(LostHandler onOpenFailed) {
        m_onOpenFailed = std::move(onOpenFailed);
    }

protected:
    void deliverBytes(std::string_view bytes) {
        if (m_onBytes && !bytes.empty()) {
            m_onBytes(bytes);
        }
    }
    void deliverLost(const std::string& reason) {
        if (m_onLost) {
            m_onLost(reason);
        }
    }
    void deliverOpenFailed(const std::string& reason) {
        if (m_onOpenFailed) {
            m_onOpenFailed(reason);
        } else {
            deliverLost(reason);
        }
    }

private:
    BytesHandler m_onBytes;
    LostHandler m_onLost;
    LostHandler m_onOpenFailed;
};

// The device name that stands for the built-in simulated unit.
inline constexpr std::string_view kSimulatorDevice = "simulator";

} // namespace orlix::platform
