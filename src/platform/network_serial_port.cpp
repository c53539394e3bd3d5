#include "platform/network_serial_port.h"

#include <QNetworkProxy>

namespace orlix::platform {

namespace {

std::string describe(QAbstractSocket::SocketError error, const QString& systemText) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return "connection refused (is the server running?)";
    case QAbstractSocket::RemoteHostClosedError:
        return "the server closed the connection";
    case QAbstractSocket::HostNotFoundError:
        return "host not found";
    default:
        break;
    }
    const std::string text = systemText.toStdString();
    return text.empty() ? std::string("the connection failed") : text;
}

} // namespace

NetworkSerialPort::NetworkSerialPort(int connectTimeMs, QObject* parent)
    : QObject(parent), m_connectTimeMs(connectTimeMs) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &NetworkSerialPort::onDeadline);
}

NetworkSerialPort::~NetworkSerialPort() {
    close();
}

SerialOpenResult NetworkSerialPort::open(const std::string& device,
                                         const SerialLineSettings& settings) {
    close();
    std::string why;
    const auto address = net::parseNetworkAddress(device, &why);
    if (!address) {
        return {false, why};
    }
    m_device = device;
    m_line.emplace(address->scheme, settings);
    m_socket = new QTcpSocket(this);
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_socket->setReadBufferSize(kReadBufferSize);
    connect(m_socket, &QTcpSocket::connected, this, &NetworkSerialPort::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &NetworkSerialPort::onReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &NetworkSerialPort::onError);
    connect(m_socket, &QTcpSocket::disconnected, this,
            [this] { fail("the server closed the connection"); });
    m_deadline.start(m_connectTimeMs);
    m_socket->connectToHost(QString::fromStdString(address->host), address->port);
    SerialOpenResult result{true, {}};
    result.pending = true;
    return result;
}

void NetworkSerialPort::close() {
    m_deadline.stop();
    m_line.reset();
    ++m_generation;
    if (m_socket) {
        // Nothing more from this connection reaches core.
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
}

bool NetworkSerialPort::write(std::string_view bytes) {
    if (!m_line) {
        return false;
    }
    std::string out;
    if (!m_line->send(bytes, out)) {
        return false;
    }
    return push(out);
}

bool NetworkSerialPort::push(const std::string& bytes) {
    if (bytes.empty()) {
        return true;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (!m_socket || m_socket->write(bytes.data(), size) != size) {
        return false;
    }
    if (m_socket->bytesToWrite() > kMaxUnsent) {
        // Reported from the event loop, not from inside core's write.
        QMetaObject::invokeMethod(
            this,
            [this, generation = m_generation] {
                if (generation == m_generation) {
                    fail("the server takes no data");
                }
            },
            Qt::QueuedConnection);
        return false;
    }
    return true;
}

void NetworkSerialPort::onConnected() {
    if (!m_line) {
        return;
    }
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    push(m_line->connected());
    if (m_line->ready()) {
        m_deadline.stop();
    }
}

void NetworkSerialPort::onReadyRead() {
    if (!m_line) {
        return;
    }
    const QByteArray bytes = m_socket->readAll();
    std::string toServer;
    const std::string data = m_line->receive(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), toServer);
    push(toServer);
    if (m_line && m_line->ready()) {
        m_deadline.stop();
    }
    // Last: core may close or write from inside.
    deliverBytes(data);
}

void NetworkSerialPort::onError(QAbstractSocket::SocketError error) {
    fail(describe(error, m_socket ? m_socket->errorString() : QString()));
}

void NetworkSerialPort::onDeadline() {
    const QString seconds = QString::number(m_connectTimeMs / 1000.0, 'g', 3);
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState) {
        fail("the server did not answer the serial port control offer within " +
             seconds.toStdString() + " s (for a raw TCP port write tcp://)");
    } else {
        fail("no connection within " + seconds.toStdString() + " s");
    }
}

void NetworkSerialPort::fail(const std::string& reason) {
    if (!m_line) {
        return;
    }
    const bool wasReady = m_line->ready();
    const std::string why = m_device + ": " + reason;
    close();
    if (wasReady) {
        deliverLost(why);
    } else {
        deliverOpenFailed(why);
    }
}

} // namespace orlix::platform
