// The whole tool, with its real serial adapter and real timers, against
// the orlix6-sim program over a pseudo-terminal: it connects, walks the
// whole data set once, notices a silent unit and finds it again, and
// survives the line being hung up and plugged back in.
//
// The tool's timings are proven on the virtual clock by the core tests;
// here every interval runs kTimeScale times faster and the unit answers
// without the line's character time, so the scenario takes seconds, and
// each wait ends as soon as what it waits for is seen.
#include "core/app/app.h"
#include "core/protocol/data_request_table.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_timers.h"
#include "support/fakes.h"
#include "windows_support/sim_process.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace orlix {
namespace {

using test::SimProgram;
using test::waitFor;

constexpr int kTimeScale = 5;

// The real timers, each interval divided by kTimeScale.
class ScaledTimers : public Timers {
public:
    explicit ScaledTimers(Timers& real) : m_real(real) {}
    void start(TimerId id, int intervalMs) override {
        m_real.start(id, std::max(1, intervalMs / kTimeScale));
    }
    void stop(TimerId id) override { m_real.stop(id); }

private:
    Timers& m_real;
};

class ToolOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(QStringLiteral(ORLIX6_SIM_BIN)).isExecutable()) << ORLIX6_SIM_BIN;
        m_link = m_dir.filePath("unit");
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        ASSERT_TRUE(m_sim.start(m_link, {"--firmware", "2.24", "--quiet", "--no-wire-rate"}));

        for (int n = 1; n <= 8; ++n) {
            m_store.set("Ports", "Com" + std::to_string(n), "/nonexistent/test-com");
        }
        m_store.set("StartUp", "RunType", "1");
        m_app.serial.setOverride(1, m_link.toStdString());
        m_port.setHandlers([this](std::string_view b) { m_app.onSerialBytes(b); },
                           [this](const std::string& why) { m_app.onSerialPortLost(why); });
        m_timers.setTickHandler([this](TimerId id) { m_app.onTimer(id); });
    }

    void TearDown() override {
        m_timers.setTickHandler(nullptr);
        m_port.close();
    }

    void console(const char* command) { m_sim.console(command); }

    bool online(int ms) {
        return waitFor([this] { return m_app.link.OnlineMode; }, ms);
    }

    QTemporaryDir m_dir;
    QString m_link;
    SimProgram m_sim;
    platform::QtSerialPort m_port;
    platform::QtTimers m_timers;
    ScaledTimers m_scaledTimers{m_timers};
    platform::QtClock m_clock;
    test::FakeSettingsStore m_store;
    test::FakeDialogs m_dialogs;
    App m_app{Ports{m_port, m_scaledTimers, m_clock, m_store, m_dialogs}};
};

TEST_F(ToolOverPty, ConnectsWalksLosesTheUnitAndFindsItAgain) {
    m_app.Main();
    ASSERT_TRUE(online(5000)) << m_app.connectView.lbl1;
    EXPECT_EQ(m_app.mainView.caption,
              "Orlix6 Backlight Adjustment Tool V6.0.3 -- Backlight on Com1");
    ASSERT_TRUE(waitFor([this] { return m_app.data.FirmwareVersionCode == 224; }, 3000));

    // One full walk: 46 ticks of the walk timer.
    m_app.act([this] { m_app.frmMain.mnuMonitorUpdate_Click(); });
    ASSERT_TRUE(waitFor([this] { return m_app.frmMain.DataItemIndex >= kDataItemCount; }, 60000));
    EXPECT_EQ(m_app.data.ModelNumber, "XYZ-100");
    EXPECT_EQ(m_app.data.SerialNumber, "SN0012345");
    EXPECT_EQ(m_app.data.RomVersion, "V 1.05");
    EXPECT_EQ(m_app.data.HVUpperLimit, 230);
    EXPECT_FALSE(m_app.data.OperatingHours.empty());
    EXPECT_NE(m_app.data.V.FValue[0][0], 0);
    EXPECT_TRUE(m_app.link.OnlineMode);

    // A silent unit: the next ping gets no prompt, the watchdog takes the
    // link down, and the attempt finds the unit when it speaks again.
    console("silent on");
    ASSERT_TRUE(waitFor([this] { return m_app.link.OfflineMode; }, 10000));
    EXPECT_TRUE(m_app.isVisible(WindowId::frmTrying));
    console("silent off");
    ASSERT_TRUE(online(6000));

    // The line hung up: the port is lost; Auto ReConnect reopens it once
    // the unit is plugged in again.
    console("hangup");
    ASSERT_TRUE(waitFor([this] { return !m_port.isOpen(); }, 5000));
    // The loss is handled once the line in its write pause has gone out.
    EXPECT_TRUE(waitFor([this] { return m_app.link.OfflineMode; }, 1000))
        << "holding " << m_app.gate.holding() << " held " << m_app.gate.heldCount();
    EXPECT_NE(m_app.commLogView.text.find("Serial port lost"), std::string::npos);
    console("plug");
    ASSERT_TRUE(online(8000)) << m_app.connectView.lbl1;
    EXPECT_TRUE(m_port.isOpen());
    EXPECT_TRUE(m_dialogs.messages.empty()) << m_dialogs.messages.front().text;
}

} // namespace
} // namespace orlix
