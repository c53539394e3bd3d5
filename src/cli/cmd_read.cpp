// orlix6-cli read: connects, walks the data set once with the windowed
// tool's own walk ("Update All Data": one item a second, 45 items), then
// writes the .mdv file with the windowed tool's own writer, through a
// temporary file that replaces the target only when it is complete.
//
// The walk would cycle for ever; the read stops its timer once the last
// item has been asked for and writes when that item's answer is in.
//
// The walk does not ask which scan sets the unit has, so after it the
// writer carries all of them, as the windowed tool does. With
// --scan-sets reported the read asks the unit ("ddn") once the walk is
// done, and the file carries the scan sets the unit reports, by name.
#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "cli/unit_session.h"
#include "core/data/mdv_writer.h"
#include "core/protocol/data_request_table.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace orlix::cli {

namespace {

const QString kOutput = QStringLiteral("output");
const QString kScanSets = QStringLiteral("scan-sets");

// Why the data file cannot be written there, found before the walk so that
// nobody waits a minute to hear it; empty when it looks writable.
std::string unwritableReason(const QString& path) {
    const QFileInfo target(path);
    if (target.isDir()) {
        return "it is a folder";
    }
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) {
        return "the folder " + QDir::toNativeSeparators(folder.filePath()).toStdString() +
               " does not exist";
    }
    if (!folder.isWritable()) {
        return "the folder " + QDir::toNativeSeparators(folder.filePath()).toStdString() +
               " is not writable";
    }
    return {};
}

class Read : public UnitCommand {
public:
    Read(std::string path, bool reportedScanSets)
        : m_path(std::move(path)), m_reportedScanSets(reportedScanSets),
          m_progress(stderr, isTerminal(stderr)) {}

    std::optional<Failure> prepare(UnitSession&) override {
        if (const auto why = unwritableReason(QString::fromStdString(m_path)); !why.empty()) {
            return Failure{ExitCode::FileError, "cannot write " + m_path + ": " + why +
                                                    ". Choose another file with -o."};
        }
        return std::nullopt;
    }

    void connected(UnitSession& s) override {
        if (s.app().link.BootMode) {
            s.finish(ExitCode::WrongMode, s.bootLoaderText());
            return;
        }
        m_givenUpBefore = s.app().xmit.linesGivenUp();
        s.act([&s] { s.app().frmMain.mnuMonitorUpdate_Click(); });
        showItem(1);
    }

    void afterEvent(UnitSession& s) override {
        if (!s.app().link.OnlineMode) {
            m_progress.done();
            s.finish(ExitCode::NoAnswer, "the line to the unit on " + s.device() +
                                             " was lost at item " + std::to_string(m_item) +
                                             " of " + std::to_string(kDataItemCount) + " (" +
                                             s.linkLostReason() +
                                             "); no file was written. Check the cable and the "
                                             "unit's power, then run read again.");
            return;
        }
        // A request the unit never answered (or kept rejecting) leaves a
        // gap that the file would carry as old values.
        if (s.app().xmit.linesGivenUp() != m_givenUpBefore) {
            m_progress.done();
            s.finish(ExitCode::NoAnswer,
                     "the unit on " + s.device() + " did not answer a request at item " +
                         std::to_string(m_item) + " of " + std::to_string(kDataItemCount) +
                         "; no file was written. Check the line, then run read again.");
            return;
        }
        if (!m_walkEnded) {
            const int index = s.app().frmMain.DataItemIndex;
            showItem(index);
            if (index >= kDataItemCount) {
                m_walkEnded = true;
                s.act([&s] { s.app().timers.stop(TimerId::tmrSave); });
            }
        }
        if (!m_walkEnded || !s.linkIdle()) {
            return;
        }
        if (m_reportedScanSets && !m_scanSetsAsked) {
            m_scanSetsAsked = true;
            s.act([&s] { s.app().SendCommand("ddn\r\n"); });
            return;
        }
        write(s);
    }

    void timedOut(UnitSession& s) override {
        m_progress.done();
        s.finish(ExitCode::NoAnswer,
                 "the unit on " + s.device() + " did not finish the data set in time (item " +
                     std::to_string(m_item) + " of " + std::to_string(kDataItemCount) +
                     "); no file was written. Check the line, or allow more time with --timeout.");
    }

    std::string stoppedNote() const override { return "and no file was written"; }

    void finishing(UnitSession&) override { m_progress.done(); }

private:
    void showItem(int item) {
        m_item = std::clamp(item, std::max(m_item, 1), kDataItemCount);
        m_progress.show("item " + std::to_string(m_item) + " of " + std::to_string(kDataItemCount));
    }

    void write(UnitSession& s) {
        m_progress.done();
        App& app = s.app();
        MonitorData data = app.data;
        if (!m_reportedScanSets) {
            data.ScanSetsReported = false; // then every scan set is written
        } else if (!data.ScanSetsReported) {
            errorLine("the unit did not say which scan sets it has; the file carries all of "
                      "them.");
        }
        const auto failure = replaceFileContents(
            m_path, formatMdv(data, app.link.MonitorConnected, s.clock().localNow()));
        if (failure) {
            s.finish(ExitCode::FileError,
                     "cannot write " + m_path + ": " + *failure + ". Choose another file with -o.");
            return;
        }
        int scanSets = 0;
        for (int set = 0; set < kMaxScanSets; ++set) {
            scanSets += scanSetWritten(data, set) ? 1 : 0;
        }
        writeOut("wrote " + m_path + ": model " + data.ModelNumber + ", serial number " +
                 data.SerialNumber + ", " + s.firmwareText() + ", " + std::to_string(scanSets) +
                 " scan sets\n");
        s.finish(ExitCode::Ok);
    }

    std::string m_path;
    bool m_reportedScanSets;
    bool m_scanSetsAsked = false;
    Progress m_progress;
    int m_item = 0;
    bool m_walkEnded = false;
    std::size_t m_givenUpBefore = 0;
};

void addOptions(QCommandLineParser& parser) {
    parser.addOption({{"o", kOutput}, "The data file to write (.mdv).", "FILE.mdv"});
    parser.addOption({kScanSets,
                      "Which scan sets the file carries: all (0 to NumScanSets - 1, as the "
                      "windowed tool writes after \"Update All Data\", the default) or "
                      "reported (the unit is asked which it has; those, with their names).",
                      "all|reported", "all"});
}

QString validate(const Invocation& invocation) {
    if (invocation.value(kOutput).isEmpty()) {
        return QStringLiteral("read wants the file to write: -o FILE.mdv");
    }
    const QString sets = invocation.value(kScanSets);
    if (sets != "all" && sets != "reported") {
        return QStringLiteral("--scan-sets takes all or reported, not '%1'").arg(sets);
    }
    return expectArguments(invocation, 0, "");
}

std::unique_ptr<UnitCommand> make(const Invocation& invocation) {
    return std::make_unique<Read>(invocation.value(kOutput).toStdString(),
                                  invocation.value(kScanSets) == "reported");
}

} // namespace

CommandEntry readCommand() {
    return {"read",
            "-o FILE.mdv",
            "read the unit's data set into a .mdv file",
            "Connects, walks the unit's data set once (45 items, one a second, as the "
            "windowed tool's \"Update All Data\") and writes it to FILE.mdv exactly as the "
            "windowed tool's \"Save As\" does. The file is replaced only when it is complete. "
            "Progress goes to standard error.",
            150,
            addOptions,
            validate,
            nullptr,
            make};
}

} // namespace orlix::cli
