// orlix6-cli as a script runs it: the program against orlix6-sim on a
// pseudo-terminal (or against its built-in simulated display), checked by
// its standard output, its messages and its exit code. Last, a read by
// the command-line tool and one by the windowed tool's core give the same
// data file.
#include "core/app/app.h"
#include "core/protocol/data_request_table.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_timers.h"
#include "support/fakes.h"
#include "windows_support/cli_program.h"
#include "windows_support/cli_stops.h"
#include "windows_support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>

namespace orlix {
namespace {

using test::CliProgram;
using test::CliResult;
using test::signalToCli;
using test::simConsole;
using test::SimProgram;
using test::StopCase;
using test::waitFor;

// orlix6-sim answering at once (no wire rate).
const QStringList kQuick{"--quiet", "--no-wire-rate"};

QByteArray fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(QStringLiteral(ORLIX6_CLI_BIN)).isExecutable()) << ORLIX6_CLI_BIN;
        m_link = m_dir.filePath("unit");
    }

    // Settings of this test alone: the tool last used Com2, which is the
    // simulated unit; no other port leads anywhere. No first run has been
    // marked, so the load step wants to write the settings.
    QString writeSettings(int retryLimit) {
        const QString path = m_dir.filePath("settings.ini");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QString text = QStringLiteral("[Configs]\nCommPort=2\n"
                                      "ConnectRetryLimit=%1\n[Ports]\n")
                           .arg(retryLimit);
        for (int n = 1; n <= 8; ++n) {
            text += QStringLiteral("Com%1=%2\n").arg(n).arg(n == 2 ? m_link : "/nonexistent/com");
        }
        file.write(text.toUtf8());
        return path;
    }

    QStringList withPlaceholders(QStringList args) const {
        for (QString& arg : args) {
            arg.replace("LINK", m_link).replace("DIR", m_dir.path());
        }
        return args;
    }

    // The files the test's folder holds besides the settings and the link.
    QStringList leftovers() const {
        QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll("settings.ini");
        files.removeAll("unit");
        return files;
    }

    QTemporaryDir m_dir;
    QString m_link;
};

// --- one run each, by a table ---------------------------------------------------

struct RunCase {
    const char* name;
    std::optional<QStringList> sim; // orlix6-sim's own options; none: no program
    QStringList args;               // LINK: the unit's pty, DIR: the test's folder
    QByteArray input;
    int retryLimit;
    int code;
    std::optional<QString> out; // all of standard output
    QString err;                // a part of standard error
};

// The case's name in test listings, not its bytes.
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class CliRuns : public CliTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(CliRuns, PrintAndExitAsDocumented) {
    const RunCase& c = GetParam();
    SimProgram sim;
    if (c.sim) {
        ASSERT_TRUE(sim.start(m_link, *c.sim)) << ORLIX6_SIM_BIN;
    }
    const QString settings = writeSettings(c.retryLimit);
    const QByteArray settingsBefore = fileText(settings);
    CliProgram cli;
    cli.start(withPlaceholders(c.args) + QStringList{"--settings", settings}, c.input);
    const CliResult r = cli.finish(20000);
    EXPECT_EQ(fileText(settings), settingsBefore) << "orlix6-cli never writes the settings";
    EXPECT_EQ(r.code, c.code) << r.err.toStdString();
    if (c.out) {
        EXPECT_EQ(r.out, *c.out) << r.err.toStdString();
    }
    EXPECT_TRUE(r.err.contains(withPlaceholders({c.err}).first())) << r.err.toStdString();
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
}

const QStringList kApp = kQuick + QStringList{"--firmware", "2.24"};
const QStringList kBoot = kQuick + QStringList{"--boot"};
const QStringList kSilent = kQuick + QStringList{"--fault", "silent on"};

