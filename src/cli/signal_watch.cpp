#include "cli/signal_watch.h"

#include "cli/exit_codes.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace orlix::cli {

namespace {

constexpr int kWatched[] = {SIGINT, SIGTERM, SIGHUP};

// The pipe the handler writes into; one watch at a time.
int g_pipe[2] = {-1, -1};

extern "C" void handleSignal(int number) {
    const int saved = errno;
    // Back to the default action: a second signal ends the program.
    std::signal(number, SIG_DFL);
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

ExitCode signalExitCode(int signalNumber) {
    switch (signalNumber) {
    case SIGHUP:
        return ExitCode::Hangup;
    case SIGTERM:
        return ExitCode::Terminated;
    default:
        return ExitCode::Interrupted;
    }
}

std::string SignalWatch::describe(int signalNumber) {
    switch (signalNumber) {
    case SIGINT:
        return "Ctrl-C";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "signal " + std::to_string(signalNumber);
    }
}

SignalWatch::SignalWatch(std::function<void(int)> onSignal) : m_onSignal(std::move(onSignal)) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return; // signals then keep their default action
    }
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        unsigned char byte = 0;
        while (::read(g_pipe[0], &byte, 1) == 1) {
            if (m_onSignal) {
                m_onSignal(byte);
            }
        }
    });
    struct sigaction action {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kWatched) {
        ::sigaction(number, &action, nullptr);
    }
}

SignalWatch::~SignalWatch() {
    for (const int number : kWatched) {
        std::signal(number, SIG_DFL);
    }
    m_notifier.reset();
    for (int& fd : g_pipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

} // namespace orlix::cli
