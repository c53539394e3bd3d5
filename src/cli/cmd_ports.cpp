// orlix6-cli ports: the serial devices present, one per line (device,
// description, manufacturer, serial number, tab-separated, "-" for what the
// system does not know), or a JSON array with --json.
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "cli/terminal_output.h"
#include "platform/serial_port_adapter.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSerialPortInfo>

namespace orlix::cli {

namespace {

struct Device {
    QString location;
    QString description;
    QString manufacturer;
    QString serialNumber;
};

std::vector<Device> presentDevices(bool withSimulator) {
    std::vector<Device> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        devices.push_back(
            {info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber()});
    }
    if (withSimulator) {
        devices.push_back({QString::fromLatin1(platform::kSimulatorDevice.data(),
                                               qsizetype(platform::kSimulatorDevice.size())),
                           "built-in simulated display", "", ""});
    }
    return devices;
}

QString field(const QString& text) {
    return text.isEmpty() ? QStringLiteral("-") : text;
}

void addOptions(QCommandLineParser& parser) {
    parser.addOption({"json", "Print a JSON array for scripts."});
}

QString validate(const Invocation& invocation) {
    return expectArguments(invocation, 0, "");
}

int run(const Invocation& invocation) {
    const std::vector<Device> devices = presentDevices(invocation.simulator);
    QString text;
    if (invocation.isSet("json")) {
        QJsonArray array;
        for (const Device& d : devices) {
            array.append(QJsonObject{{"device", d.location},
                                     {"description", d.description},
                                     {"manufacturer", d.manufacturer},
                                     {"serialNumber", d.serialNumber}});
        }
        text = QString::fromStdString(jsonText(QJsonDocument(array)));
    } else {
        for (const Device& d : devices) {
            text += QStringLiteral("%1\t%2\t%3\t%4\n")
                        .arg(d.location, field(d.description), field(d.manufacturer),
                             field(d.serialNumber));
        }
        if (devices.empty()) {
            errorLine("no serial devices found. Pseudo-terminals are not listed; give such a "
                      "device to --port by its path.");
        }
    }
    if (!writeOut(text.toStdString())) {
        return toInt(ExitCode::FileError);
    }
    return toInt(ExitCode::Ok);
}

} // namespace

CommandEntry portsCommand() {
    return {"ports",
            "",
            "list the serial devices present",
            "Lists the serial devices present, one per line: device, description, "
            "manufacturer and serial number, separated by tabs (\"-\" where the system "
            "does not say). Pseudo-terminals are not listed.",
            0,
            addOptions,
            validate,
            run,
            nullptr};
}

} // namespace orlix::cli
