// The serial port on a TCP connection (tcp://HOST:PORT raw, rfc2217://
// HOST:PORT Telnet with COM port control). Seen from core it behaves as a
// serial port: open starts the connection and returns at once (pending),
// so the windows never freeze; a connection that fails or is not ready
// within the connect time is reported as a failed open, one that drops
// once ready as a lost device; a write to a closed connection is not sent. The bytes themselves go
// through net::NetworkLine, which holds the protocol; this class only moves them.
//
// Only the configured address is contacted: no proxy, no other host.
// QtCore and QtNetwork only, no widgets.
#pragma once

#include "core/net/network_line.h"
#include "platform/serial_port_adapter.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace orlix::platform {

class NetworkSerialPort : public QObject, public SerialPortAdapter {
    Q_OBJECT
public:
    static constexpr int kConnectTimeMs = 3000;
    // Bytes the server may leave untaken before the connection counts as
    // dead (a server that never reads cannot grow the tool's memory).
    static constexpr qint64 kMaxUnsent = 256 * 1024;
    // Bytes taken from the socket per read.
    static constexpr qint64 kReadBufferSize = 64 * 1024;

    explicit NetworkSerialPort(int connectTimeMs = kConnectTimeMs, QObject* parent = nullptr);
    ~NetworkSerialPort() override;

    SerialOpenResult open(const std::string& device, const SerialLineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_line.has_value(); }
    bool write(std::string_view bytes) override;

private:
    void onConnected();
    void onReadyRead();
    void onError(QAbstractSocket::SocketError error);
    void onDeadline();
    bool push(const std::string& bytes);
    void fail(const std::string& reason);

    // A new socket for each connection: a reconnection made from inside
    // the old socket's error signal must not share its state.
    QTcpSocket* m_socket = nullptr;
    QTimer m_deadline;
    int m_connectTimeMs;
    std::optional<net::NetworkLine> m_line;
    std::string m_device;
    // Bumped at each close, so that a late report finds its connection gone.
    std::uint64_t m_generation = 0;
};

} // namespace orlix::platform
