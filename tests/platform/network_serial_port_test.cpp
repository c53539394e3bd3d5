// The network serial port against servers on the loopback interface: what
// core sees when the server answers, refuses (a failed open), drops the
// line (a lost device), never answers the port control offer or never
// reads.
#include "core/net/telnet_client.h"
#include "platform/network_serial_port.h"
#include "support/telnet_bytes.h"
#include "windows_support/wait_for.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orlix::platform {
namespace {

using namespace net::telnet;
using test::bytes;
using test::cmd;
using test::waitFor;

const SerialLineSettings kLine{};

struct Recorder {
    explicit Recorder(NetworkSerialPort& port) {
        port.setHandlers([this](std::string_view b) { received += b; },
                         [this](const std::string& why) { lost.push_back(why); });
        port.setOpenFailedHandler([this](const std::string& why) { openFailed.push_back(why); });
    }
    std::string received;
    std::vector<std::string> lost;
    std::vector<std::string> openFailed;
};

// A server that takes one connection and keeps what it hears.
struct Server {
    Server() { EXPECT_TRUE(listener.listen(QHostAddress::LocalHost, 0)); }
    std::string device(const char* scheme) const {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(listener.serverPort());
    }
    bool accept(int ms = 3000) {
        if (!waitFor([this] { return listener.hasPendingConnections(); }, ms)) {
            return false;
        }
        peer = listener.nextPendingConnection();
        const auto take = [this] { heard += peer->readAll().toStdString(); };
        QObject::connect(peer, &QTcpSocket::readyRead, take);
        take(); // what came before the connection was taken
        return true;
    }
    void send(const std::string& b) { peer->write(b.data(), static_cast<qint64>(b.size())); }
    QTcpServer listener;
    QTcpSocket* peer = nullptr;
    std::string heard;
};

// A port where the kernel completes connections that nobody ever accepts
// or reads.
struct DeafServer {
    DeafServer() {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), len), 0);
        EXPECT_EQ(::listen(fd, 1), 0);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~DeafServer() { ::close(fd); }
    int fd = -1;
    int port = 0;
};

TEST(NetworkSerialPort, RawBytesPassUnchangedAndADroppedConnectionIsALostDevice) {
    Server server;
    NetworkSerialPort port;
    Recorder core(port);
    const std::string device = server.device("tcp");
    const SerialOpenResult opened = port.open(device, kLine);
    EXPECT_TRUE(opened.ok);
    EXPECT_TRUE(opened.pending) << "the connection goes on in the background";
    EXPECT_TRUE(port.write("p\r\n")) << "held until the connection is up";
    ASSERT_TRUE(server.accept());
    const std::string all = bytes({0, 0xff, 0xfa, '\r', '#', 0xf0});
    server.send(all);
    ASSERT_TRUE(waitFor([&] { return core.received.size() >= all.size(); }, 3000));
    EXPECT_EQ(core.received, all);
    EXPECT_TRUE(port.write(all));
    ASSERT_TRUE(waitFor([&] { return server.heard.size() >= 3 + all.size(); }, 3000));
    EXPECT_EQ(server.heard, "p\r\n" + all);

    server.peer->close();
    ASSERT_TRUE(waitFor([&] { return !core.lost.empty(); }, 3000));
    EXPECT_EQ(core.lost, std::vector<std::string>{device + ": the server closed the connection"});
    EXPECT_TRUE(core.openFailed.empty());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("p\r\n")) << "not sent";
}

