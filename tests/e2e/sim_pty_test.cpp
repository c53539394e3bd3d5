// The tool's real serial adapter (QSerialPort) against the orlix6-sim
// program over a pseudo-terminal: answers arrive through the system's
// terminal layer, the line survives the port being closed and reopened,
// and a hang-up from the simulator's console reaches the tool as a lost
// device. Last, the same through the in-process port of --simulator.
#include "platform/qt_serial_port.h"
#include "platform/simulated_serial_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using orlix::platform::QtSerialPort;

// Runs the event loop until `done` holds or `ms` have passed.
bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The program as the build made it.
QString simulatorProgram() {
    const QString built = QStringLiteral(ORLIX6_SIM_BIN);
    return QFileInfo(built).isExecutable() ? built : QString();
}

class SimPty : public ::testing::Test {
protected:
    void SetUp() override {
        const QString bin = simulatorProgram();
        ASSERT_FALSE(bin.isEmpty()) << "orlix6-sim is not built: " << ORLIX6_SIM_BIN;
        ASSERT_TRUE(m_dir.isValid());
        m_link = m_dir.filePath("unit");
        m_sim.setProgram(bin);
        m_sim.setArguments({"--link", m_link, "--firmware", "1.39"});
        m_sim.setProcessChannelMode(QProcess::MergedChannels);
        m_sim.start();
        ASSERT_TRUE(m_sim.waitForStarted(5000));
        ASSERT_TRUE(waitFor([this] { return QFileInfo(m_link).isSymLink(); }))
            << m_sim.readAll().toStdString();

        m_port.setHandlers([this](std::string_view bytes) { m_received.append(bytes); },
                           [this](const std::string& reason) { m_lost = reason; });
    }

    void TearDown() override {
        m_port.close();
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            if (!m_sim.waitForFinished(5000)) {
                m_sim.kill();
                m_sim.waitForFinished(2000);
            }
        }
    }

    bool openPort() {
        const auto result = m_port.open(m_link.toStdString(), orlix::SerialLineSettings{});
        EXPECT_TRUE(result.ok) << result.reason;
        return result.ok;
    }

    // Writes one command line and waits for the answer up to its prompt
    // and the line end after it.
    std::string ask(const std::string& command) {
        m_received.clear();
        EXPECT_TRUE(m_port.write(command + "\r\n"));
        const bool complete = waitFor([this] {
            return m_received.size() >= 3 &&
                   m_received.compare(m_received.size() - 2, 2, "\r\n") == 0 &&
                   m_received.find_first_of("#$!") != std::string::npos;
        });
        EXPECT_TRUE(complete) << "got so far: " << m_received;
        return m_received;
    }

    void console(const char* command) {
        m_sim.write(command);
        m_sim.write("\n");
        m_sim.waitForBytesWritten(2000);
    }

    QTemporaryDir m_dir;
    QString m_link;
    QProcess m_sim;
    QtSerialPort m_port;
    std::string m_received;
    std::string m_lost;
};

TEST_F(SimPty, AnswersThroughTheRealSerialAdapter) {
    ASSERT_TRUE(openPort());
    EXPECT_EQ(ask("p"), "p\r\n#\r\n");
    EXPECT_EQ(ask("df"), "df\r\nV 1.39\r\n#\r\n");
    EXPECT_EQ(ask("da"), "da\r\n98,100,90,60,200,203,209\r\n#\r\n");
    EXPECT_EQ(ask("TAS"), "TAS\r\n#\r\n");
    EXPECT_EQ(ask("dy"), "dy\r\ncontrol=1;\r\n#\r\n");
}

TEST_F(SimPty, TheLineSurvivesThePortBeingClosedAndOpenedAgain) {
    ASSERT_TRUE(openPort());
    EXPECT_EQ(ask("p"), "p\r\n#\r\n");
    m_port.close();
    // Let the simulator see nobody at the other end for a while.
    waitFor([] { return false; }, 200);
    ASSERT_TRUE(openPort());
    EXPECT_EQ(ask("p"), "p\r\n#\r\n");
    EXPECT_TRUE(m_lost.empty()) << m_lost;
}

TEST_F(SimPty, FaultsFromTheConsoleReachTheTool) {
    ASSERT_TRUE(openPort());
    console("reject 2");
    waitFor([] { return false; }, 200);
    EXPECT_EQ(ask("p"), "p\r\n#\r\n");
    EXPECT_EQ(ask("p"), "p\r\n!\r\n");
    console("reject 0");

    console("hangup");
    ASSERT_TRUE(waitFor([this] { return !m_lost.empty(); })) << "no loss reported";
    EXPECT_FALSE(m_port.isOpen());

    console("plug");
    ASSERT_TRUE(waitFor(
        [this] { return m_port.open(m_link.toStdString(), orlix::SerialLineSettings{}).ok; }));
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
    ASSERT_TRUE(waitFor([&] { return received.size() == 15; }));
    EXPECT_EQ(received, "df\r\nV 2.24\r\n#\r\n");

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
