// orlix6-cli flash: downloads a firmware image into the unit's boot loader
// with the windowed tool's own download (the same check of the image, the
// same start command, one record per reply, the same retries and aborts),
// so the lines on the wire are the ones the window sends.
//
//   prepare     the whole image is read and checked before the port is
//               opened: a refused image sends nothing (exit 6)
//   connected   the boot loader must answer; the application firmware is
//               left alone (exit 5), never restarted behind the user's back
//   download    bf3 (or bs with --no-erase), then the unit's replies drive
//               the records; progress on standard error
//   --start     after the end record's EOF, "g" as "Run from BOOT MODE"
//               sends it, and the new firmware's version is awaited
//
// Ctrl-C and SIGTERM use the download's Cancel: it stops after the unit's
// reply to the line on the wire, so the unit's state is known and told. A
// second signal ends the program at once.
#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "cli/unit_session.h"
#include "core/download/download_progress.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace orlix::cli {

namespace {

const QString kNoErase = QStringLiteral("no-erase");
const QString kStart = QStringLiteral("start");
const QString kTimeout = QStringLiteral("timeout");

using StartCommand = FirmwareDownload::StartCommand;
using Outcome = FirmwareDownload::Outcome;

// The time a whole download may take: a minute to connect, the erase and
// the check after the end record (each as long as the download lets the
// unit take), every record at twice its time on a 19200 baud line (the
// queue's 100 ms pause, the record out, its echo and prompt back, 50 ms of
// the unit's own work), and the new firmware's start.
int timeLimitSeconds(const HexImage& image, bool startAfter) {
    constexpr double kCharSeconds = 10.0 / 19200.0;
    const double longWork = FirmwareDownload::kLongReplyMs / 1000.0;
    double seconds = 60.0 + 2 * longWork + (startAfter ? 30.0 : 0.0);
    for (const HexImage::Record& record : image.records) {
        const double characters = 2.0 * static_cast<double>(record.text.size() + 2) + 1.0;
        seconds += 2.0 * (0.1 + characters * kCharSeconds + 0.05);
    }
    return static_cast<int>(std::ceil(seconds));
}

std::string oneDecimalOrDash(double value, bool known) {
    return known ? oneDecimal(value) : "-";
}

class Flash : public UnitCommand {
public:
    // `timeLimit`: the seconds --timeout gave, or none for the image's own.
    Flash(std::string path, StartCommand command, bool startAfter, std::optional<int> timeLimit)
        : m_path(std::move(path)), m_command(command), m_startAfter(startAfter),
          m_timeGiven(timeLimit.has_value()), m_timeLimit(timeLimit.value_or(0)),
          m_terminal(isTerminal(stderr)), m_progress(stderr, m_terminal) {}

    std::optional<Failure> prepare(UnitSession& s) override {
        const QFileInfo file(QString::fromStdString(m_path));
        if (!file.exists() || file.isDir() || !file.isReadable()) {
            const char* why = !file.exists() ? "it does not exist"
                              : file.isDir() ? "it is a folder"
                                             : "it is not readable";
            return Failure{ExitCode::FileError,
                           "cannot read " + m_path + ": " + why +
                               ". Give the firmware image (.hex) to download."};
        }
        m_name = file.fileName().toStdString();
        FirmwareDownload& download = s.app().download;
        const HexImageCheck check = download.prepare(m_path, m_name);
        if (!check.ok) {
            return Failure{ExitCode::ImageRefused,
                           m_path + " cannot be downloaded: " + check.describe() +
                               ". Nothing was sent to the unit; give a sound Intel HEX image."};
        }
        const HexImage& image = *download.image();
        m_records = static_cast<std::int32_t>(image.recordCount());
        m_bytes = image.dataBytes;
        if (!m_timeGiven) {
            m_timeLimit = timeLimitSeconds(image, m_startAfter);
            s.setTimeLimit(m_timeLimit);
        }
        writeErr(m_name + ": " + std::to_string(m_records) + " records, " +
                 std::to_string(m_bytes) + " data bytes, checked\n");
        return std::nullopt;
    }