TEST(NetworkSerialPort, Rfc2217SendsTheLineSettingsBeforeDataAndEscapesBothWays) {
    Server server;
    NetworkSerialPort port;
    Recorder core(port);
    port.open(server.device("rfc2217"), kLine);
    EXPECT_TRUE(port.write(bytes({'g', 0xff, 0})));
    ASSERT_TRUE(server.accept());
    ASSERT_TRUE(waitFor([&] { return server.heard.size() >= 15; }, 3000));
    EXPECT_EQ(server.heard.find('g'), std::string::npos) << "data waits for the server's answer";
    server.send("stale" + cmd(kDo, kBinary) + cmd(kWill, kBinary) + cmd(kDo, kComPort) +
                bytes({'x', 0xff, 0xff, 'y'}));
    ASSERT_TRUE(waitFor([&] { return core.received.size() >= 3; }, 3000));
    EXPECT_EQ(core.received, bytes({'x', 0xff, 'y'}));
    ASSERT_TRUE(waitFor([&] { return server.heard.find('g') != std::string::npos; }, 3000));
    // Settings (19200 first), then the held data with 0xFF doubled.
    const auto baud = server.heard.find(bytes({kIac, kSb, kComPort, 1, 0, 0, 0x4b, 0, kIac, kSe}));
    EXPECT_NE(baud, std::string::npos);
    EXPECT_LT(baud, server.heard.find('g'));
    EXPECT_EQ(server.heard.substr(server.heard.size() - 4), bytes({'g', 0xff, 0xff, 0}));
    EXPECT_TRUE(core.lost.empty());
}

TEST(NetworkSerialPort, ServersThatRefuseOrStaySilentAreReportedNotWaitedFor) {
    struct Case {
        const char* name;
        std::function<std::string()> device; // of a server set up by the case
        const char* reason;
    };
    DeafServer deaf;
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    const std::string goneDevice = "tcp://127.0.0.1:" + std::to_string(gone.serverPort());
    gone.close();
    const std::vector<Case> cases = {
        {"nobody listens", [&] { return goneDevice; }, "connection refused"},
        {"no answer to the offer",
         [&] { return "rfc2217://127.0.0.1:" + std::to_string(deaf.port); },
         "did not answer the serial port control offer within 0.3 s"},
    };
    for (const Case& c : cases) {
        NetworkSerialPort port(300);
        Recorder core(port);
        const std::string device = c.device();
        EXPECT_TRUE(port.open(device, kLine).ok) << c.name;
        EXPECT_TRUE(port.write("p\r\n")) << c.name;
        ASSERT_TRUE(waitFor([&] { return !core.openFailed.empty(); }, 3000)) << c.name;
        ASSERT_EQ(core.openFailed.size(), 1u) << c.name;
        EXPECT_TRUE(core.lost.empty()) << "it never was open";
        EXPECT_EQ(core.openFailed[0].rfind(device + ": ", 0), 0u) << core.openFailed[0];
        EXPECT_NE(core.openFailed[0].find(c.reason), std::string::npos) << core.openFailed[0];
        EXPECT_FALSE(port.isOpen()) << c.name;
        EXPECT_FALSE(port.write("p\r\n")) << c.name;
    }
}

TEST(NetworkSerialPort, AServerThatNeverReadsCannotGrowTheToolsMemory) {
    DeafServer deaf;
    NetworkSerialPort port;
    Recorder core(port);
    port.open("tcp://127.0.0.1:" + std::to_string(deaf.port), kLine);
    const std::string block(64 * 1024, 'x');
    // Refused while connecting (more than the line holds), taken once up.
    ASSERT_TRUE(waitFor([&] { return port.write(block); }, 3000));
    bool refused = false;
    for (int i = 0; i < 4096 && !refused; ++i) { // at most 256 MB
        refused = !port.write(block);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(refused);
    ASSERT_TRUE(waitFor([&] { return !core.lost.empty(); }, 3000));
    EXPECT_NE(core.lost[0].find("the server takes no data"), std::string::npos) << core.lost[0];
}

TEST(NetworkSerialPort, AMalformedAddressIsRefusedAtTheOpen) {
    NetworkSerialPort port;
    const SerialOpenResult r = port.open("tcp://127.0.0.1", kLine);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.reason, "the port number is missing");
    EXPECT_FALSE(port.isOpen());
}

} // namespace
} // namespace orlix::platform
