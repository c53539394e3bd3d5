// The comm log window under a continuous stream from the unit, through the
// real serial adapter on a pseudo-terminal: at the line's full rate (19200
// baud, 1920 characters a second) and as fast as the pseudo-terminal
// takes it. Reports the process CPU time per megabyte received and the
// longest stall of the event loop (how late a 5 ms timer tick came).
//
//   bench_qt_comm_log [line-rate seconds (default 20)] [flood megabytes (default 8)]
//
// NOECHO=1 switches the window echo off, TIMESTAMPS=1 the timestamps on.
#include "bench/support/null_ports.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_timers.h"
#include "windows/gui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Result {
    double megabytes = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double longestStallMs = 0;
};

class StreamRun {
public:
    StreamRun(int master, const std::string& stream) : m_master(master), m_stream(stream) {}

    // bytesPerSecond 0: as fast as the pseudo-terminal takes it.
    Result run(std::size_t total, double bytesPerSecond) {
        Result result;
        std::size_t sent = 0;
        QElapsedTimer wall;
        QTimer pacer;
        QTimer probe;
        QElapsedTimer sinceProbe;
        double longest = 0;
        QEventLoop loop;

        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const double gap = static_cast<double>(sinceProbe.nsecsElapsed()) / 1e6 - 5.0;
            longest = std::max(longest, gap);
            sinceProbe.restart();
        });
        const auto writeSome = [&](std::size_t want) {
            while (want > 0 && sent < total) {
                const std::size_t at = sent % m_stream.size();
                const std::size_t n = std::min({want, total - sent, m_stream.size() - at});
                const ssize_t w = ::write(m_master, m_stream.data() + at, n);
                if (w <= 0) {
                    return; // the pseudo-terminal is full; try again later
                }
                sent += static_cast<std::size_t>(w);
                want -= static_cast<std::size_t>(w);
            }
            if (sent >= total) {
                loop.quit();
            }
        };
        pacer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&pacer, &QTimer::timeout, [&] {
            drain();
            if (bytesPerSecond > 0) {
                const auto due = static_cast<std::size_t>(
                    bytesPerSecond * static_cast<double>(wall.nsecsElapsed()) / 1e9);
                writeSome(due > sent ? due - sent : 0);
            } else {
                writeSome(64 * 1024);
            }
        });

        const double cpuBefore = cpuSeconds();
        wall.start();
        sinceProbe.start();
        probe.start(5);
        pacer.start(bytesPerSecond > 0 ? 10 : 0);
        loop.exec();
        // Let the tool take in what is still on its way.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300) {
            drain();
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        result.wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        result.cpuSeconds = cpuSeconds() - cpuBefore;
        result.megabytes = static_cast<double>(sent) / 1e6;
        result.longestStallMs = longest;
        return result;
    }

private:
    // What the tool writes back (pings, requests) is read and dropped.
    void drain() {
        char buffer[4096];
        while (::read(m_master, buffer, sizeof buffer) > 0) {
        }
    }

    int m_master;
    const std::string& m_stream;
};

void report(const char* name, const Result& r) {
    std::printf("%-10s %8.3f MB in %7.2f s wall, %7.3f s CPU: %8.3f CPU s/MB, longest "
                "event-loop stall %6.1f ms\n",
                name, r.megabytes, r.wallSeconds, r.cpuSeconds,
                r.megabytes > 0 ? r.cpuSeconds / r.megabytes : 0.0, r.longestStallMs);
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    const double lineRateSeconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const double floodMegabytes = argc > 2 ? std::atof(argv[2]) : 8.0;
    QApplication application(argc, argv);

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("posix_openpt");
        return 1;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    const std::string slave = ptsname(master);

    orlix::bench::NullPorts null;
    orlix::platform::QtSerialPort port;
    orlix::platform::QtTimers timers;
    orlix::platform::QtClock clock;
    orlix::App app(orlix::Ports{port, timers, clock, null, null});
    app.serial.setOverride(1, slave);
    null.set("Configs", "CommLogEnabled", std::getenv("NOECHO") ? "False" : "True");
    null.set("Configs", "CommLogTimestamps", std::getenv("TIMESTAMPS") ? "True" : "False");
    port.setHandlers([&app](std::string_view bytes) { app.onSerialBytes(bytes); },
                     [&app](const std::string& reason) { app.onSerialPortLost(reason); });
    timers.setTickHandler([&app](orlix::TimerId id) { app.onTimer(id); });
    orlix::windows::Gui gui(app);
    gui.start();
    QApplication::processEvents();

    const std::string stream = orlix::bench::mixedReplyStream(64 * 1024);
    StreamRun runner(master, stream);
    std::printf("Comm log window, %s, stream of realistic replies\n",
                qPrintable(QApplication::platformName()));
    report("line rate", runner.run(static_cast<std::size_t>(1920 * lineRateSeconds), 1920.0));
    report("flood", runner.run(static_cast<std::size_t>(floodMegabytes * 1e6), 0));
    ::close(master);
    return 0;
}
