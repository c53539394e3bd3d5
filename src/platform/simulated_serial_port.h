// The serial port that leads to the built-in simulated unit ("simulator"):
// no device file, the unit runs in this process on the real clock. A timer
// delivers the unit's bytes when they are due, so with wire-rate emulation
// (on by default) replies arrive character by character at 19200 baud, as
// on a real line.
//
// A hang-up fault closes the port and reports the device lost; opening it
// again fails until the line comes back (after reconnectAfterMs, or when
// something calls unit().reconnectLine()).
#pragma once

#include "platform/serial_port_adapter.h"
#include "sim/simulated_unit.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>

namespace orlix::platform {

class SimulatedSerialPort : public SerialPortAdapter {
public:
    explicit SimulatedSerialPort(sim::UnitOptions options = {});
    ~SimulatedSerialPort() override;

    SerialOpenResult open(const std::string& device, const SerialLineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(std::string_view bytes) override;

    // The unit, for faults and state. After changing it from outside, call
    // service() so that new output and a hang-up take effect.
    sim::SimulatedUnit& unit() { return m_unit; }
    void service();

    // Milliseconds since the port (and with it the unit) was created.
    std::int64_t nowMs() const { return m_clock.elapsed(); }

    // How long a hung-up line stays closed; negative: until reconnectLine().
    void setReconnectAfterMs(int ms) { m_reconnectAfterMs = ms; }

private:
    void schedule();

    sim::SimulatedUnit m_unit;
    QElapsedTimer m_clock;
    QTimer m_delivery;
    QTimer m_reconnect;
    bool m_open = false;
    int m_reconnectAfterMs = 3000;
};

} // namespace orlix::platform