    void connected(UnitSession& s) override {
        if (s.app().link.OnlineMode) {
            s.finish(ExitCode::WrongMode,
                     "the unit on " + s.device() +
                         " runs its application firmware; a download needs its boot loader. "
                         "Nothing was sent. Restart the unit into its boot loader (orlix6-cli "
                         "ping --expect boot tells when it answers), then run flash again.");
            return;
        }
        // The download's own messages speak of the window's menus; this
        // command says the outcome itself.
        s.dialogs().hold();
        m_startMs = s.clock().nowMs();
        bool started = false;
        s.act([&] { started = s.app().download.start(m_command); });
        if (!started) {
            finishStopped(s, "the download did not start");
            return;
        }
        m_progress.show(m_command == StartCommand::Erase
                            ? "erasing the flash (bf3, up to 30 s) ..."
                            : "waiting for the boot loader's go-ahead (bs) ...");
    }

    void afterEvent(UnitSession& s) override {
        FirmwareDownload& download = s.app().download;
        if (m_phase == Phase::Download) {
            if (download.busy()) {
                showProgress(s);
            } else if (download.outcome() == Outcome::Done) {
                downloaded(s);
            } else {
                finishStopped(s, stopReason(s));
            }
            return;
        }
        // Waiting for the new firmware after "g".
        if (!s.linkUp()) {
            s.finish(ExitCode::NoAnswer, m_name +
                                             " is in the unit's flash, but the line was lost "
                                             "after g (" +
                                             s.linkLostReason() + "). Check with orlix6-cli ping.");
        } else if (s.linkIdle() && s.app().link.OnlineMode) {
            writeOut(s.firmwareText() + "\n");
            s.finish(ExitCode::Ok);
        } else if (s.linkIdle()) {
            s.finish(ExitCode::WrongMode,
                     m_name + " is in the unit's flash, but after g the unit stayed in its boot "
                              "loader. Check the image, then run flash again.");
        }
    }

    void timedOut(UnitSession& s) override {
        if (m_phase == Phase::NewFirmware) {
            s.finish(ExitCode::NoAnswer, m_name +
                                             " is in the unit's flash, but the new firmware did "
                                             "not answer in time after g. Check with "
                                             "orlix6-cli ping.");
            return;
        }
        // The line on the wire is given up; the port closes with the run.
        s.app().download.abort("time is up");
        finishStopped(s, "the time allowed, " + std::to_string(m_timeLimit) +
                             " s, ran out (allow more with --timeout)");
    }

    bool interrupted(UnitSession& s, int signalNumber) override {
        FirmwareDownload& download = s.app().download;
        if (m_phase != Phase::Download || !download.busy()) {
            return true;
        }
        m_signal = signalNumber;
        s.act([&download] { download.btnCancel_Click(); });
        m_progress.done();
        writeErr(SignalWatch::describe(signalNumber) + ": stopping after the unit's reply to " +
                 onTheWire(s) + " (again to stop at once) ...\n");
        return false;
    }

    std::string stoppedNote() const override {
        if (m_phase == Phase::NewFirmware) {
            return "and the download had completed: " + m_name +
                   " is in the unit's flash (the new firmware may not have started)";
        }
        return {};
    }

    void finishing(UnitSession& s) override {
        m_progress.done();
        s.dialogs().release(false);
    }

private:
    enum class Phase { Download, NewFirmware };

    // Records begun: the download counts them from 1; its start set 0.
    static bool recordsBegun(UnitSession& s) { return s.app().download.DownloadRecordCount > 0; }

    std::string onTheWire(UnitSession& s) const {
        const std::int32_t record = s.app().download.DownloadRecordCount;
        if (!recordsBegun(s)) {
            return m_command == StartCommand::Erase ? "bf3" : "bs";
        }
        return "record " + std::to_string(record) + " of " + std::to_string(m_records);
    }

