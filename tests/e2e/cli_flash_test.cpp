// orlix6-cli flash against orlix6-sim on a pseudo-terminal: what it
// prints, its exit code, and the command lines the unit received, which
// must be exactly the download's own (nothing at all for a refused image,
// no erase for a unit running its application).
#include "support/hex_images.h"
#include "windows_support/cli_program.h"
#include "windows_support/cli_stops.h"
#include "windows_support/sim_process.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
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

// The image's records stand for themselves in an expected wire.
const QString kRecords = QStringLiteral("RECORDS");

class CliFlashTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(QStringLiteral(ORLIX6_CLI_BIN)).isExecutable()) << ORLIX6_CLI_BIN;
        m_link = m_dir.filePath("unit");
    }

    // The sim prints every command line it receives ("<- bf3").
    bool startSim(const QStringList& options) {
        return m_sim.start(m_link, QStringList{"--no-wire-rate"} + options);
    }

    // An image of `dataRecords` records whose data carries "V 3.10".
    QString writeImage(const QString& name, int dataRecords, int damagedLine = 0) {
        m_records = test::firmwareRecords(dataRecords, "3.10");
        auto records = m_records;
        if (damagedLine > 0) {
            std::string& line = records[static_cast<std::size_t>(damagedLine - 1)];
            line.back() = line.back() == '0' ? '1' : '0'; // the checksum is off
        }
        const std::string text = test::joined(records);
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }

    // The options of every run: the settings of this test alone (none).
    QStringList run(const QStringList& args) const {
        return args + QStringList{"--port", m_link, "--settings", m_dir.filePath("settings.ini")};
    }

    // The command lines the unit has received so far.
    QStringList wire() {
        m_simOut += QString::fromUtf8(m_sim.readAllStandardOutput());
        QStringList lines;
        static const QRegularExpression received(QStringLiteral("^orlix6-sim: <- (.*)$"),
                                                 QRegularExpression::MultilineOption);
        for (auto it = received.globalMatch(m_simOut); it.hasNext();) {
            lines << it.next().captured(1);
        }
        return lines;
    }

    QStringList expanded(const QStringList& expected) const {
        QStringList lines;
        for (const QString& line : expected) {
            if (line != kRecords) {
                lines << line;
                continue;
            }
            for (const std::string& record : m_records) {
                lines << QString::fromStdString(record);
            }
        }
        return lines;
    }

    // The wire once its last expected line is in (the sim prints as it reads).
    QStringList wireEndingWith(const QStringList& expected) {
        waitFor([&] { return expected.isEmpty() || wire().endsWith(expected.back()); }, 2000);
        return wire();
    }

    QTemporaryDir m_dir;
    QString m_link;
    SimProgram m_sim;
    QString m_simOut;
    std::vector<std::string> m_records;
};

// --- one run each, by a table ---------------------------------------------------

struct FlashCase {
    const char* name;
    QStringList sim;  // orlix6-sim's options
    QStringList args; // IMAGE: the image's path
    int damagedLine;  // 0: a sound image
    int code;
    QString out; // a pattern for all of standard output
    QString err; // a part of standard error
    QStringList wire;
    bool thenPing; // a ping afterwards finds the new firmware
};

void PrintTo(const FlashCase& c, std::ostream* os) {
    *os << c.name;
}

class CliFlashRuns : public CliFlashTest, public ::testing::WithParamInterface<FlashCase> {};

TEST_P(CliFlashRuns, PrintSendAndExitAsDocumented) {
    const FlashCase& c = GetParam();
    ASSERT_TRUE(startSim(c.sim));
    const QString image =
        writeImage(c.damagedLine > 0 ? "bad.hex" : "fw310.hex", 20, c.damagedLine);
    QStringList args = c.args;
    args.replaceInStrings("IMAGE", image);
    CliProgram cli;
    cli.start(run(args));
    const CliResult r = cli.finish(20000);

    EXPECT_EQ(r.code, c.code) << r.err.toStdString();
    EXPECT_TRUE(QRegularExpression("^" + c.out + "$").match(r.out).hasMatch())
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains('\r')) << "a pipe gets plain lines";
    // Into a pipe: a line per tenth of the image at most, ending at 100%.
    const QStringList progress = r.err.split('\n').filter(QRegularExpression("^\\d+% record "));
    if (c.code == 0) {
        EXPECT_LE(progress.size(), 11);
        ASSERT_FALSE(progress.isEmpty());
        EXPECT_TRUE(progress.back().startsWith("100% record 22 of 22, ")) << r.err.toStdString();
    }
    const QStringList expected = expanded(c.wire);
    EXPECT_EQ(wireEndingWith(expected), expected);

    if (c.thenPing) {
        const CliResult ping = test::runCli(run({"ping"}));
        EXPECT_EQ(ping.code, 0) << ping.err.toStdString();
        EXPECT_EQ(ping.out, "application firmware V 3.10\n");
    }
}

