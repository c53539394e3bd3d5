// orlix6-sim: the simulated display unit behind a pseudo-terminal. The tool
// opens the linked slave device as its serial port; the console on standard
// input switches faults on and off while it runs.
#include "sim/control_commands.h"
#include "sim/pty/arguments.h"
#include "sim/pty/pty_line.h"
#include "sim/simulated_unit.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace {

using orlix::sim::SimulatedUnit;
using orlix::sim::pty::Arguments;
using orlix::sim::pty::PtyLine;

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) {
    g_stop = 1;
}

// While no one holds the slave, look again this often.
constexpr int kNoPeerRetryMs = 50;

std::int64_t nowMs() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

std::string visible(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20 || u > 0x7e) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

class Simulator {
public:
    explicit Simulator(Arguments args) : m_args(std::move(args)), m_unit(m_args.unit) {}

    int run() {
        for (const auto& command : m_args.faultCommands) {
            report(orlix::sim::runControlCommand(m_unit, command, nowMs()));
        }
        if (!openLine()) {
            return 1;
        }
        say(std::string(m_unit.inBootLoader() ? "boot loader" : "application firmware") + " V " +
            m_unit.firmwareVersion() + " ready; console commands on standard input " + "(help)");
        while (!g_stop) {
            step();
        }
        m_line.removeLink();
        say("stopped");
        return 0;
    }

private:
    void say(const std::string& text) { std::cout << "orlix6-sim: " << text << std::endl; }

    void report(const orlix::sim::ControlResult& result) {
        if (!result.message.empty()) {
            say(result.ok ? result.message : "error: " + result.message);
        }
    }

    bool openLine() {
        std::string error;
        if (!m_line.open(m_args.linkPath, error)) {
            say("cannot open a line: " + error);
            return false;
        }
        m_noPeer = false;
        say("line " + m_line.slaveName() + " linked at " + m_args.linkPath);
        return true;
    }

    int pollTimeout() const {
        const auto now = nowMs();
        int timeout = -1;
        if (const auto due = m_unit.nextOutputTime()) {
            timeout = static_cast<int>(std::clamp<std::int64_t>(*due - now, 0, 60000));
        }
        if ((m_line.isOpen() && m_noPeer) || m_replugAt) {
            timeout = timeout < 0 ? kNoPeerRetryMs : std::min(timeout, kNoPeerRetryMs);
        }
        return timeout;
    }

    void step() {
        pollfd fds[2] = {{-1, POLLIN, 0}, {-1, POLLIN, 0}};
        if (m_stdinOpen) {
            fds[0].fd = STDIN_FILENO;
        }
        if (m_line.isOpen() && !m_noPeer) {
            fds[1].fd = m_line.fd();
            fds[1].events = static_cast<short>(POLLIN | (m_line.hasPending() ? POLLOUT : 0));
        }
        const int n = ::poll(fds, 2, pollTimeout());
        if (n < 0 && errno != EINTR) {
            say("poll failed");
            g_stop = 1;
            return;
        }
        if (fds[0].revents != 0) {
            readConsole();
        }
        if (m_line.isOpen()) {
            readLine(fds[1].revents);
        }
        deliver();
        superviseLine();
    }

    void readConsole() {
        char buf[1024];
        const auto n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            m_stdinOpen = false; // no console (input closed): keep running
            return;
        }
        m_console.append(buf, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = m_console.find('\n')) != std::string::npos) {
            const std::string command = m_console.substr(0, end);
            m_console.erase(0, end + 1);
            report(orlix::sim::runControlCommand(m_unit, command, nowMs()));
        }
    }

    void readLine(short revents) {
        if (m_noPeer || (revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            std::string bytes;
            const auto result = m_line.read(bytes);
            if (result == PtyLine::ReadResult::Data) {
                if (m_noPeer) {
                    m_noPeer = false;
                }
                received(bytes);
            } else if (result == PtyLine::ReadResult::NoPeer) {
                if (!m_noPeer) {
                    m_noPeer = true;
                    // The slave's last close may have reset the terminal.
                    m_line.makeRaw();
                }
            } else if (result == PtyLine::ReadResult::Nothing && m_noPeer) {
                m_noPeer = false; // someone opened the slave again
            }
        }
        if ((revents & POLLOUT) != 0) {
            m_line.flush();
        }
    }

    void received(const std::string& bytes) {
        if (m_args.trace) {
            say("<< " + visible(bytes));
        } else if (!m_args.quiet) {
            for (char c : bytes) {
                if (c == '\r' || c == '\n') {
                    if (!m_commandEcho.empty()) {
                        say("<- " + visible(m_commandEcho));
                        m_commandEcho.clear();
                    }
                } else if (m_commandEcho.size() < 80) {
                    m_commandEcho += c;
                }
            }
        }
        m_unit.receive(bytes, nowMs());
    }

    void deliver() {
        const auto out = m_unit.takeOutput(nowMs());
        if (out.empty()) {
            return;
        }
        if (m_args.trace) {
            say(">> " + visible(out));
        }
        if (m_line.isOpen()) {
            m_line.write(out);
        }
    }

    void superviseLine() {
        if (m_unit.hungUp() && m_line.isOpen()) {
            m_line.close();
            say("line closed (hang-up); " + std::string(m_args.replugAfterMs >= 0
                                                            ? "a new line follows shortly"
                                                            : "type plug for a new line"));
            if (m_args.replugAfterMs >= 0) {
                m_replugAt = nowMs() + m_args.replugAfterMs;
            }
        }
        if (m_replugAt && nowMs() >= *m_replugAt) {
            m_replugAt.reset();
            m_unit.reconnectLine();
        }
        if (!m_unit.hungUp() && !m_line.isOpen() && !openLine()) {
            g_stop = 1;
        }
    }

    Arguments m_args;
    SimulatedUnit m_unit;
    PtyLine m_line;
    bool m_noPeer = false;
    bool m_stdinOpen = true;
    std::string m_console;
    std::string m_commandEcho;
    std::optional<std::int64_t> m_replugAt;
};

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    std::string error;
    if (!orlix::sim::pty::parseArguments(argc, argv, args, error)) {
        std::cerr << "orlix6-sim: " << error << "\n\n" << orlix::sim::pty::kUsage;
        return 2;
    }
    if (args.help) {
        std::cout << orlix::sim::pty::kUsage;
        return 0;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        Simulator simulator(std::move(args));
        return simulator.run();
    } catch (const std::invalid_argument& e) {
        std::cerr << "orlix6-sim: " << e.what() << "\n";
        return 2;
    }
}