    void showProgress(UnitSession& s) {
        const FirmwareDownload& download = s.app().download;
        if (!download.DownloadActive) {
            return; // the start command is on the wire
        }
        const std::int64_t now = s.clock().nowMs();
        if (!m_recordsBegun) {
            m_recordsBegun = true;
            m_recordsStartMs = now;
        }
        if (download.RecordRetries > m_recordRetries) {
            m_retries += download.RecordRetries - m_recordRetries;
        }
        m_recordRetries = download.RecordRetries;

        // The figures change with a reply, not in between. Into a pipe a
        // line per tenth; the 100% line waits for the unit's EOF.
        const double percent = s.app().downloadView.Gauge1;
        const std::int32_t record = download.DownloadRecordCount;
        const int decile = std::min(9, static_cast<int>(percent / 10));
        if (m_terminal ? record == m_recordShown && m_retries == m_retriesShown
                       : decile <= m_decileShown) {
            return;
        }
        m_recordShown = record;
        m_retriesShown = m_retries;
        m_decileShown = decile;
        m_progress.show(progressText(percent, record, record - 1, now));
    }

    // "[#######.........] 45.5% record 10 of 22, 6.2 records/s, 0:02 left, 0 retries"
    // on a terminal; without the bar and in whole percents into a pipe.
    std::string progressText(double percent, std::int32_t record, std::int32_t confirmed,
                             std::int64_t nowMs) const {
        const double seconds = static_cast<double>(nowMs - m_recordsStartMs) / 1000.0;
        const bool known = seconds > 0 && confirmed > 0;
        const double rate = known ? confirmed / seconds : 0.0;
        const std::string left =
            known ? minutesAndSeconds(std::llround((m_records - confirmed) / rate)) : "-:--";
        const std::string figures =
            "record " + std::to_string(record) + " of " + std::to_string(m_records) + ", " +
            oneDecimalOrDash(rate, known) + " records/s, " + left + " left, " +
            std::to_string(m_retries) + (m_retries == 1 ? " retry" : " retries");
        if (!m_terminal) {
            return std::to_string(static_cast<int>(percent)) + "% " + figures;
        }
        constexpr int kBar = 16;
        const int filled = std::clamp(static_cast<int>(percent * kBar / 100), 0, kBar);
        return "[" + std::string(filled, '#') + std::string(kBar - filled, '.') + "] " +
               oneDecimal(percent) + "% " + figures;
    }

    void downloaded(UnitSession& s) {
        const std::int64_t now = s.clock().nowMs();
        m_progress.show(progressText(100, m_records, m_records, now));
        m_progress.done();
        writeOut("flashed " + m_name + ": " + std::to_string(m_records) + " records, " +
                 std::to_string(m_bytes) + " bytes in " +
                 minutesAndSeconds((now - m_startMs) / 1000) + "\n");
        if (m_signal != 0) {
            s.finish(signalExitCode(m_signal),
                     "stopped by " + SignalWatch::describe(m_signal) +
                         " after the download completed; the port is closed. " + m_name +
                         " is in the unit's flash; the new firmware was not started.");
            return;
        }
        if (!m_startAfter) {
            s.finish(ExitCode::Ok);
            return;
        }
        m_phase = Phase::NewFirmware;
        // As Monitor, "Run from BOOT MODE" does; the application's '#'
        // brings the link online and its version is asked for.
        s.act([&s] { s.app().frmMain.mnuMonitorRun_Click(); });
    }

    std::string stopReason(UnitSession& s) const {
        if (!s.linkUp()) {
            return "the line to the unit on " + s.device() + " was lost (" + s.linkLostReason() +
                   ")";
        }
        std::string status = s.app().downloadView.lblStatus;
        if (status.starts_with("Stopped: ")) {
            status.erase(0, 9);
        }
        while (!status.empty() && status.back() == '.') {
            status.pop_back();
        }
        return status;
    }

