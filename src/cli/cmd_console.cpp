// orlix6-cli console: the communication log window as a terminal program.
// Lines from standard input are typed into the log as the windowed tool
// types them (through the transmit queue: one line on the wire, the 100 ms
// pause, a resend on "!"), and the unit's characters go to standard output
// as they arrive. The keep-alive runs as in the windowed tool, so a silent
// unit is noticed and found again.
//
// Standard input may be a pipe: at its end the console waits until every
// line has gone out and its prompt has come, then exits 0.
#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/terminal_output.h"
#include "cli/unit_session.h"

#include <QSocketNotifier>
#include <QTime>

#include <cerrno>
#include <deque>
#include <unistd.h>

namespace orlix::cli {

namespace {

const QString kTimestamps = QStringLiteral("timestamps");
const QString kLog = QStringLiteral("log");

// Lines handed to the transmit queue ahead of their turn; the rest wait
// here, so that a long script never fills the queue.
constexpr std::size_t kQueueAhead = 4;
// Standard input is not read while this many lines wait.
constexpr std::size_t kMaxWaiting = 64;

std::string timeStamp() {
    return QTime::currentTime().toString("[HH:mm:ss.zzz] ").toStdString();
}

class Console : public UnitCommand {
public:
    Console(bool timestamps, std::string logPath)
        : m_printer(timestamps ? ReplyPrinter::Stamp(timeStamp) : nullptr),
          m_logPath(std::move(logPath)) {}

    void started(UnitSession& s) override {
        if (m_logPath.empty()) {
            return;
        }
        // The log file of the comm log window (.mcl): what the unit sends,
        // one line end per CR, from the first ping on.
        std::string error;
        if (!s.app().commLog.openFile(m_logPath, error)) {
            s.finish(ExitCode::FileError, "cannot write the log file " + m_logPath + ": " + error +
                                              ". Choose another file with --log.");
            return;
        }
        s.act([&s] {
            s.app().frmCommLog.ckWindowEnabled_Click(true);
            s.app().commLog.FileLogEnabled = true;
        });
    }

    void connected(UnitSession&) override {}

    void received(std::string_view bytes) override {
        const std::string text = m_printer.take(bytes);
        if (m_running && !writeOut(text)) {
            m_outputClosed = true;
        }
    }

    void afterEvent(UnitSession& s) override {
        if (m_outputClosed) {
            s.finish(ExitCode::FileError, "standard output was closed.");
            return;
        }
        if (!m_running) {
            // The connection's own exchange (the firmware version) ends
            // before anything typed goes out or is shown.
            if (s.linkIdle()) {
                begin(s);
            }
            return;
        }
        watchLink(s);
        feed(s);
        if (m_inputEnded && m_waiting.empty()) {
            if (!s.linkUp()) {
                s.finish(ExitCode::NoAnswer, "the line to the unit on " + s.device() +
                                                 " was lost before every line was answered (" +
                                                 s.linkLostReason() +
                                                 "). Check the cable and the unit's power.");
            } else if (s.linkIdle()) {
                if (m_linesLost) {
                    s.finish(ExitCode::NoAnswer, "lines that were waiting when the line was "
                                                 "lost were not sent again; send them again.");
                } else {
                    s.finish(ExitCode::Ok);
                }
            }
        }
    }

    void timedOut(UnitSession& s) override {
        if (m_inputEnded && m_waiting.empty() && s.linkIdle()) {
            s.finish(ExitCode::Ok);
        } else {
            s.finish(ExitCode::NoAnswer,
                     "time is up before every line was sent and answered; allow more time "
                     "with --timeout.");
        }
    }

    void finishing(UnitSession& s) override {
        m_input.reset();
        if (m_running) {
            writeOut(m_printer.finish());
        }
        s.app().commLog.closeFile();
    }

private:
    void begin(UnitSession& s) {
        m_running = true;
        m_printer.startHere();
        std::string banner = "connected to the unit on " + s.device() + ": " + s.firmwareText();
        if (isTerminal(stdin)) {
            banner += ". Type commands; Ctrl-D ends.";
        }
        errorLine(banner);
        m_input = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(m_input.get(), &QSocketNotifier::activated, m_input.get(),
                         [this, &s] { readInput(s); });
    }

    void readInput(UnitSession& s) {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            return;
        }
        if (n > 0) {
            for (std::string& line : m_splitter.feed(std::string_view(buffer, std::size_t(n)))) {
                m_waiting.push_back(std::move(line));
            }
        } else {
            // End of input, or input that cannot be read: no more lines.
            if (auto last = m_splitter.finish()) {
                m_waiting.push_back(std::move(*last));
            }
            m_inputEnded = true;
        }
        m_input->setEnabled(!m_inputEnded && m_waiting.size() < kMaxWaiting);
        s.step();
    }

    // Typed lines wait while the link is down: a reconnect empties the queue.
    void feed(UnitSession& s) {
        while (s.linkUp() && !m_waiting.empty() && s.app().xmit.queuedLines() < kQueueAhead) {
            const std::string line = std::move(m_waiting.front());
            m_waiting.pop_front();
            s.act([&s, line] {
                for (const char c : line) {
                    s.app().frmCommLog.txtCommLog_KeyPress(c);
                }
                s.app().frmCommLog.txtCommLog_KeyPress('\r');
            });
        }
        if (m_input && !m_inputEnded) {
            m_input->setEnabled(m_waiting.size() < kMaxWaiting);
        }
    }

    void watchLink(UnitSession& s) {
        if (!s.linkUp() && !m_lost) {
            m_lost = true;
            // The reconnect empties the transmit queue.
            m_linesLost = m_linesLost || !s.linkIdle();
            errorLine("the line to the unit was lost (" + s.linkLostReason() +
                      "); connecting again.");
        } else if (s.linkUp() && m_lost) {
            m_lost = false;
            errorLine("connected again: " + s.firmwareText());
        }
    }

    ReplyPrinter m_printer;
    LineSplitter m_splitter;
    std::string m_logPath;
    std::unique_ptr<QSocketNotifier> m_input;
    std::deque<std::string> m_waiting;
    bool m_running = false;
    bool m_inputEnded = false;
    bool m_lost = false;
    bool m_linesLost = false;
    bool m_outputClosed = false;
};

void addOptions(QCommandLineParser& parser) {
    parser.addOption({kTimestamps, "Start each line of the unit's text with the time of day."});
    parser.addOption({kLog,
                      "Also write what the unit sends to FILE, as the communication log "
                      "window's log file (.mcl).",
                      "FILE"});
}

QString validate(const Invocation& invocation) {
    return expectArguments(invocation, 0, "");
}

std::unique_ptr<UnitCommand> make(const Invocation& invocation) {
    return std::make_unique<Console>(invocation.isSet(kTimestamps),
                                     invocation.value(kLog).toStdString());
}

} // namespace

CommandEntry consoleCommand() {
    return {"console",
            "",
            "type commands to the unit and see its answers",
            "Sends each line of standard input to the unit through the transmit queue, as "
            "the communication log window does, and prints what the unit sends as it "
            "arrives. The keep-alive ping runs. With standard input from a pipe, the "
            "console ends when every line has been answered. No time limit unless "
            "--timeout is given.",
            0,
            addOptions,
            validate,
            nullptr,
            make};
}

} // namespace orlix::cli
