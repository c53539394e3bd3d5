// The whole tool over the network: Debian's ser2net, run in the foreground
// as a child of the test, serves orlix6-sim's pseudo-terminal on 127.0.0.1
// at a port picked at run time, raw and as RFC 2217. The tool walks the
// unit's data set over each server and over the pseudo-terminal directly,
// while orlix6-cli reads units built alike; each server is stopped in the
// middle of the walk and started again, the tool finds the unit again by
// itself, and every saved file is the same apart from when it was written.
// A new firmware goes down each route into the unit's boot loader.
#include "core/app/app.h"
#include "platform/network_serial_port.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_timers.h"
#include "support/fakes.h"
#include "support/hex_images.h"
#include "windows_support/cli_program.h"
#include "windows_support/sim_process.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <tuple>

namespace orlix {
namespace {

using test::CliProgram;
using test::CliResult;
using test::fileText;
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
class Ser2net : public QProcess {
public:
    Ser2net(const QString& dir, const QString& device, bool rfc2217)
        : m_rfc2217(rfc2217), m_port(freePort()) {
        test::writeFile(dir + "/ser2net.yaml",
                        QStringLiteral("connection: &unit\n"
                                       "  accepter: %1tcp,127.0.0.1,%2\n"
                                       "  connector: serialdev,%3,19200n81,local\n"
                                       "  options:\n"
                                       "    kickolduser: true\n"
                                       "    mdns: false\n")
                            .arg(m_rfc2217 ? "telnet(rfc2217)," : "")
                            .arg(m_port)
                            .arg(device)
                            .toStdString());
        setProgram(ser2netProgram());
        setArguments({"-n", "-u", "-c", dir + "/ser2net.yaml", "-P", dir + "/ser2net.pid"});
        setProcessChannelMode(QProcess::MergedChannels);
    }
    ~Ser2net() override { stop(); }

    std::string address() const {
        return std::string(m_rfc2217 ? "rfc2217" : "tcp") +
               "://127.0.0.1:" + std::to_string(m_port);
    }

    // Starts the server; ready when it takes a connection (the probe leaves at once).
    bool start() {
        QProcess::start();
        return waitForStarted(5000) && waitFor(
                                           [this] {
                                               QTcpSocket probe;
                                               probe.connectToHost(QHostAddress::LocalHost, m_port);
                                               return probe.waitForConnected(1000);
                                           },
                                           5000);
    }

