// orlix6-cli as a script runs it: the program against orlix6-sim on a
// pseudo-terminal (or against its built-in simulated display), checked by
// its standard output, its messages, its exit code and, for flash, the
// command lines the unit received: exactly the download's own, nothing at
// all for a refused image, no erase for a unit running its application.
#include "support/hex_images.h"
#include "windows_support/cli_program.h"
#include "windows_support/sim_process.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>

namespace orlix {
namespace {

using test::CliProgram;
using test::CliResult;
using test::fileText;
using test::SimProgram;
using test::waitFor;

// The image's records stand for themselves in an expected wire.
const QString kRecords = QStringLiteral("RECORDS");

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(QStringLiteral(ORLIX6_CLI_BIN)).isExecutable()) << ORLIX6_CLI_BIN;
        m_link = m_dir.filePath("unit");
    }

    // orlix6-sim answering at once; it prints every command line it receives ("<- bf3").
    bool startSim(const QStringList& options) {
        return m_sim.start(m_link, QStringList{"--no-wire-rate"} + options);
    }

    // Settings of this test alone: the tool last used Com2, which is the
    // simulated unit; no other port leads anywhere. No first run has been
    // marked, so the load step wants to write the settings.
    QString writeSettings(int retryLimit = 5) {
        QString text = QStringLiteral("[Configs]\nCommPort=2\nConnectRetryLimit=%1\n[Ports]\n")
                           .arg(retryLimit);
        for (int n = 1; n <= 8; ++n) {
            text += QStringLiteral("Com%1=%2\n").arg(n).arg(n == 2 ? m_link : "/nonexistent/com");
        }
        test::writeFile(m_dir.filePath("settings.ini"), text.toStdString());
        return m_dir.filePath("settings.ini");
    }

    // DIR/fw310.hex: `dataRecords` records carrying "V 3.10"; the damaged
    // line's checksum is off.
    void writeImage(int dataRecords, int damagedLine = 0) {
        m_records = test::firmwareRecords(dataRecords, "3.10");
        auto records = m_records;
        if (damagedLine > 0) {
            std::string& line = records[std::size_t(damagedLine - 1)];
            line.back() = line.back() == '0' ? '1' : '0';
        }
        test::writeFile(m_dir.filePath("fw310.hex"), test::joined(records));
    }

    // LINK: the unit's pty, DIR: the test's folder, IMAGE: the image.
    QStringList expand(QStringList args) const {
        for (QString& arg : args) {
            arg.replace("LINK", m_link)
                .replace("IMAGE", m_dir.filePath("fw310.hex"))
                .replace("DIR", m_dir.path());
        }
        return args;
    }

    // The files the test's folder holds besides the settings, link and image.
    QStringList leftovers() const {
        QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        for (const char* known : {"settings.ini", "unit", "fw310.hex"}) {
            files.removeAll(known);
        }
        return files;
    }

    // The command lines the unit has received so far.
    QStringList wire() {
        m_simOut += QString::fromUtf8(m_sim.readAllStandardOutput());
        static const QRegularExpression received(QStringLiteral("^orlix6-sim: <- (.*)$"),
                                                 QRegularExpression::MultilineOption);
        QStringList lines;
        for (auto it = received.globalMatch(m_simOut); it.hasNext();) {
            lines << it.next().captured(1);
        }
        return lines;
    }

    QTemporaryDir m_dir;
    QString m_link;
    SimProgram m_sim;
    QString m_simOut;
    std::vector<std::string> m_records;
};

// --- runs that end by themselves, by a table ----------------------------------------

// "a b c": {"a", "b", "c"}.
QStringList words(const char* text) {
    return QString(text).split(' ', Qt::SkipEmptyParts);
}

struct RunCase {
    const char* name;
    QStringList sim; // orlix6-sim's options; none: no unit
    const char* args;
    int code;
    QString out;                // a pattern for all of standard output
    QString err = {};           // a part of standard error
    const char* wire = nullptr; // the lines the unit received; RECORDS: the image's
    int retryLimit = 5;
    int damagedLine = 0; // of the image; 0: a sound one
};

