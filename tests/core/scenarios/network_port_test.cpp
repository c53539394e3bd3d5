// A Com port that names a network server, seen from core: the open goes on
// in the background and its failure comes later as a failed open; a server
// that stays down is reported once while the attempt keeps trying; a
// malformed address is refused before anything is contacted.
#include "support/sim_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::SimHarness;

constexpr const char* kServer = "rfc2217://127.0.0.1:4001";

std::size_t count(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(NetworkPort, AServerThatStaysDownIsReportedOnceAndTheLinkReturnsWithIt) {
    SimHarness h;
    bool serverUp = true;
    h.port.onWrite = [&](std::string_view bytes) {
        if (serverUp) {
            h.unit.receive(bytes, h.clock.nowMs());
        }
    };
    h.port.pendingOpens = true;
    h.app.serial.setOverride(1, kServer);
    h.start();
    h.run(3000);
    ASSERT_TRUE(h.app.link.OnlineMode);

    // The server goes away: the connection drops, and every new one the
    // tool starts is refused a moment later.
    const std::string refused = std::string(kServer) + ": connection refused";
    const std::string closed = std::string(kServer) + ": the server closed the connection";
    const auto refuse = [&] {
        h.port.close();
        h.app.onSerialOpenFailed(refused);
    };
    const auto goDown = [&] {
        serverUp = false;
        h.port.close();
        h.app.onSerialPortLost(closed);
    };
    goDown();
    EXPECT_TRUE(h.app.link.OfflineMode);
    EXPECT_TRUE(h.app.isVisible(WindowId::frmTrying));
    const std::size_t opensBefore = h.port.openedDevices.size();
    for (int step = 0; step < 120; ++step) {
        if (h.port.isOpen()) {
            refuse();
        }
        h.run(100);
    }
    EXPECT_GE(h.port.openedDevices.size() - opensBefore, 5u) << "Auto ReConnect keeps trying";
    const std::string& log = h.app.commLogView.text;
    EXPECT_EQ(count(log, "Serial port lost: " + closed), 1u) << log;
    EXPECT_EQ(count(log, "Cannot open Com1: " + refused), 1u) << log;
    EXPECT_EQ(count(log, "is open again"), 0u) << "a connection on its way is not open";
    EXPECT_EQ(h.app.connectView.lbl1, "Cannot open Com1: " + refused);

    serverUp = true;
    h.run(4500);
    EXPECT_TRUE(h.app.link.OnlineMode);
    // After the link was back, the same failure is news again.
    goDown();
    refuse();
    h.run(100); // the ping's write pause holds the report back
    EXPECT_EQ(count(h.app.commLogView.text, "Cannot open Com1: " + refused), 2u);
    EXPECT_TRUE(h.dialogs.messages.empty());
}

TEST(NetworkPort, AMalformedAddressIsRefusedByNameAndNeverContacted) {
    SimHarness h;
    h.app.serial.setOverride(1, "rfc2217://127.0.0.1");
    h.app.serial.setOverride(2, "tcp://127.0.0.1:70000");
    h.start();
    EXPECT_TRUE(h.port.openedDevices.empty());
    EXPECT_EQ(h.app.connectView.lbl1,
              "Cannot open Com1: \"rfc2217://127.0.0.1\" is not a network port: the port number "
              "is missing. Write tcp://HOST:PORT or rfc2217://HOST:PORT.");
    h.dialogs.messages.clear();
    h.act([&] { h.app.frmConnect.optCommPort_Click(1); });
    EXPECT_TRUE(h.port.openedDevices.empty());
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_NE(h.app.commLogView.text.find("\"tcp://127.0.0.1:70000\""), std::string::npos);
}

} // namespace
} // namespace orlix
