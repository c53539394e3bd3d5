// The network serial port against servers on the loopback interface that
// misbehave: one that refuses or never answers the port control offer (a
// failed open, never a wait), and one that never reads. Servers that work
// are ser2net's, in the end-to-end tests.
#include "platform/network_serial_port.h"
#include "windows_support/wait_for.h"

#include <QCoreApplication>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orlix::platform {
namespace {

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
