// Ctrl-C (SIGINT), SIGTERM and SIGHUP as events of the event loop: the
// signal handler only writes the signal's number into a pipe, and a socket
// notifier hands it to the driver, which then closes the port and files in
// the ordinary way. After the first signal the default action is back in
// place, so a second Ctrl-C ends a program that no longer listens.
#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <string>

namespace orlix::cli {

class SignalWatch {
public:
    explicit SignalWatch(std::function<void(int)> onSignal);
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // "Ctrl-C", "SIGTERM", "SIGHUP".
    static std::string describe(int signalNumber);

private:
    std::function<void(int)> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace orlix::cli
