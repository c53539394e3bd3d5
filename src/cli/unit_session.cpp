#include "cli/unit_session.h"

#include "cli/terminal_output.h"
#include "platform/network_serial_port.h"
#include "platform/qt_serial_port.h"
#include "platform/simulated_serial_port.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orlix::cli {

namespace {

std::unique_ptr<platform::SerialPortAdapter> simulatedPort(const Invocation& invocation) {
    if (!invocation.simulator) {
        return nullptr;
    }
    return std::make_unique<platform::SimulatedSerialPort>(invocation.simulatedUnit);
}

} // namespace

UnitSession::UnitSession(const Invocation& invocation, UnitCommand& command)
    : m_invocation(invocation), m_command(command),
      m_port(std::make_unique<platform::QtSerialPort>(), simulatedPort(invocation),
             std::make_unique<platform::NetworkSerialPort>()),
      m_storedSettings(invocation.settingsPath), m_settings(m_storedSettings),
      m_app(Ports{m_port, m_timers, m_clock, m_settings, m_dialogs, nullptr}),
      m_signals([this](int number) { onSignal(number); }),
      m_timeoutSeconds(invocation.timeoutSeconds) {
    m_port.setHandlers(
        [this](std::string_view bytes) {
            if (finished()) {
                return;
            }
            m_command.received(bytes);
            m_app.onSerialBytes(bytes);
            afterEvent();
        },
        [this](const std::string& reason) {
            if (finished()) {
                return;
            }
            m_app.onSerialPortLost(reason);
            afterEvent();
        });
    // A network port whose connection failed: as a port that cannot be opened.
    m_port.setOpenFailedHandler([this](const std::string& reason) {
        if (finished()) {
            return;
        }
        m_app.onSerialOpenFailed(reason);
        finishCannotOpen(reason);
    });
    m_timers.setTickHandler([this](TimerId id) {
        if (finished()) {
            return;
        }
        m_app.onTimer(id);
        afterEvent();
    });
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, &m_deadline, [this] { onTimeout(); });
}

UnitSession::~UnitSession() {
    m_timers.setTickHandler(nullptr);
    m_port.setHandlers(nullptr, nullptr);
}

int UnitSession::run() {
    start();
    if (finished()) {
        return m_exitCode;
    }
    return QCoreApplication::exec();
}

void UnitSession::choosePort() {
    // A device given on the command line stands in for Com1 for this run.
    int port = 0;
    if (m_invocation.simulator) {
        port = 1;
        m_app.serial.setOverride(port, std::string(platform::kSimulatorDevice));
    } else if (m_invocation.port) {
        port = m_invocation.port->comNumber;
        if (port == 0) {
            port = 1;
            m_app.serial.setOverride(port, m_invocation.port->device);
        }
    }
    if (port != 0) {
        m_settings.set(keys::CommPort.section, keys::CommPort.key, std::to_string(port));
    }
}

void UnitSession::start() {
    const QString settingsPath = m_invocation.settingsPath;
    if (!settingsPath.isEmpty() && QFileInfo::exists(settingsPath) &&
        !QFileInfo(settingsPath).isReadable()) {
        finish(ExitCode::FileError, "cannot read the settings file " + settingsPath.toStdString() +
                                        ". Give a readable file with --settings.");
        return;
    }
    if (const auto failure = m_command.prepare(*this)) {
        finish(failure->code, failure->message);
        return;
    }
    choosePort();
    // Tries that end: without the unit, the attempt gives up after the
    // retry limit instead of pinging for ever.
    m_app.act([this] { m_app.frmConnect.ckAutoReConnect_Click(false); });

    // The load step tells a port it cannot open in a message box of its
    // own; the session reports that failure itself, with the system's words.
    m_dialogs.hold();
    m_app.Main();
    const bool open = m_app.serial.isOpen();
    m_dialogs.release(open);
    if (!open) {
        finishCannotOpen(m_app.serial.lastError());
        return;
    }
    m_phase = Phase::Connecting;
    if (m_timeoutSeconds > 0) {
        m_deadline.start(m_timeoutSeconds * 1000);
    }
    m_command.started(*this);
}