    // Where the unit is left and how to try again.
    std::string whereTheUnitIsLeft(UnitSession& s) const {
        std::string where;
        if (recordsBegun(s)) {
            where = "The download stopped at " + onTheWire(s) +
                    "; the unit is most likely in its boot loader with part of " + m_name +
                    " in its flash, and cannot start its firmware until a download completes.";
        } else if (m_command == StartCommand::Erase) {
            where = "No record was sent; the unit is most likely in its boot loader. If the erase "
                    "went ahead, its flash is empty and it cannot start its firmware until a "
                    "download completes.";
        } else {
            where = "No record was sent; the unit's flash is as it was before bs.";
        }
        return where +
               " To retry: once orlix6-cli ping --expect boot finds the boot loader, "
               "run flash again" +
               (m_command == StartCommand::ErasedFlash
                    ? " without --no-erase, so that the flash is erased first."
                    : " (it erases the flash first).");
    }

    void finishStopped(UnitSession& s, const std::string& reason) {
        m_progress.done();
        const std::string where = whereTheUnitIsLeft(s);
        if (m_signal != 0) {
            s.finish(signalExitCode(m_signal), "stopped by " + SignalWatch::describe(m_signal) +
                                                   "; the port is closed. " + where);
            return;
        }
        s.finish(ExitCode::DownloadFailed,
                 "the download of " + m_name + " failed: " + reason + ". " + where);
    }

    std::string m_path;
    StartCommand m_command;
    bool m_startAfter;
    bool m_timeGiven;
    int m_timeLimit;
    bool m_terminal;
    Progress m_progress;
    std::string m_name;
    std::int32_t m_records = 0;
    std::uint32_t m_bytes = 0;
    Phase m_phase = Phase::Download;
    std::int64_t m_startMs = 0;
    std::int64_t m_recordsStartMs = 0;
    bool m_recordsBegun = false;
    int m_recordRetries = 0; // the download's count for the record on the wire
    int m_retries = 0;       // all of them
    std::int32_t m_recordShown = 0;
    int m_retriesShown = 0;
    int m_decileShown = -1;
    int m_signal = 0; // a stop was asked for by this signal
};

void addOptions(QCommandLineParser& parser) {
    parser.addOption({kNoErase, "Download into flash erased before (bs) instead of erasing it "
                                "first (bf3)."});
    parser.addOption(
        {kStart, "Start the new firmware after the download (g, as \"Run from BOOT MODE\") and "
                 "print its version as ping does."});
}

QString validate(const Invocation& invocation) {
    return expectArguments(invocation, 1, "one firmware image: flash IMAGE.hex");
}

std::unique_ptr<UnitCommand> make(const Invocation& invocation) {
    return std::make_unique<Flash>(
        invocation.arguments.first().toStdString(),
        invocation.isSet(kNoErase) ? StartCommand::ErasedFlash : StartCommand::Erase,
        invocation.isSet(kStart),
        invocation.isSet(kTimeout) ? std::optional<int>(invocation.timeoutSeconds) : std::nullopt);
}

} // namespace

CommandEntry flashCommand() {
    return {"flash",
            "IMAGE.hex",
            "download a firmware image into the unit's boot loader",
            "Checks the whole Intel HEX image first (a refused image: exit 6, nothing is "
            "sent), then, with the unit in its boot loader (the application answering: exit "
            "5), erases the flash (bf3, up to 30 s; --no-erase: bs) and downloads the image "
            "one record per reply, as the windowed tool's Download Firmware does. Progress "
            "goes to standard error: a bar on a terminal (percent, record of all, rate, time "
            "left, retries), a line per tenth into a pipe. At the end standard output says "
            "\"flashed IMAGE.hex: N records, B bytes in m:ss\" and, with --start, the new "
            "firmware's version. A download that fails part-way (retry limit, line lost, no "
            "answer) gives exit 7 and says at which record it stopped.\n"
            "Ctrl-C or SIGTERM stops after the unit's reply to the record on the line and says "
            "the unit's state; a second one ends at once.\n"
            "Default --timeout: twice the image's time at 19200 baud, plus 2 minutes for the "
            "connection, the erase and the unit's check after the last record (30 s more with "
            "--start).",
            0,
            addOptions,
            validate,
            nullptr,
            make};
}

} // namespace orlix::cli