    void stop() { test::stopProcess(*this); }

private:
    bool m_rfc2217;
    quint16 m_port;
};

enum class Route { Pty, Raw, Rfc2217 };

const char* routeName(Route r) {
    return r == Route::Pty ? "pty" : r == Route::Raw ? "tcp" : "rfc2217";
}

// One tool with its real adapters and timers, its simulated unit at
// dir/unit and, over the network, its server.
struct Rig {
    explicit Rig(Route r, const QStringList& simOptions = {"--quiet"}) : route(r) {
        sim.setProcessChannelMode(QProcess::MergedChannels);
        EXPECT_TRUE(sim.start(link, QStringList{"--firmware", "2.24"} + simOptions));
        std::string device = link.toStdString();
        if (route == Route::Pty) {
            port = std::make_unique<platform::QtSerialPort>();
        } else {
            server = std::make_unique<Ser2net>(dir.path(), link, route == Route::Rfc2217);
            EXPECT_TRUE(server->start()) << server->readAll().toStdString();
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
    ~Rig() { stop(); }

    // The tool lets go of the port and its timers.
    void stop() {
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
        path = dir.filePath(QString::fromStdString(name));
        dialogs.saveChoices.push_back(FileChoice{path.toStdString(), name});
        app->act([this] { app->frmMain.mnuFileSaveAs_Click(); });
    }

    // Download of an image carrying "V 3.10": erase, download, start it.
    void download() {
        const QString image = dir.filePath("fw310.hex");
        test::writeFile(image, test::joined(test::firmwareRecords(20, "3.10")));
        dialogs.openChoices.push_back(FileChoice{image.toStdString(), "fw310.hex"});
        dialogs.choices.push_back(0);
        dialogs.answers.push_back(true);
        app->act([this] { app->frmMain.mnuMonitorDownload_Click(); });
    }

    std::string firstMessage() const {
        return dialogs.messages.empty() ? "" : dialogs.messages.front().text;
    }

    Route route;
    QTemporaryDir dir;
    QString link = dir.filePath("unit");
    SimProgram sim;
    std::unique_ptr<Ser2net> server;
    std::unique_ptr<platform::SerialPortAdapter> port;
    platform::QtTimers timers;
    platform::QtClock clock;
    test::FakeSettingsStore store;
    test::FakeDialogs dialogs;
    std::unique_ptr<App> app;
    QString path; // the saved file
    int lastIndex = 0;
    bool wrapped = false;
};

// A data file without the line that says when it was written; the unit's
// running time, which goes on by the second, comes back separately.
std::string withoutWhen(const std::string& text, long* operatingSeconds) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        long d = 0, h = 0, m = 0, s = 0;
        if (std::sscanf(line.c_str(), "\"Operating Hours: \",\"%ld:%ld:%ld:%ld", &d, &h, &m, &s) ==
            4) {
            *operatingSeconds = ((d * 24 + h) * 60 + m) * 60 + s;
        } else if (!line.starts_with("\"File Created: \"")) {
            out += line + "\n";
        }
    }
    return out;
}

// Runs the event loop until `test` holds for every rig.
template <typename List, typename Test>
bool waitAll(int ms, const List& rigs, const Test& test) {
    return waitFor([&] { return std::all_of(std::begin(rigs), std::end(rigs), test); }, ms);
}

// show's JSON as the DAC lines of a data file, in file order.
QStringList dacLinesOfShow(const QJsonObject& shown) {
    QStringList lines;
    for (const QJsonValue set : shown["scanSets"].toArray()) {
        for (const QJsonValue d : set["dacs"].toArray()) {
            lines << QStringLiteral("\"%1\",%2,%3,%4")
                         .arg(d["name"].toString())
                         .arg(d["Value"].toInt())
                         .arg(d["F"].toInt())
                         .arg(d["P"].toInt());
        }
    }
    return lines;
}

class ToolOverNetwork : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(QStringLiteral(ORLIX6_SIM_BIN)).isExecutable()) << ORLIX6_SIM_BIN;
        ASSERT_FALSE(ser2netProgram().isEmpty()) << "ser2net is not installed (make installs it)";
    }
};

// Directly on the pseudo-terminal: a unit that falls silent is noticed
// and found again, and so is a line hung up and plugged back in.
TEST_F(ToolOverNetwork, OnThePtyASilentOrHungUpUnitIsLostAndFoundAgain) {
    Rig rig(Route::Pty, {"--quiet", "--no-wire-rate"});
    App& app = *rig.app;
    const auto online = [&](int ms) { return waitFor([&] { return rig.online(); }, ms); };
    ASSERT_TRUE(online(8000)) << app.connectView.lbl1;
    EXPECT_EQ(app.mainView.caption, "Orlix6 Backlight Adjustment Tool V6.0.3 -- Backlight on Com1");

    rig.sim.console("silent on");
    ASSERT_TRUE(waitFor([&] { return app.link.OfflineMode; }, 15000));
    EXPECT_TRUE(app.isVisible(WindowId::frmTrying));
    rig.sim.console("silent off");
    ASSERT_TRUE(online(8000));

    rig.sim.console("hangup");
    ASSERT_TRUE(waitFor([&] { return app.link.OfflineMode; }, 5000));
    EXPECT_NE(app.commLogView.text.find("Serial port lost"), std::string::npos);
    rig.sim.console("plug");
    ASSERT_TRUE(online(8000)) << app.connectView.lbl1;
    EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.firstMessage();
}