// The case's name in test listings, not its bytes.
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class CliRuns : public CliTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(CliRuns, PrintSendAndExitAsDocumented) {
    const RunCase& c = GetParam();
    if (!c.sim.isEmpty()) {
        ASSERT_TRUE(startSim(c.sim)) << ORLIX6_SIM_BIN;
    }
    writeImage(20, c.damagedLine);
    const QString settings = writeSettings(c.retryLimit);
    const std::string settingsBefore = fileText(settings);
    CliProgram cli;
    cli.start(expand(words(c.args)) + QStringList{"--settings", settings});
    const CliResult r = cli.finish(20000);

    EXPECT_EQ(r.code, c.code) << r.err.toStdString();
    EXPECT_TRUE(
        QRegularExpression(QRegularExpression::anchoredPattern(c.out)).match(r.out).hasMatch())
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(expand({c.err}).first())) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains('\r')) << "a pipe gets plain lines";
    EXPECT_EQ(fileText(settings), settingsBefore) << "orlix6-cli never writes the settings";
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    if (c.wire) {
        QStringList expected;
        for (const QString& line : words(c.wire)) {
            if (line != kRecords) {
                expected << line;
                continue;
            }
            for (const std::string& record : m_records) {
                expected << QString::fromStdString(record);
            }
        }
        // The sim prints each line as it reads it.
        waitFor([&] { return expected.isEmpty() || wire().endsWith(expected.back()); }, 2000);
        EXPECT_EQ(wire(), expected);
    }
    if (QString(c.args).startsWith("flash") && c.code == 0) {
        // Into a pipe: a line per tenth of the image at most, ending at 100%.
        const QStringList progress = r.err.split('\n').filter(QRegularExpression("^\\d+% record "));
        EXPECT_LE(progress.size(), 11);
        ASSERT_FALSE(progress.isEmpty());
        EXPECT_TRUE(progress.back().startsWith("100% record 22 of 22, ")) << r.err.toStdString();
        // A ping afterwards finds what the flash left running.
        const QString running = r.out.section('\n', 1);
        const CliResult ping =
            test::runCli({"ping", "--port", m_link, "--settings", m_dir.filePath("none.ini")});
        EXPECT_EQ(ping.out, running.isEmpty() ? "boot loader\n" : running);
    }
}

const QStringList kApp{"--firmware", "2.24"};
const QStringList kBoot{"--boot"};
const QStringList kSilent{"--fault", "silent on"};
const QStringList kNoUnit{};

INSTANTIATE_TEST_SUITE_P(
    Cli, CliRuns,
    ::testing::Values(
        RunCase{"PingOnThePortOfTheSettings", kApp, "ping", 0, "application firmware V 2\\.24\n"},
        RunCase{"PingBootLoader", kBoot, "ping --port LINK", 5, "boot loader\n",
                "LINK is in its boot loader, not running its application firmware. Start"},
        RunCase{"PingBootLoaderExpected", kBoot, "ping --port LINK --expect boot", 0,
                "boot loader\n"},
        RunCase{"PingSilentUnit", kSilent, "ping --port LINK", 4, "",
                "no answer from the unit on LINK after 1 try. Make sure", nullptr, 1},
        RunCase{"PingTimeLimit", kSilent, "ping --port LINK --timeout 1", 4, "", "within 1 s",
                nullptr, 99},
        RunCase{"PingNoSuchDevice", kNoUnit, "ping --port DIR/none", 3, "",
                "cannot open DIR/none: No such file or directory. Check the device"},
        RunCase{"PingBuiltInSimulator", kNoUnit, "ping --simulator --sim-firmware 3.10", 0,
                "application firmware V 3\\.10\n"},
        RunCase{"ReadFromTheBootLoader", kBoot, "read --port LINK -o DIR/a.mdv", 5, "",
                "boot loader"},
        RunCase{"ReadIntoAMissingFolder", kNoUnit, "read --port DIR/none -o DIR/no/a.mdv", 8, "",
                "cannot write DIR/no/a.mdv: the folder DIR/no does not exist. Choose"},
        RunCase{"UsageError", kNoUnit, "read -o a.mdv --scan-sets most", 2, "",
                "--scan-sets takes all or reported, not 'most'"},
        RunCase{"FlashAndStartTheNewFirmware", kBoot, "flash --port LINK IMAGE --start", 0,
                "flashed fw310\\.hex: 22 records, 320 bytes in 0:0\\d\\n"
                "application firmware V 3\\.10\\n",
                "fw310.hex: 22 records, 320 data bytes, checked\nerasing the flash",
                "p bf3 RECORDS g df"},
        RunCase{"FlashWithoutStartTheBootLoaderStays", kBoot, "flash --port LINK IMAGE", 0,
                "flashed fw310\\.hex: 22 records, 320 bytes in 0:0\\d\\n", "", "p bf3 RECORDS"},
        RunCase{"FlashLeavesTheApplicationAlone", kApp, "flash --port LINK IMAGE", 5, "",
                "runs its application firmware; a download needs its boot loader. Nothing was "
                "sent. Restart the unit into its boot loader",
                "p"},
        RunCase{"FlashOfARefusedImageSendsNothing", kBoot, "flash --port LINK IMAGE", 6, "",
                "fw310.hex cannot be downloaded: line 3: the checksum", "", 5, 3},
        RunCase{"FlashWithNoEraseIntoAFlashNotErased", kBoot, "flash --port LINK IMAGE --no-erase",
                7, "",
                "failed: Bad response to bs command. No record was sent; the unit's flash is as "
                "it was before bs. To retry",
                "p bs"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, ConsoleInAPipeStampsLinesAndLogsWhatTheUnitSends) {
    ASSERT_TRUE(startSim(kApp));
    const QString log = m_dir.filePath("session.mcl");
    CliProgram cli;
    cli.start(
        {"console", "--port", m_link, "--timestamps", "--log", log, "--settings", writeSettings()},
        "df\nde\r\nxyz");
    const CliResult r = cli.finish(20000);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("connected to the unit on " + m_link)) << r.err.toStdString();
    // Any line end of the input ends a command, and so does the input's end.
    static const QRegularExpression stamp(R"(^\[\d\d:\d\d:\d\d\.\d\d\d\] )",
                                          QRegularExpression::MultilineOption);
    EXPECT_EQ(r.out.count(stamp), 9) << r.out.toStdString();
    EXPECT_EQ(QString(r.out).remove(stamp), "df\nV 2.24\n#\nde\nV 1.05\n#\nxyz\n?\n#\n");
    // The log file of the comm log window: the connection's exchange too.
    const std::string text = fileText(log);
    EXPECT_TRUE(text.starts_with("p\r\n#\r\ndf\r\nV 2.24\r\n#")) << text;
    EXPECT_NE(text.find("xyz\r\n?\r\n#"), std::string::npos) << text;
}

// --- runs stopped part-way ----------------------------------------------------------

struct StopCase {
    const char* name;
    QStringList sim;
    QStringList args;
    const char* after;   // a pattern of standard error the stop waits for
    const char* console; // the stop: a command on the unit's console ("hangup"),
    int signal;          // or else a signal to orlix6-cli
    int code;
    QString err;
};

void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.name;
}

