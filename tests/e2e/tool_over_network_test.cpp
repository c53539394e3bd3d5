// The whole tool over the network: Debian's ser2net, run in the foreground
// as a child of the test, serves orlix6-sim's pseudo-terminal on 127.0.0.1
// at a port picked at run time, raw and as RFC 2217. Three tools walk the
// unit's data set at once, over each server and over the pseudo-terminal
// directly; each server is stopped in the middle of the walk and started
// again, the tool finds the unit again by itself, and all three saved
// files are the same apart from when they were written. A new firmware
// goes down through each server into the unit's boot loader.
#include "core/app/app.h"
#include "core/protocol/data_request_table.h"
#include "platform/network_serial_port.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_timers.h"
#include "support/fakes.h"
#include "support/hex_images.h"
#include "windows_support/sim_process.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

namespace orlix {
namespace {

using test::SimProgram;
using test::waitFor;

QString ser2netProgram() {
    return QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
}

// A free port on the loopback interface, as the system hands it out.
quint16 freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// ser2net serving one device on 127.0.0.1; the same port across restarts.
class Ser2net {
public:
    Ser2net(const QString& dir, const QString& device, bool rfc2217)
        : m_dir(dir), m_device(device), m_rfc2217(rfc2217), m_port(freePort()) {}
    ~Ser2net() { stop(); }

    std::string address() const {
        return std::string(m_rfc2217 ? "rfc2217" : "tcp") +
               "://127.0.0.1:" + std::to_string(m_port);
    }

    // Starts the server and waits until it takes connections.
    bool start() {
        const QString config = m_dir + "/ser2net.yaml";
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
        file.write(QStringLiteral("connection: &unit\n"
                                  "  accepter: %1tcp,127.0.0.1,%2\n"
                                  "  connector: serialdev,%3,19200n81,local\n"
                                  "  options:\n"
                                  "    kickolduser: true\n"
                                  "    mdns: false\n")
                       .arg(m_rfc2217 ? "telnet(rfc2217)," : "")
                       .arg(m_port)
                       .arg(m_device)
                       .toUtf8());
        file.close();
        m_process.setProgram(ser2netProgram());
        m_process.setArguments({"-n", "-u", "-c", config, "-P", m_dir + "/ser2net.pid"});
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) {
            return false;
        }
        // Ready when a connection is taken; the probe leaves at once.
        return waitFor(
            [this] {
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, m_port);
                const bool up = waitFor(
                    [&] {
                        return probe.state() != QAbstractSocket::ConnectingState &&
                               probe.state() != QAbstractSocket::HostLookupState;
                    },
                    1000);
                return up && probe.state() == QAbstractSocket::ConnectedState;
            },
            5000);
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning) {
            return;
        }
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    QString output() { return QString::fromUtf8(m_process.readAll()); }

private:
    QString m_dir;
    QString m_device;
    bool m_rfc2217;
    quint16 m_port;
    QProcess m_process;
};

enum class Route { Pty, Raw, Rfc2217 };

const char* routeName(Route r) {
    return r == Route::Pty ? "pty" : r == Route::Raw ? "tcp" : "rfc2217";
}

// One tool, its simulated unit and, over the network, its server.
struct Rig {
    explicit Rig(Route r, const QStringList& simOptions = {"--quiet"}) : route(r) {
        link = dir.filePath("unit");
        sim.setProcessChannelMode(QProcess::MergedChannels);
        EXPECT_TRUE(sim.start(link, QStringList{"--firmware", "2.24"} + simOptions));

        std::string device = link.toStdString();
        if (route == Route::Pty) {
            port = std::make_unique<platform::QtSerialPort>();
        } else {
            server = std::make_unique<Ser2net>(dir.path(), link, route == Route::Rfc2217);
            EXPECT_TRUE(server->start()) << server->output().toStdString();
            device = server->address();
            port = std::make_unique<platform::NetworkSerialPort>();
        }
        for (int n = 1; n <= 8; ++n) {
            store.set("Ports", "Com" + std::to_string(n), "/nonexistent/test-com");
        }
        store.set("StartUp", "RunType", "1");
        app = std::make_unique<App>(Ports{*port, timers, clock, store, dialogs});
        app->serial.setOverride(1, device);
        port->setHandlers([this](std::string_view b) { app->onSerialBytes(b); },
                          [this](const std::string& why) { app->onSerialPortLost(why); });
        port->setOpenFailedHandler(
            [this](const std::string& why) { app->onSerialOpenFailed(why); });
        timers.setTickHandler([this](TimerId id) { app->onTimer(id); });
        app->Main();
    }

    ~Rig() {
        timers.setTickHandler(nullptr);
        port->close();
    }

    bool online() const { return app->link.OnlineMode && app->data.FirmwareVersionCode == 224; }

    // The walk's item, looked at while waiting: its second round starts
    // over at item 2.
    int item() {
        const int index = app->frmMain.DataItemIndex;
        wrapped = wrapped || index < lastIndex;
        lastIndex = index;
        return index;
    }

