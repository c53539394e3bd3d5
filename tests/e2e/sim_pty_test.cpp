// The tool's real serial adapter (QSerialPort) against the orlix6-sim
// program over a pseudo-terminal: answers arrive byte for byte through the
// system's terminal layer, the line survives the port being closed and
// reopened, and a hang-up from the simulator's console reaches the tool as
// a lost device, opened again once plugged in. Last, the same through the
// in-process port of --simulator.
#include "platform/qt_serial_port.h"
#include "platform/simulated_serial_port.h"
#include "windows_support/sim_process.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

using orlix::platform::QtSerialPort;

using orlix::test::SimProgram;
using orlix::test::waitFor;

TEST(SimPty, TheRealSerialAdapterTalksToTheProgramAndSeesAHangUp) {
    QTemporaryDir dir;
    const QString link = dir.filePath("unit");
    SimProgram sim;
    ASSERT_TRUE(sim.start(link, {"--firmware", "1.39"})) << ORLIX6_SIM_BIN;

    QtSerialPort port;
    std::string received;
    std::string lost;
    port.setHandlers([&](std::string_view bytes) { received.append(bytes); },
                     [&](const std::string& reason) { lost = reason; });
    const auto open = [&] { return port.open(link.toStdString(), orlix::SerialLineSettings{}).ok; };
    // Writes one command line and waits for the answer up to its prompt and
    // the line end after it.
    const auto ask = [&](const std::string& command) {
        received.clear();
        EXPECT_TRUE(port.write(command + "\r\n"));
        EXPECT_TRUE(waitFor([&] {
            return received.find_first_of("#$!") != std::string::npos && received.ends_with("\r\n");
        })) << received;
        return received;
    };

    ASSERT_TRUE(open());
    EXPECT_EQ(ask("df"), "df\r\nV 1.39\r\n#\r\n");
    EXPECT_EQ(ask("da"), "da\r\n98,100,90,60,200,203,209\r\n#\r\n");

    // The line survives the port being closed for a while and opened again.
    port.close();
    waitFor([] { return false; }, 200);
    ASSERT_TRUE(open());
    EXPECT_EQ(ask("p"), "p\r\n#\r\n");
    EXPECT_TRUE(lost.empty()) << lost;

    sim.console("hangup");
    ASSERT_TRUE(waitFor([&] { return !lost.empty(); })) << "no loss reported";
    EXPECT_FALSE(port.isOpen());
    sim.console("plug");
    ASSERT_TRUE(waitFor(open));
    EXPECT_EQ(ask("df"), "df\r\nV 1.39\r\n#\r\n");
}

// The in-process port: the unit's bytes come from the event loop, never
// from inside a write, and a hang-up closes the port until the line comes
// back.
TEST(SimInProcess, DeliversAnswersFromTheEventLoopAndReportsAHangUp) {
    orlix::platform::SimulatedSerialPort port;
    port.setReconnectAfterMs(-1);
    std::string received;
    std::string lost;
    port.setHandlers([&](std::string_view bytes) { received.append(bytes); },
                     [&](const std::string& reason) { lost = reason; });
    ASSERT_TRUE(port.open("simulator", orlix::SerialLineSettings{}).ok);
    ASSERT_TRUE(port.write("df\r\n"));
    EXPECT_EQ(received, ""); // nothing arrives inside the write
    EXPECT_TRUE(waitFor([&] { return received == "df\r\nV 2.24\r\n#\r\n"; })) << received;

    port.unit().hangUp();
    port.service();
    EXPECT_FALSE(lost.empty());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.open("simulator", orlix::SerialLineSettings{}).ok);
    port.unit().reconnectLine();
    ASSERT_TRUE(port.open("simulator", orlix::SerialLineSettings{}).ok);
    received.clear();
    ASSERT_TRUE(port.write("p\r\n"));
    EXPECT_TRUE(waitFor([&] { return received == "p\r\n#\r\n"; })) << received;
}

} // namespace
