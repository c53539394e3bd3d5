// A firmware download through the whole tool on real time: the windows
// (progress window and comm log), the Qt timers, and the built-in simulated
// unit sending at 19200 baud. Reports records per second against the
// protocol's limit (as bench_download reckons it) and the longest stall of
// the event loop (how late a 5 ms timer tick came) while records go out.
//
//   bench_qt_download [records (default 300)]
#include "bench/support/download_limit.h"
#include "bench/support/null_ports.h"
#include "platform/qt_timers.h"
#include "platform/simulated_serial_port.h"
#include "support/hex_images.h"
#include "windows/gui.h"
#include "windows_support/wait_for.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace orlix;

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    const int records = argc > 1 ? std::max(3, std::atoi(argv[1])) : 300;
    QApplication application(argc, argv);

    sim::UnitOptions options;
    options.startInBootLoader = true;
    bench::NullPorts null;
    platform::SimulatedSerialPort port(options);
    platform::QtTimers timers;
    platform::QtClock clock;
    App app(Ports{port, timers, clock, null, null});
    app.serial.setOverride(1, std::string(platform::kSimulatorDevice));
    port.setHandlers([&app](std::string_view bytes) { app.onSerialBytes(bytes); },
                     [&app](const std::string& reason) { app.onSerialPortLost(reason); });
    timers.setTickHandler([&app](TimerId id) { app.onTimer(id); });
    windows::Gui gui(app);
    gui.start();
    if (!test::waitFor([&] { return app.link.BootMode; }, 10000)) {
        std::fprintf(stderr, "the simulated unit did not answer in its boot loader\n");
        return 1;
    }

    test::ScratchDir dir;
    const auto image = test::firmwareRecords(records - 2);
    const std::string path = dir.write("fw.hex", test::joined(image));
    app.act([&] {
        if (app.download.prepare(path, "fw.hex").ok) {
            app.download.start(FirmwareDownload::StartCommand::Erase);
        }
    });

    // The stall probe runs only while records go out.
    QElapsedTimer sinceProbe;
    QElapsedTimer wall;
    double longest = 0;
    bool sending = false;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!sending && app.download.DownloadActive) {
            sending = true;
            wall.start();
        } else if (sending && app.download.DownloadActive) {
            longest = std::max(longest, static_cast<double>(sinceProbe.nsecsElapsed()) / 1e6 - 5);
        }
        sinceProbe.restart();
    });
    sinceProbe.start();
    probe.start(5);
    const bool ended = test::waitFor(
        [&] { return app.download.outcome() != FirmwareDownload::Outcome::None; }, records * 1000);
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    if (!ended || app.download.outcome() != FirmwareDownload::Outcome::Done) {
        std::fprintf(stderr, "the download did not complete\n");
        return 1;
    }
    const double limit = bench::downloadLimitSeconds(image);
    std::printf("Firmware download through the windows on real time, %d records, built-in "
                "simulated unit at 19200 baud (%s)\n",
                records, qPrintable(QApplication::platformName()));
    std::printf("  %.2f s, %.3f records/s, %.2f%% of the limit (%.3f records/s); longest "
                "event-loop stall %.1f ms\n",
                seconds, records / seconds, 100.0 * limit / seconds, records / limit, longest);
    return 0;
}