    void saveAs(const std::string& name) {
        path = dir.filePath(QString::fromStdString(name)).toStdString();
        dialogs.saveChoices.push_back(FileChoice{path, name});
        app->act([this] { app->frmMain.mnuFileSaveAs_Click(); });
    }

    Route route;
    QTemporaryDir dir;
    QString link;
    SimProgram sim;
    std::unique_ptr<Ser2net> server;
    std::unique_ptr<platform::SerialPortAdapter> port;
    platform::QtTimers timers;
    platform::QtClock clock;
    test::FakeSettingsStore store;
    test::FakeDialogs dialogs;
    std::unique_ptr<App> app;
    std::string path;
    int lastIndex = 0;
    bool wrapped = false;
};

template <typename List, typename Test>
bool all(const List& rigs, const Test& test) {
    return std::all_of(std::begin(rigs), std::end(rigs), test);
}

std::string readFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The file without the line that says when it was written; the unit's
// running time, which goes on by the second, comes back separately.
std::string withoutWhen(const std::string& text, long* operatingSeconds) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("\"File Created: \"", 0) == 0) {
            continue;
        }
        if (line.rfind("\"Operating Hours: \"", 0) == 0) {
            long d = 0, h = 0, m = 0, s = 0;
            char q = 0;
            std::istringstream(line.substr(line.find(',') + 1)) >> q >> d >> q >> h >> q >> m >>
                q >> s;
            *operatingSeconds = ((d * 24 + h) * 60 + m) * 60 + s;
            continue;
        }
        out += line + "\n";
    }
    return out;
}

class ToolOverNetwork : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(QStringLiteral(ORLIX6_SIM_BIN)).isExecutable()) << ORLIX6_SIM_BIN;
        ASSERT_FALSE(ser2netProgram().isEmpty()) << "ser2net is not installed (make installs it)";
    }
};

TEST_F(ToolOverNetwork, WalksThroughAServerRestartAndSavesWhatThePtyGives) {
    Rig pty(Route::Pty);
    Rig raw(Route::Raw);
    Rig telnet(Route::Rfc2217);
    Rig* const rigs[] = {&pty, &raw, &telnet};
    Rig* const served[] = {&raw, &telnet};
    ASSERT_TRUE(waitFor([&] { return all(rigs, [](Rig* r) { return r->online(); }); }, 15000));
    for (Rig* r : rigs) {
        r->app->act([r] { r->app->frmMain.mnuMonitorUpdate_Click(); });
    }

    // The servers stop past items 0 and 1, which the walk asks for only
    // once, and start again when the tools have noticed.
    ASSERT_TRUE(waitFor([&] { return all(served, [](Rig* r) { return r->item() >= 4; }); }, 15000));
    for (Rig* r : served) {
        r->server->stop();
    }
    ASSERT_TRUE(
        waitFor([&] { return all(served, [](Rig* r) { return r->app->link.OfflineMode; }); }));
    for (Rig* r : served) {
        ASSERT_TRUE(r->server->start()) << r->server->output().toStdString();
    }
    ASSERT_TRUE(waitFor([&] { return all(served, [](Rig* r) { return r->app->link.OnlineMode; }); },
                        10000));

    // Every tool saves at the same item of the walk's second round, which
    // asks again for what was missed while the servers were away.
    int finishAt = 12;
    for (Rig* r : served) {
        finishAt = std::max(finishAt, r->item() + 2);
    }
    ASSERT_TRUE(waitFor(
        [&] {
            bool saved = true;
            for (Rig* r : rigs) { // each one looked at every time
                if (r->path.empty() && r->item() >= finishAt && r->wrapped) {
                    r->saveAs(std::string(routeName(r->route)) + ".mdv");
                }
                // The save waits for a write pause like any action.
                saved = saved && !r->dialogs.saveRequests.empty();
            }
            return saved;
        },
        120000));

    long ptySeconds = 0;
    const std::string reference = withoutWhen(readFile(pty.path), &ptySeconds);
    EXPECT_NE(reference.find("\"Model Number: \",\"XYZ-100\""), std::string::npos) << reference;
    for (Rig* rig : {&pty, &raw, &telnet}) {
        SCOPED_TRACE(routeName(rig->route));
        EXPECT_TRUE(rig->dialogs.messages.empty()) << rig->dialogs.messages.front().text;
        long seconds = 0;
        EXPECT_EQ(withoutWhen(readFile(rig->path), &seconds), reference);
        EXPECT_NEAR(seconds, ptySeconds, 120) << "the units were switched on together";
    }
    for (Rig* rig : {&raw, &telnet}) {
        SCOPED_TRACE(routeName(rig->route));
        const std::string& log = rig->app->commLogView.text;
        EXPECT_NE(log.find("Serial port lost: " + rig->server->address() +
                           ": the server closed the connection"),
                  std::string::npos)
            << log;
        EXPECT_TRUE(rig->app->link.OnlineMode);
    }
}

