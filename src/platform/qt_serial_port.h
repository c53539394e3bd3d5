// The serial port on QSerialPort. Moves bytes and reports what the system
// said; it decides nothing about the protocol.
//
// When the device disappears (USB adapter pulled, pty master closed) Qt
// reports a read or resource error and keeps reporting it in a tight loop
// until the port is closed, so the first such error closes the port and
// tells core the device is lost.
#pragma once

#include "platform/serial_port_adapter.h"

#include <QObject>
#include <QSerialPort>

namespace orlix::platform {

class QtSerialPort : public QObject, public SerialPortAdapter {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    SerialOpenResult open(const std::string& device, const SerialLineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes) override;

    // The reason to show for an open failure, with a hint where the
    // system's words alone do not help.
    static std::string describeOpenError(QSerialPort::SerialPortError error,
                                         const QString& systemText);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    bool m_opening = false;
};

} // namespace orlix::platform