void UnitSession::afterEvent() {
    // A command's own action runs inside this check; its effects are seen
    // at the next event.
    if (finished() || m_inStep) {
        return;
    }
    m_inStep = true;
    if (m_phase == Phase::Connecting) {
        if (linkUp()) {
            m_phase = Phase::Connected;
            // The keep-alive pings only while Auto ReConnect is checked.
            m_app.act([this] { m_app.frmConnect.ckAutoReConnect_Click(true); });
            m_command.connected(*this);
        } else if (m_app.isVisible(WindowId::frmTimedOut)) {
            finish(ExitCode::NoAnswer, noAnswerText(false));
        } else if (!m_app.serial.isOpen()) {
            finish(ExitCode::NoAnswer,
                   "the line to the unit on " + device() + " was lost (" + linkLostReason() +
                       "). Check the cable and the unit's power, then try again.");
        }
    } else if (m_phase == Phase::Connected) {
        m_command.afterEvent(*this);
    }
    m_inStep = false;
}

void UnitSession::act(const std::function<void()>& action) {
    m_app.act(action);
    afterEvent();
}

void UnitSession::onTimeout() {
    if (finished()) {
        return;
    }
    if (m_phase == Phase::Connected) {
        m_command.timedOut(*this);
        if (!finished()) {
            finish(ExitCode::NoAnswer,
                   "time is up (--timeout " + std::to_string(m_timeoutSeconds) + ")");
        }
        return;
    }
    finish(ExitCode::NoAnswer, noAnswerText(true));
}

void UnitSession::onSignal(int signalNumber) {
    if (finished()) {
        return;
    }
    if (m_phase == Phase::Connected && !m_command.interrupted(*this, signalNumber)) {
        return;
    }
    std::string message =
        "stopped by " + SignalWatch::describe(signalNumber) + "; the port is closed";
    if (m_phase == Phase::Connected) {
        if (const std::string note = m_command.stoppedNote(); !note.empty()) {
            message += " " + note;
        }
    }
    finish(signalExitCode(signalNumber), message + ".");
}

void UnitSession::finish(ExitCode code, const std::string& message) {
    if (finished()) {
        return;
    }
    m_phase = Phase::Finished;
    m_deadline.stop();
    m_command.finishing(*this);
    m_app.serial.close();
    if (!message.empty()) {
        errorLine(message);
    }
    m_exitCode = toInt(code);
    QCoreApplication::exit(m_exitCode);
}

void UnitSession::finishCannotOpen(const std::string& reason) {
    finish(ExitCode::PortError,
           "cannot open " + reason +
               ". Check the device (orlix6-cli ports lists the serial devices) and "
               "give it with --port.");
}

std::string UnitSession::device() const {
    return m_app.serial.deviceFor(m_app.link.CommPortNumber);
}

bool UnitSession::linkIdle() const {
    return m_app.xmit.XmitQueue().empty() && !m_app.xmit.AwaitingPrompt();
}

std::string UnitSession::linkLostReason() const {
    if (!m_app.serial.isOpen() && !m_app.connectView.lbl1.empty()) {
        return m_app.connectView.lbl1; // "Serial port lost: ..."
    }
    if (m_app.link.BootMode) {
        return "the unit restarted in its boot loader";
    }
    if (!m_app.keepAlive.lossReason().empty()) {
        return m_app.keepAlive.lossReason();
    }
    return "no prompt came within 2 s of a ping";
}

std::string UnitSession::noAnswerText(bool timedOut) const {
    std::string text = "no answer from the unit on " + device();
    if (timedOut) {
        text += " within " + std::to_string(m_timeoutSeconds) + " s";
    } else {
        const int tries = m_app.link.ConnectRetryLimit;
        text += " after " + std::to_string(tries) + (tries == 1 ? " try" : " tries");
    }
    text += ". Make sure the unit is connected and turned on and that --port names its line";
    text += timedOut ? ", or allow more time with --timeout." : ", then try again.";
    return text;
}

std::string UnitSession::bootLoaderText() const {
    return "the unit on " + device() +
           " is in its boot loader, not running its application firmware. Start the "
           "application (orlix6, Monitor > Run from BOOT MODE), then try again.";
}

std::string UnitSession::applicationText() const {
    return "the unit on " + device() +
           " runs its application firmware, not the boot loader. Restart it into its boot "
           "loader, then try again.";
}

std::string UnitSession::firmwareText() const {
    if (m_app.link.BootMode) {
        return "boot loader";
    }
    const std::string& version = m_app.data.FirmwareVersion;
    if (version.empty()) {
        return "application firmware (version not reported)";
    }
    // The unit's text keeps its "V " where it sends one.
    return "application firmware " + (version.starts_with("V") ? version : "V " + version);
}

} // namespace orlix::cli