class CliStopped : public CliTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(CliStopped, SaysWhatItLeavesAndLeavesNoFile) {
    const StopCase& c = GetParam();
    ASSERT_TRUE(startSim(c.sim));
    writeImage(60);
    CliProgram cli;
    cli.start(expand(c.args) + QStringList{"--settings", writeSettings()});
    const QRegularExpression after(c.after);
    ASSERT_TRUE(waitFor([&] { return cli.errorText().contains(after); }, 15000))
        << cli.errorText().toStdString();
    if (c.console) {
        m_sim.console(c.console);
    } else {
        ::kill(pid_t(cli.processId()), c.signal);
    }
    const CliResult r = cli.finish(10000);
    EXPECT_EQ(r.code, c.code) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    if (c.args.first() != "flash") {
        return;
    }
    const auto at = QRegularExpression("The download stopped at record (\\d+) of 62; the unit is "
                                       "most likely in its boot loader.* To retry: ",
                                       QRegularExpression::DotMatchesEverythingOption)
                        .match(r.err);
    ASSERT_TRUE(at.hasMatch()) << r.err.toStdString();
    const int record = at.captured(1).toInt();
    EXPECT_GT(record, 6);
    EXPECT_LT(record, 62);
    if (c.code == 130) {
        // Stopped after the unit's reply to that record: it got exactly
        // that many, and nothing after them.
        waitFor([&] { return wire().size() >= 2 + record; }, 2000);
        const QStringList lines = wire();
        ASSERT_EQ(lines.size(), 2 + record) << lines.join('\n').toStdString();
        EXPECT_EQ(lines.back(), QString::fromStdString(m_records[std::size_t(record - 1)]));
    }
}

const QStringList kRead{"read", "--port", "LINK", "-o", "DIR/a.mdv"};
const QStringList kFlash{"flash", "--port", "LINK", "IMAGE"};
// Progress into a pipe: a line per item of a read, per tenth of a download.
const char* const kItem3 = "item 3 of 45\n";
const char* const kTenth = "\n[1-9]\\d% ";

INSTANTIATE_TEST_SUITE_P(
    Cli, CliStopped,
    ::testing::Values(StopCase{"ReadLineHungUp", kApp, kRead, kItem3, "hangup", 0, 4,
                               "was lost at item "},
                      StopCase{"ReadUnitRejectsEveryLine", kApp, kRead, kItem3, "reject 1", 0, 4,
                               "did not answer a request at item "},
                      StopCase{"ReadTerminated", kApp, kRead, kItem3, nullptr, SIGTERM, 143,
                               "stopped by SIGTERM; the port is closed and no file was written."},
                      StopCase{"FlashLineHungUp", kBoot, kFlash, kTenth, "hangup", 0, 7,
                               "the download of fw310.hex failed: the line to the unit on "},
                      StopCase{"FlashCtrlC", kBoot, kFlash, kTenth, nullptr, SIGINT, 130,
                               "Ctrl-C: stopping after the unit's reply to record "}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orlix