TEST_F(ToolOverNetwork, TheBugeyeBytesReachTheUnitUnchanged) {
    Rig raw(Route::Raw, {"--trace"});
    Rig telnet(Route::Rfc2217, {"--trace"});
    std::string heard[2];
    ASSERT_TRUE(waitFor([&] { return raw.online() && telnet.online(); }, 15000));
    for (Rig* rig : {&raw, &telnet}) {
        rig->app->act([rig] {
            rig->app->show(WindowId::frmBugeyeMode);
            rig->app->frmBugeyeMode.HScrollBugeye_Change(255);
        });
    }
    // The unit's trace shows every byte it received, 0xFF as \xFF.
    const auto received = [](Rig& rig, std::string& all) {
        while (rig.sim.canReadLine()) {
            const std::string line = rig.sim.readLine().toStdString();
            const auto at = line.find("<< ");
            if (at != std::string::npos) {
                all += line.substr(at + 3, line.find_last_not_of("\r\n") - at - 2);
            }
        }
        return all.find("\\xFF\\x00") != std::string::npos;
    };
    ASSERT_TRUE(
        waitFor([&] { return received(raw, heard[0]) && received(telnet, heard[1]); }, 5000))
        << heard[0] << "\n"
        << heard[1];
    for (const std::string& all : heard) {
        EXPECT_EQ(all.find("\\xFF\\xFF"), std::string::npos) << all;
        EXPECT_EQ(all.find("\\xFF\\xFA"), std::string::npos) << "no Telnet reached the unit";
    }
}

TEST_F(ToolOverNetwork, DownloadsANewFirmwareOverBothServers) {
    Rig raw(Route::Raw, {"--quiet", "--boot"});
    Rig telnet(Route::Rfc2217, {"--quiet", "--boot"});
    Rig* const rigs[] = {&raw, &telnet};
    ASSERT_TRUE(
        waitFor([&] { return all(rigs, [](Rig* r) { return r->app->link.BootMode; }); }, 15000));
    const std::string text = test::joined(test::firmwareRecords(20, "3.10"));
    for (Rig* r : rigs) {
        const QString image = r->dir.filePath("fw310.hex");
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        file.close();
        r->dialogs.openChoices.push_back(FileChoice{image.toStdString(), "fw310.hex"});
        r->dialogs.choices.push_back(0);    // erase and download
        r->dialogs.answers.push_back(true); // start the new firmware
        r->app->act([r] { r->app->frmMain.mnuMonitorDownload_Click(); });
    }
    ASSERT_TRUE(waitFor(
        [&] {
            return all(rigs, [](Rig* r) {
                return r->app->download.outcome() != FirmwareDownload::Outcome::None;
            });
        },
        30000));
    // "g" starts the new firmware on each unit, and its version is read.
    ASSERT_TRUE(waitFor(
        [&] {
            return all(rigs, [](Rig* r) {
                return r->app->link.OnlineMode && r->app->data.FirmwareVersionCode == 310;
            });
        },
        10000));
    for (Rig* r : rigs) {
        SCOPED_TRACE(routeName(r->route));
        EXPECT_EQ(r->app->download.outcome(), FirmwareDownload::Outcome::Done);
        EXPECT_EQ(r->app->downloadView.Gauge1, 100.0);
        EXPECT_TRUE(r->dialogs.messages.empty()) << r->dialogs.messages.front().text;
    }
}

TEST_F(ToolOverNetwork, TheCommandLineToolPingsOverBothAndNamesAServerThatIsNotThere) {
    Rig raw(Route::Raw);
    Rig telnet(Route::Rfc2217);
    const quint16 nobody = freePort();
    struct Case {
        std::string port;
        int code;
        std::string err; // a part of standard error
    };
    const std::vector<Case> cases = {
        {raw.server->address(), 0, ""},
        {telnet.server->address(), 0, ""},
        {"tcp://127.0.0.1:" + std::to_string(nobody), 3,
         "cannot open tcp://127.0.0.1:" + std::to_string(nobody) + ": connection refused"},
    };
    // The tools' own rigs let go of the servers first: one user per port.
    for (Rig* rig : {&raw, &telnet}) {
        rig->port->close();
        rig->timers.setTickHandler(nullptr);
    }
    QTemporaryDir dir;
    for (const Case& c : cases) {
        QProcess cli;
        cli.start(QStringLiteral(ORLIX6_CLI_BIN),
                  {"ping", "--port", QString::fromStdString(c.port), "--settings",
                   dir.filePath("settings.ini"), "--timeout", "20"});
        ASSERT_TRUE(cli.waitForStarted(5000));
        ASSERT_TRUE(waitFor([&] { return cli.state() == QProcess::NotRunning; }, 25000)) << c.port;
        const std::string err = cli.readAllStandardError().toStdString();
        EXPECT_EQ(cli.exitCode(), c.code) << c.port << ": " << err;
        EXPECT_NE(err.find(c.err), std::string::npos) << err;
    }
}

} // namespace
} // namespace orlix
