#include "platform/simulated_serial_port.h"

#include <algorithm>

namespace orlix::platform {

SimulatedSerialPort::SimulatedSerialPort(sim::UnitOptions options) : m_unit(std::move(options)) {
    m_clock.start();
    m_delivery.setSingleShot(true);
    m_delivery.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_delivery, &QTimer::timeout, &m_delivery, [this] { service(); });
    m_reconnect.setSingleShot(true);
    QObject::connect(&m_reconnect, &QTimer::timeout, &m_reconnect,
                     [this] { m_unit.reconnectLine(); });
}

SimulatedSerialPort::~SimulatedSerialPort() {
    m_delivery.stop();
    m_reconnect.stop();
}

SerialOpenResult SimulatedSerialPort::open(const std::string& /*device*/,
                                           const SerialLineSettings& /*settings*/) {
    m_open = false;
    if (m_unit.hungUp()) {
        return {false, "the simulated unit's line is closed"};
    }
    // Whatever reached the port while it was closed is thrown away.
    m_unit.takeOutput(nowMs());
    m_open = true;
    schedule();
    return {true, {}};
}

void SimulatedSerialPort::close() {
    m_open = false;
}

bool SimulatedSerialPort::write(std::string_view bytes) {
    if (!m_open) {
        return false;
    }
    if (m_unit.hungUp()) {
        m_delivery.start(0); // reports the loss from the event loop
        return false;
    }
    m_unit.receive(bytes, nowMs());
    schedule();
    return true;
}

void SimulatedSerialPort::service() {
    const auto out = m_unit.takeOutput(nowMs());
    if (m_open && !out.empty()) {
        deliverBytes(out);
    }
    if (m_unit.hungUp() && m_open) {
        m_open = false;
        m_delivery.stop();
        if (m_reconnectAfterMs >= 0) {
            m_reconnect.start(m_reconnectAfterMs);
        }
        deliverLost("the simulated unit hung up the line");
        return;
    }
    schedule();
}

void SimulatedSerialPort::schedule() {
    const auto due = m_unit.nextOutputTime();
    if (!due) {
        m_delivery.stop();
        return;
    }
    const auto wait = std::clamp<std::int64_t>(*due - nowMs(), 0, 60000);
    m_delivery.start(static_cast<int>(wait));
}

} // namespace orlix::platform
