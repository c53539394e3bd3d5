// Process entry: builds the platform adapters, the tool's core and its
// windows, and runs the event loop.
//
//   orlix6 [--settings FILE] [--port N=DEVICE]... [--simulator]
//          [--sim-firmware X.YY] [--sim-boot]
//
// DEVICE is a device path or a network port: tcp://HOST:PORT or
// rfc2217://HOST:PORT.
#include "core/app/app.h"
#include "core/net/network_address.h"
#include "orlix6/version.h"
#include "platform/network_serial_port.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_timers.h"
#include "platform/routing_serial_port.h"
#include "platform/simulated_serial_port.h"
#include "sim/firmware_version.h"
#include "windows/bundled.h"
#include "windows/desktop_tools.h"
#include "windows/frm_main.h"
#include "windows/gui.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

// --help and --version print and end the program here. They need no
// display, and QApplication aborts where there is none, so they are
// answered before it exists.
void answerHelpOrVersion(QCommandLineParser& parser, int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Qt's own options (-platform, -style ...) are unknown here: only help
    // and version count.
    parser.parse(arguments);
    if (!parser.isSet("help") && !parser.isSet("version")) {
        return;
    }
    QCoreApplication core(argc, argv);
    if (parser.isSet("version")) {
        parser.showVersion();
    }
    parser.showHelp(0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("Orlix6");
    QCoreApplication::setOrganizationName("Orlix6");
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(orlix::kVersionMajor)
                                                .arg(orlix::kVersionMinor)
                                                .arg(orlix::kVersionRevision));

    QCommandLineParser parser;
    parser.setApplicationDescription("Orlix6 Backlight Adjustment Tool");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption settingsOption("settings", "Use this settings file (INI).", "FILE");
    const QCommandLineOption portOption(
        "port",
        "Let Com N stand for DEVICE for this run (repeatable). DEVICE is a device path, "
        "tcp://HOST:PORT (raw TCP) or rfc2217://HOST:PORT (Telnet with serial port control).",
        "N=DEVICE");
    const QCommandLineOption simulatorOption("simulator",
                                             "Connect Com1 to the built-in simulated display.");
    const QCommandLineOption simFirmwareOption(
        "sim-firmware", "Firmware version of the simulated display (for example 1.39, 2.24, 3.10).",
        "X.YY");
    const QCommandLineOption simBootOption("sim-boot",
                                           "Start the simulated display in its boot loader.");
    parser.addOptions(
        {settingsOption, portOption, simulatorOption, simFirmwareOption, simBootOption});
    answerHelpOrVersion(parser, argc, argv);

    QApplication application(argc, argv);
    // The desktop entry's name, so that the window system finds the icon.
    QGuiApplication::setDesktopFileName("orlix6");
    QApplication::setWindowIcon(orlix::windows::appIcon());
    parser.process(application);

    orlix::sim::UnitOptions unitOptions;
    if (parser.isSet(simFirmwareOption)) {
        unitOptions.firmwareVersion = parser.value(simFirmwareOption).toStdString();
        if (!orlix::sim::parseFirmwareVersion(unitOptions.firmwareVersion)) {
            std::fprintf(stderr, "orlix6: --sim-firmware wants a version such as 2.24, not '%s'\n",
                         unitOptions.firmwareVersion.c_str());
            return 2;
        }
    }
    unitOptions.startInBootLoader = parser.isSet(simBootOption);

    orlix::platform::RoutingSerialPort port(
        std::make_unique<orlix::platform::QtSerialPort>(),
        std::make_unique<orlix::platform::SimulatedSerialPort>(unitOptions),
        std::make_unique<orlix::platform::NetworkSerialPort>());
    orlix::platform::QtTimers timers;
    orlix::platform::QtClock clock;
    orlix::platform::QtSettingsStore settings(parser.value(settingsOption));
    orlix::platform::QtDialogs dialogs;
    orlix::windows::DesktopTools system(settings.fileName());

    orlix::App app(orlix::Ports{port, timers, clock, settings, dialogs, &system});
    if (parser.isSet(simulatorOption)) {
        app.serial.setOverride(1, std::string(orlix::platform::kSimulatorDevice));
    }
    for (const QString& mapping : parser.values(portOption)) {
        const qsizetype eq = mapping.indexOf('=');
        bool ok = false;
        const int number = eq > 0 ? mapping.left(eq).toInt(&ok) : 0;
        if (!ok || number < orlix::kFirstPort || number > orlix::kLastPort) {
            std::fprintf(stderr, "orlix6: --port wants N=DEVICE with N from 1 to 8, not '%s'\n",
                         qPrintable(mapping));
            return 2;
        }
        const std::string device = mapping.mid(eq + 1).toStdString();
        if (const std::string problem = orlix::net::deviceNameProblem(device); !problem.empty()) {
            std::fprintf(stderr, "orlix6: --port %d: %s\n", number, problem.c_str());
            return 2;
        }
        app.serial.setOverride(number, device);
    }

    port.setHandlers([&app](std::string_view bytes) { app.onSerialBytes(bytes); },
                     [&app](const std::string& reason) { app.onSerialPortLost(reason); });
    port.setOpenFailedHandler(
        [&app](const std::string& reason) { app.onSerialOpenFailed(reason); });
    timers.setTickHandler([&app](orlix::TimerId id) { app.onTimer(id); });

    orlix::windows::Gui gui(app);
    dialogs.setParent(gui.mainWindow());
    dialogs.setBeforeModal([&app] { app.flushViews(); });
    gui.start();
    const int result = application.exec();
    settings.sync();
    return result;
}
