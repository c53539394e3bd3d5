// The soak: the whole tool, windows included, on the simulated unit at the
// line's rate (19200 baud), with the data walk running and the comm log
// window open, for a given time. Prints the process's resident memory and
// the heap in use at each sample, so that a slow creep shows as a slope.
//
//   orlix6-soak [--seconds N] [--sample S] [--pty SIM_BINARY] [--no-echo]
//
// Without --pty the unit runs in this process, as with `orlix6
// --simulator`; with --pty the simulator program plays it behind a
// pseudo-terminal and the tool talks to it through QSerialPort. --no-echo
// turns the comm log's echo off, for telling its share from the rest. The windows
// use the platform in QT_QPA_PLATFORM (offscreen when unset). scripts/soak.sh
// builds and runs it.
#include "bench/support/null_ports.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_timers.h"
#include "platform/routing_serial_port.h"
#include "platform/simulated_serial_port.h"
#include "windows/gui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

long heapInUseKb() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>((m.uordblks + m.hblkhd) / 1024);
}

struct Options {
    double seconds = 60;
    double sampleSeconds = 10;
    QString simBinary; // empty: in-process unit
    bool echo = true;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; i += 2) {
        if (std::strcmp(argv[i], "--no-echo") == 0) {
            o.echo = false;
            --i;
        } else if (i + 1 >= argc) {
            std::fprintf(stderr, "orlix6-soak: %s wants a value\n", argv[i]);
            std::exit(2);
        } else if (std::strcmp(argv[i], "--seconds") == 0) {
            o.seconds = std::atof(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--sample") == 0) {
            o.sampleSeconds = std::atof(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--pty") == 0) {
            o.simBinary = QString::fromLocal8Bit(argv[i + 1]);
        } else {
            std::fprintf(stderr, "usage: orlix6-soak [--seconds N] [--sample S] [--pty SIM] "
                                 "[--no-echo]\n");
            std::exit(2);
        }
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    const Options options = parse(argc, argv);
    QApplication application(argc, argv);

    QTemporaryDir dir;
    QProcess sim;
    std::string device(orlix::platform::kSimulatorDevice);
    if (!options.simBinary.isEmpty()) {
        const QString link = dir.filePath("unit");
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start(options.simBinary, {"--link", link, "--quiet"});
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(link) && waited.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        if (!QFile::exists(link)) {
            std::fprintf(stderr, "orlix6-soak: the simulator did not create %s\n",
                         qPrintable(link));
            return 1;
        }
        device = link.toStdString();
    }

    // Settings and dialogs answer from memory: a message box would stop an
    // unattended run.
    orlix::bench::NullPorts null;
    null.set("Configs", "CommLogEnabled", options.echo ? "True" : "False");
    orlix::platform::RoutingSerialPort port(
        std::make_unique<orlix::platform::QtSerialPort>(),
        std::make_unique<orlix::platform::SimulatedSerialPort>());
    orlix::platform::QtTimers timers;
    orlix::platform::QtClock clock;
    orlix::App app(orlix::Ports{port, timers, clock, null, null});
    app.serial.setOverride(1, device);
    port.setHandlers([&app](std::string_view bytes) { app.onSerialBytes(bytes); },
                     [&app](const std::string& reason) { app.onSerialPortLost(reason); });
    timers.setTickHandler([&app](orlix::TimerId id) { app.onTimer(id); });
    orlix::windows::Gui gui(app);
    gui.start();

    QElapsedTimer wall;
    wall.start();
    bool walking = false;
    std::size_t lastLogSize = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (!walking && app.link.MonitorConnected) {
            walking = true;
            app.act([&app] {
                app.frmMain.mnuMonitorUpdate_Click();
                app.frmMain.mnuMonitorCommLog_Click();
            });
            std::printf("# online after %.1f s; walk started\n",
                        static_cast<double>(wall.elapsed()) / 1000.0);
        }
        lastLogSize = app.commLogView.text.size();
    });
    tick.start(200);

    std::printf("%10s %10s %12s %10s %s\n", "seconds", "rss_kb", "heap_kb", "log_chars", "online");
    const auto sample = [&] {
        std::printf("%10.0f %10ld %12ld %10zu %s\n", static_cast<double>(wall.elapsed()) / 1000.0,
                    residentKb(), heapInUseKb(), lastLogSize,
                    app.link.MonitorConnected ? "yes" : "no");
        std::fflush(stdout);
    };
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, sample);
    sampler.start(static_cast<int>(options.sampleSeconds * 1000));
    QTimer::singleShot(static_cast<int>(options.seconds * 1000), &application, [&] {
        sample();
        QApplication::quit();
    });
    sample();
    const int result = QApplication::exec();
    if (sim.state() != QProcess::NotRunning) {
        sim.terminate();
        sim.waitForFinished(3000);
    }
    return walking ? result : 1;
}