TEST_F(ToolOverNetwork, TheCliAndEveryRouteSaveTheSameFileThroughAServerRestart) {
    Rig pty(Route::Pty);
    Rig raw(Route::Raw);
    Rig telnet(Route::Rfc2217);
    Rig* const rigs[] = {&pty, &raw, &telnet};
    Rig* const served[] = {&raw, &telnet};
    // orlix6-cli reads units built alike at the same time, with and without
    // asking them for their scan sets.
    QTemporaryDir dir;
    const QString settings = dir.filePath("settings.ini");
    const QString sets[] = {"all", "reported"};
    SimProgram units[2];
    CliProgram reads[2];
    for (int i = 0; i < 2; ++i) {
        const QString link = dir.filePath(sets[i]);
        ASSERT_TRUE(units[i].start(link, {"--firmware", "2.24", "--quiet", "--no-wire-rate"}));
        reads[i].start({"read", "--port", link, "-o", link + ".mdv", "--scan-sets", sets[i],
                        "--settings", settings});
    }
    ASSERT_TRUE(waitAll(15000, rigs, [](Rig* r) { return r->online(); }));
    for (Rig* r : rigs) {
        r->app->act([r] { r->app->frmMain.mnuMonitorUpdate_Click(); });
    }

    // The servers stop past items 0 and 1, which the walk asks for only
    // once, and start again when the tools have noticed.
    ASSERT_TRUE(waitAll(15000, served, [](Rig* r) { return r->item() >= 4; }));
    for (Rig* r : served) {
        r->server->stop();
    }
    ASSERT_TRUE(waitAll(5000, served, [](Rig* r) { return r->app->link.OfflineMode; }));
    for (Rig* r : served) {
        ASSERT_TRUE(r->server->start()) << r->server->readAll().toStdString();
    }
    ASSERT_TRUE(waitAll(10000, served, [](Rig* r) { return r->app->link.OnlineMode; }));

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
                if (r->path.isEmpty() && r->item() >= finishAt && r->wrapped) {
                    r->saveAs(std::string(routeName(r->route)) + ".mdv");
                }
                // The save waits for a write pause like any action.
                saved = saved && !r->dialogs.saveRequests.empty();
            }
            return saved;
        },
        120000));

    const QString cliFile = dir.filePath("all.mdv");
    const CliResult read = reads[0].finish(30000);
    ASSERT_EQ(read.code, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "wrote " + cliFile +
                            ": model XYZ-100, serial number SN0012345, application firmware V "
                            "2.24, 6 scan sets\n");
    // The unit has four of its six scan sets, and names them.
    const CliResult reported = reads[1].finish(30000);
    ASSERT_EQ(reported.code, 0) << reported.err.toStdString();
    EXPECT_TRUE(reported.out.endsWith(", 4 scan sets\n")) << reported.out.toStdString();
    EXPECT_EQ(
        QString::fromStdString(fileText(dir.filePath("reported.mdv")))
            .split("\r\n")
            .filter("\"ScanSetName\""),
        (QStringList{R"("ScanSetName","640x480 60Hz")", R"("ScanSetName","800x600 60Hz")",
                     R"("ScanSetName","1024x768 60Hz")", R"("ScanSetName","1280x1024 60Hz")"}));

    long ptySeconds = 0;
    const std::string reference = withoutWhen(fileText(pty.path), &ptySeconds);
    EXPECT_NE(reference.find("\"Model Number: \",\"XYZ-100\""), std::string::npos) << reference;
    const std::pair<const char*, QString> files[] = {
        {"tcp", raw.path}, {"rfc2217", telnet.path}, {"cli", cliFile}};
    for (const auto& [route, path] : files) {
        SCOPED_TRACE(route);
        long seconds = 0;
        EXPECT_EQ(withoutWhen(fileText(path), &seconds), reference);
        EXPECT_NEAR(seconds, ptySeconds, 120) << "the units were switched on together";
    }
    for (Rig* r : rigs) {
        EXPECT_TRUE(r->dialogs.messages.empty()) << r->firstMessage();
    }
    for (Rig* r : served) {
        SCOPED_TRACE(routeName(r->route));
        EXPECT_NE(r->app->commLogView.text.find("Serial port lost: " + r->server->address() +
                                                ": the server closed the connection"),
                  std::string::npos)
            << r->app->commLogView.text;
        EXPECT_TRUE(r->app->link.OnlineMode);
    }

    // show prints every value read wrote.
    const CliResult shown = test::runCli({"show", "--json", cliFile});
    ASSERT_EQ(shown.code, 0) << shown.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(shown.out.toUtf8()).object();
    EXPECT_EQ(json["identity"]["SerialNumber"].toString(), "SN0012345");
    EXPECT_EQ(json["identity"]["FirmwareVersion"].toString(), "V 2.24");
    const QStringList written =
        QString::fromStdString(fileText(cliFile))
            .split("\r\n")
            .filter(QRegularExpression(R"re(^"[^"]*",-?\d+,-?\d+,-?\d+$)re"));
    EXPECT_EQ(written.size(), 6 * 28);
    EXPECT_EQ(dacLinesOfShow(json), written);

    // orlix6-cli pings over both servers once the tools have let go of them
    // (one user per port), and names a server that is not there.
    for (Rig* r : rigs) {
        r->stop();
    }
    const std::string nobody = "tcp://127.0.0.1:" + std::to_string(freePort());
    const std::tuple<std::string, int, std::string> pings[] = {
        {raw.server->address(), 0, "application firmware V 2.24\n"},
        {telnet.server->address(), 0, "application firmware V 2.24\n"},
        {nobody, 3, "cannot open " + nobody + ": connection refused"}};
    for (const auto& [port, code, said] : pings) {
        const CliResult r = test::runCli({"ping", "--port", QString::fromStdString(port),
                                          "--settings", settings, "--timeout", "20"},
                                         25000);
        EXPECT_EQ(r.code, code) << port << ": " << r.err.toStdString();
        EXPECT_TRUE((r.out + r.err).contains(QString::fromStdString(said))) << port;
    }
}

TEST_F(ToolOverNetwork, TheBugeyeBytesReachTheUnitUnchanged) {
    Rig raw(Route::Raw, {"--trace"});
    Rig telnet(Route::Rfc2217, {"--trace"});
    std::string heard[2];
    ASSERT_TRUE(waitAll(15000, std::array{&raw, &telnet}, [](Rig* r) { return r->online(); }));
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

TEST_F(ToolOverNetwork, DownloadsANewFirmwareOverThePtyAndBothServers) {
    const QStringList boot{"--quiet", "--boot"};
    Rig pty(Route::Pty, boot);
    Rig raw(Route::Raw, boot);
    Rig telnet(Route::Rfc2217, boot);
    Rig* const rigs[] = {&pty, &raw, &telnet};
    ASSERT_TRUE(waitAll(15000, rigs, [](Rig* r) { return r->app->link.BootMode; }));
    for (Rig* r : rigs) {
        r->download();
    }
    ASSERT_TRUE(waitAll(30000, rigs, [](Rig* r) {
        return r->app->download.outcome() != FirmwareDownload::Outcome::None;
    }));
    // "g" starts the new firmware; its '#' brings the link back online and
    // the new version is read.
    ASSERT_TRUE(waitAll(10000, rigs, [](Rig* r) {
        return r->app->link.OnlineMode && r->app->data.FirmwareVersionCode == 310;
    }));
    for (Rig* r : rigs) {
        SCOPED_TRACE(routeName(r->route));
        EXPECT_EQ(r->app->download.outcome(), FirmwareDownload::Outcome::Done);
        EXPECT_EQ(r->app->downloadView.Gauge1, 100.0);
        EXPECT_EQ(r->app->data.FirmwareVersion, "V 3.10");
        EXPECT_TRUE(r->dialogs.messages.empty()) << r->firstMessage();
    }
}

} // namespace
} // namespace orlix
