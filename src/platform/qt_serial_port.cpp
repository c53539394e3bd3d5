#include "platform/qt_serial_port.h"

namespace orlix::platform {

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() {
    // No events into core while the tool shuts down.
    m_port.disconnect(this);
    if (m_port.isOpen()) {
        m_port.close();
    }
}

std::string QtSerialPort::describeOpenError(QSerialPort::SerialPortError error,
                                            const QString& systemText) {
    std::string text = systemText.toStdString();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        if (text.empty()) {
            text = "no such device";
        }
        break;
    case QSerialPort::PermissionError:
#ifdef Q_OS_LINUX
        text += " (the port is in use by another program, or your user may not use serial "
                "ports: add it to the dialout group and log in again)";
#else
        text += " (the port is in use by another program)";
#endif
        break;
    default:
        break;
    }
    return text.empty() ? std::string("cannot be opened") : text;
}

SerialOpenResult QtSerialPort::open(const std::string& device, const SerialLineSettings& s) {
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_opening = true;
    m_port.setPortName(QString::fromStdString(device));
    m_port.setBaudRate(s.baudRate);
    m_port.setDataBits(s.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8);
    m_port.setParity(s.parity == 'E'   ? QSerialPort::EvenParity
                     : s.parity == 'O' ? QSerialPort::OddParity
                                       : QSerialPort::NoParity);
    m_port.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(s.hardwareHandshake ? QSerialPort::HardwareControl
                                              : QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const SerialOpenResult result{false,
                                      describeOpenError(m_port.error(), m_port.errorString())};
        m_port.clearError();
        m_opening = false;
        return result;
    }
    // A pseudo-terminal has no modem lines; failing here is harmless.
    m_port.setDataTerminalReady(s.dataTerminalReady);
    m_port.setRequestToSend(s.requestToSend);
    m_port.clearError();
    // What was waiting before the open belongs to nobody.
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
    m_opening = false;
    return {true, {}};
}

void QtSerialPort::close() {
    if (m_port.isOpen()) {
        m_port.close();
    }
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}

bool QtSerialPort::write(std::string_view bytes) {
    if (!m_port.isOpen()) {
        return false;
    }
    const qint64 n = m_port.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return n == static_cast<qint64>(bytes.size());
}

void QtSerialPort::onReadyRead() {
    const QByteArray data = m_port.readAll();
    deliverBytes(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (m_opening) {
        return; // open() reports these itself
    }
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::DeviceNotFoundError: {
        if (!m_port.isOpen()) {
            return;
        }
        const std::string reason = m_port.errorString().toStdString();
        m_port.clearError();
        m_port.close();
        deliverLost(reason.empty() ? "the device is gone" : reason);
        break;
    }
    default:
        // NoError after every setter, and modem-line requests a pty cannot
        // honour, are harmless.
        break;
    }
}

} // namespace orlix::platform