const QStringList kBoot{"--boot"};

INSTANTIATE_TEST_SUITE_P(
    Cli, CliFlashRuns,
    ::testing::Values(
        FlashCase{"DownloadsAndStartsTheNewFirmware",
                  kBoot,
                  {"flash", "IMAGE", "--start"},
                  0,
                  0,
                  "flashed fw310\\.hex: 22 records, 320 bytes in 0:0\\d\\n"
                  "application firmware V 3\\.10\\n",
                  "fw310.hex: 22 records, 320 data bytes, checked\nerasing the flash",
                  {"p", "bf3", kRecords, "g", "df"},
                  true},
        FlashCase{"WithoutStartTheBootLoaderStays",
                  kBoot,
                  {"flash", "IMAGE"},
                  0,
                  0,
                  "flashed fw310\\.hex: 22 records, 320 bytes in 0:0\\d\\n",
                  "",
                  {"p", "bf3", kRecords},
                  false},
        FlashCase{"ApplicationAnsweringIsLeftAlone",
                  {"--firmware", "2.24"},
                  {"flash", "IMAGE"},
                  0,
                  5,
                  "",
                  "runs its application firmware; a download needs its boot loader. Nothing "
                  "was sent. Restart the unit into its boot loader",
                  {"p"},
                  false},
        FlashCase{"RefusedImageSendsNothing",
                  kBoot,
                  {"flash", "IMAGE"},
                  3,
                  6,
                  "",
                  "bad.hex cannot be downloaded: line 3: the checksum",
                  {},
                  false},
        FlashCase{"NoEraseIntoFlashNotErased",
                  kBoot,
                  {"flash", "IMAGE", "--no-erase"},
                  0,
                  7,
                  "",
                  "failed: Bad response to bs command. No record was sent; the unit's flash is "
                  "as it was before bs. To retry",
                  {"p", "bs"},
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- stopped part-way ------------------------------------------------------------

class CliFlashStopped : public CliFlashTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(CliFlashStopped, SaysWhereTheUnitIsLeft) {
    ASSERT_TRUE(startSim(kBoot));
    const QString image = writeImage("fw310.hex", 60);
    CliProgram cli;
    cli.start(run({"flash", image}));
    // Past the first tenth of the records.
    ASSERT_TRUE(waitFor(
        [&] { return cli.errorText().contains(QRegularExpression("\n[1-9]\\d% ")); }, 15000))
        << cli.errorText().toStdString();
    GetParam().stop(m_sim, cli);
    const CliResult r = cli.finish(10000);
    EXPECT_EQ(r.code, GetParam().code) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(GetParam().err)) << r.err.toStdString();
    const auto at = QRegularExpression("The download stopped at record (\\d+) of 62; the unit is "
                                       "most likely in its boot loader")
                        .match(r.err);
    ASSERT_TRUE(at.hasMatch()) << r.err.toStdString();
    const int record = at.captured(1).toInt();
    EXPECT_GT(record, 6);
    EXPECT_LT(record, 62);
    EXPECT_TRUE(r.err.contains("To retry: ")) << r.err.toStdString();
    if (GetParam().code != 7) {
        // Stopped after the unit's reply to that record: it got exactly
        // that many, and nothing after them.
        waitFor([&] { return wire().size() >= 2 + record; }, 2000);
        const QStringList lines = wire();
        ASSERT_EQ(lines.size(), 2 + record) << lines.join('\n').toStdString();
        EXPECT_EQ(lines.back(), QString::fromStdString(m_records[std::size_t(record - 1)]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliFlashStopped,
    ::testing::Values(StopCase{"LineHungUp", simConsole("hangup"), 7,
                               "the download of fw310.hex failed: the line to the unit on "},
                      StopCase{"CtrlC", signalToCli(SIGINT), 130,
                               "Ctrl-C: stopping after the unit's reply to record "}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orlix