INSTANTIATE_TEST_SUITE_P(
    Cli, CliRuns,
    ::testing::Values(
        RunCase{"PingApplication",
                kApp,
                {"ping", "--port", "LINK"},
                {},
                5,
                0,
                "application firmware V 2.24\n",
                ""},
        RunCase{"PingOnThePortOfTheSettings",
                kApp,
                {"ping"},
                {},
                5,
                0,
                "application firmware V 2.24\n",
                ""},
        RunCase{"PingBootLoader",
                kBoot,
                {"ping", "--port", "LINK"},
                {},
                5,
                5,
                "boot loader\n",
                "LINK is in its boot loader, not running its application firmware. Start"},
        RunCase{"PingBootLoaderExpected",
                kBoot,
                {"ping", "--port", "LINK", "--expect", "boot"},
                {},
                5,
                0,
                "boot loader\n",
                ""},
        RunCase{"PingSilentUnit",
                kSilent,
                {"ping", "--port", "LINK"},
                {},
                1,
                4,
                "",
                "no answer from the unit on LINK after 1 try. Make sure"},
        RunCase{"PingTimeLimit",
                kSilent,
                {"ping", "--port", "LINK", "--timeout", "1"},
                {},
                99,
                4,
                "",
                "within 1 s"},
        RunCase{"PingNoSuchDevice",
                std::nullopt,
                {"ping", "--port", "DIR/none"},
                {},
                5,
                3,
                "",
                "cannot open DIR/none: No such file or directory. Check the device"},
        RunCase{"PingBuiltInSimulator",
                std::nullopt,
                {"ping", "--simulator", "--sim-firmware", "3.10"},
                {},
                5,
                0,
                "application firmware V 3.10\n",
                ""},
        RunCase{"ReadFromTheBootLoader",
                kBoot,
                {"read", "--port", "LINK", "-o", "DIR/a.mdv"},
                {},
                5,
                5,
                "",
                "boot loader"},
        RunCase{"ReadIntoAMissingFolder",
                std::nullopt,
                {"read", "--port", "DIR/none", "-o", "DIR/no/a.mdv"},
                {},
                5,
                8,
                "",
                "cannot write DIR/no/a.mdv: the folder DIR/no does not exist. Choose"},
        RunCase{"ConsoleInAPipe",
                kApp,
                {"console", "--port", "LINK"},
                "df\nde\r\nxyz",
                5,
                0,
                "df\nV 2.24\n#\nde\nV 1.05\n#\nxyz\n?\n#\n",
                "connected to the unit on LINK"},
        RunCase{"UsageError",
                std::nullopt,
                {"read", "-o", "a.mdv", "--scan-sets", "most"},
                {},
                5,
                2,
                "",
                "--scan-sets takes all or reported, not 'most'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, ConsoleStampsLinesAndLogsWhatTheUnitSends) {
    SimProgram sim;
    ASSERT_TRUE(sim.start(m_link, kApp));
    const QString log = m_dir.filePath("session.mcl");
    CliProgram cli;
    cli.start(
        {"console", "--port", m_link, "--timestamps", "--log", log, "--settings", writeSettings(5)},
        "df\n");
    const CliResult r = cli.finish(20000);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QRegularExpression stamped(R"(^(\[\d\d:\d\d:\d\d\.\d\d\d\] (df|V 2\.24|#)\n){3}$)");
    EXPECT_TRUE(stamped.match(r.out).hasMatch()) << r.out.toStdString();
    // The log file of the comm log window: the connection's exchange too.
    const QByteArray text = fileText(log);
    EXPECT_TRUE(text.startsWith("p\r\n#\r\ndf\r\nV 2.24\r\n#")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("df\r\nV 2.24\r\n#") || text.endsWith("df\r\nV 2.24\r\n#\r\n"))
        << text.toStdString();
}

// --- a read that does not end well -------------------------------------------------

class CliReadStopped : public CliTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(CliReadStopped, LeavesNoFileBehind) {
    SimProgram sim;
    ASSERT_TRUE(sim.start(m_link, kApp));
    CliProgram cli;
    cli.start(
        {"read", "--port", m_link, "-o", m_dir.filePath("a.mdv"), "--settings", writeSettings(5)});
    // Progress into a pipe: a line per item.
    ASSERT_TRUE(waitFor([&] { return cli.errorText().contains("item 3 of 45\n"); }, 15000))
        << cli.errorText().toStdString();
    GetParam().stop(sim, cli);
    const CliResult r = cli.finish(10000);
    EXPECT_EQ(r.code, GetParam().code) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(GetParam().err)) << r.err.toStdString();
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliReadStopped,
    ::testing::Values(StopCase{"LineHungUp", simConsole("hangup"), 4, "was lost at item "},
                      StopCase{"UnitRejectsEveryLine", simConsole("reject 1"), 4,
                               "did not answer a request at item "},
                      StopCase{"Terminated", signalToCli(SIGTERM), 143,
                               "stopped by SIGTERM; the port is closed and no file was written."},
                      StopCase{"CtrlC", signalToCli(SIGINT), 130, "stopped by Ctrl-C"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the same file as the windowed tool ---------------------------------------------

QStringList fileLines(const QString& path) {
    return QString::fromUtf8(fileText(path)).split("\r\n");
}

// "d:hh:mm:ss" in seconds.
long long operatingSeconds(const QString& line) {
    const QStringList parts = line.section('"', 3, 3).split(':');
    if (parts.size() != 4) {
        return -1000;
    }
    return ((parts[0].toLongLong() * 24 + parts[1].toLongLong()) * 60 + parts[2].toLongLong()) *
               60 +
           parts[3].toLongLong();
}

// Each DAC line of a data file as "scan set|name|Value|F|P", in file order.
QStringList dacLinesOfFile(const QString& path) {
    static const QRegularExpression dac(R"re(^"([^"]*)",(-?\d+),(-?\d+),(-?\d+)$)re");
    QStringList rows;
    QString scanSet;
    for (const QString& line : fileLines(path)) {
        if (line.startsWith("\"ScanSet\",")) {
            scanSet = line.section(',', 1);
        } else if (const auto m = dac.match(line); m.hasMatch()) {
            rows << QStringList{scanSet, m.captured(1), m.captured(2), m.captured(3), m.captured(4)}
                        .join('|');
        }
    }
    return rows;
}

// The same from the JSON of show.
QStringList dacLinesOfShow(const QJsonObject& shown) {
    QStringList rows;
    for (const QJsonValue set : shown["scanSets"].toArray()) {
        for (const QJsonValue dac : set["dacs"].toArray()) {
            rows << QStringList{QString::number(set["scanSet"].toInt()), dac["name"].toString(),
                                QString::number(dac["Value"].toInt()),
                                QString::number(dac["F"].toInt()),
                                QString::number(dac["P"].toInt())}
                        .join('|');
        }
    }
    return rows;
}

TEST_F(CliTest, ReadWritesTheSameFileAsTheWindowedTool) {
    // Units built alike, read at the same time: by orlix6-cli, with and
    // without asking for the scan sets, and by the windowed tool's core
    // with "Update All Data" and "Save As".
    const QString linkCli = m_dir.filePath("unit-cli");
    const QString linkReported = m_dir.filePath("unit-reported");
    const QString linkTool = m_dir.filePath("unit-tool");
    SimProgram simCli;
    SimProgram simReported;
    SimProgram simTool;
    ASSERT_TRUE(simCli.start(linkCli, kApp));
    ASSERT_TRUE(simReported.start(linkReported, kApp));
    ASSERT_TRUE(simTool.start(linkTool, kApp));

    const QString fileCli = m_dir.filePath("cli.mdv");
    const QString fileReported = m_dir.filePath("reported.mdv");
    const QString fileTool = m_dir.filePath("tool.mdv");
    const QString settings = writeSettings(5);
    CliProgram cli;
    cli.start({"read", "--port", linkCli, "-o", fileCli, "--settings", settings});
    CliProgram cliReported;
    cliReported.start({"read", "--port", linkReported, "-o", fileReported, "--scan-sets",
                       "reported", "--settings", settings});

    platform::QtSerialPort port;
    platform::QtTimers timers;
    platform::QtClock clock;
    test::FakeSettingsStore store;
    test::FakeDialogs dialogs;
    store.set("StartUp", "RunType", "1");
    App app(Ports{port, timers, clock, store, dialogs});
    app.serial.setOverride(1, linkTool.toStdString());
    port.setHandlers([&](std::string_view b) { app.onSerialBytes(b); },
                     [&](const std::string& why) { app.onSerialPortLost(why); });
    timers.setTickHandler([&](TimerId id) { app.onTimer(id); });
    app.Main();
    ASSERT_TRUE(waitFor([&] { return app.link.OnlineMode; }, 5000));
    app.act([&] { app.frmMain.mnuMonitorUpdate_Click(); });
    ASSERT_TRUE(waitFor([&] { return app.frmMain.DataItemIndex >= kDataItemCount; }, 70000));
    ASSERT_TRUE(
        waitFor([&] { return app.xmit.XmitQueue().empty() && !app.xmit.AwaitingPrompt(); }, 3000));
    dialogs.saveChoices.push_back(FileChoice{fileTool.toStdString(), "tool.mdv"});
    app.act([&] { app.frmMain.mnuFileSaveAs_Click(); });
    timers.setTickHandler(nullptr);
    port.close();

    const CliResult r = cli.finish(20000);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "wrote " + fileCli +
                         ": model XYZ-100, serial number SN0012345, application firmware V "
                         "2.24, 6 scan sets\n");
    // The unit has four of its six scan sets, and names them.
    const CliResult reported = cliReported.finish(20000);
    ASSERT_EQ(reported.code, 0) << reported.err.toStdString();
    EXPECT_TRUE(reported.out.endsWith(", 4 scan sets\n")) << reported.out.toStdString();
    const QStringList names = fileLines(fileReported).filter("\"ScanSetName\"");
    EXPECT_EQ(names, (QStringList{
                         R"("ScanSetName","640x480 60Hz")", R"("ScanSetName","800x600 60Hz")",
                         R"("ScanSetName","1024x768 60Hz")", R"("ScanSetName","1280x1024 60Hz")"}));

    const QStringList a = fileLines(fileCli);
    const QStringList b = fileLines(fileTool);
    ASSERT_GT(a.size(), 100);
    ASSERT_EQ(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].startsWith("\"File Created: \"")) {
            EXPECT_TRUE(b[i].startsWith("\"File Created: \"")) << b[i].toStdString();
        } else if (a[i].startsWith("\"Operating Hours: \"")) {
            // The unit's clock runs on; the two reads ask it a moment apart.
            EXPECT_LE(std::abs(operatingSeconds(a[i]) - operatingSeconds(b[i])), 3)
                << a[i].toStdString() << " / " << b[i].toStdString();
        } else {
            EXPECT_EQ(a[i], b[i]) << "line " << i + 1;
        }
    }

    // show prints every value read wrote, and diff finds nothing but the
    // unit's running clock between the two files.
    const CliResult shown = test::runCli({"show", "--json", fileCli});
    ASSERT_EQ(shown.code, 0) << shown.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(shown.out.toUtf8()).object();
    EXPECT_EQ(json["identity"]["SerialNumber"].toString(), "SN0012345");
    EXPECT_EQ(json["identity"]["FirmwareVersion"].toString(), "V 2.24");
    EXPECT_EQ(json["scanSets"].toArray().size(), 6);
    const QStringList written = dacLinesOfFile(fileCli);
    EXPECT_EQ(written.size(), 6 * 28);
    EXPECT_EQ(dacLinesOfShow(json), written);

    const CliResult compared = test::runCli({"diff", fileCli, fileTool});
    EXPECT_EQ(compared.code, compared.out.isEmpty() ? 0 : 1) << compared.err.toStdString();
    for (const QString& line : compared.out.split('\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(line.startsWith("Operating Hours: ")) << line.toStdString();
    }
}

} // namespace
} // namespace orlix
