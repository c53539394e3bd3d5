// One run of a command that talks to the unit: the tool's core (App) on the
// Qt adapters that need no display, connected exactly as the windowed tool
// connects, with a bound on the total time and a clean end on Ctrl-C,
// SIGTERM and SIGHUP.
//
// Phases:
//   Starting   core's load step opens the port and starts the attempt
//              (the port cannot be opened: exit 3)
//   Connecting the attempt pings every 2 s; Auto ReConnect is off, so it
//              gives up after the retry limit of the settings (exit 4)
//   Connected  Online or Boot mode: the command drives the link; Auto
//              ReConnect is on again, so the keep-alive pings run
//   Finished   the port is closed and the event loop ends
//
// The session never decides anything about the protocol: it starts core,
// watches core's state after every event and tells the command.
#pragma once

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/headless_dialogs.h"
#include "cli/overlay_settings.h"
#include "cli/signal_watch.h"
#include "core/app/app.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_timers.h"
#include "platform/routing_serial_port.h"

#include <QTimer>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlix::cli {

class UnitSession;

struct Failure {
    ExitCode code;
    std::string message;
};

// What a command does with the link. Every call comes from the event loop,
// after core has handled an event; a command ends the run with
// UnitSession::finish.
class UnitCommand {
public:
    virtual ~UnitCommand() = default;
    // Before the port is opened: check what the command was given.
    virtual std::optional<Failure> prepare(UnitSession&) { return std::nullopt; }
    // The port is open and the attempt has begun.
    virtual void started(UnitSession&) {}
    // The unit answered: Online (application firmware) or Boot mode.
    virtual void connected(UnitSession&) = 0;
    // After each event that core handled while connected.
    virtual void afterEvent(UnitSession&) {}
    // Bytes from the line, as they arrive, before core sees them.
    virtual void received(std::string_view /*bytes*/) {}
    // The time allowed ran out while connected; the command must finish.
    virtual void timedOut(UnitSession&) = 0;
    // A signal arrived while connected. True: the session ends the run at
    // once; false: the command finishes by itself after its current step.
    virtual bool interrupted(UnitSession&, int /*signalNumber*/) { return true; }
    // What the message on a signal adds after "the port is closed".
    virtual std::string stoppedNote() const { return {}; }
    // The run ends, whatever the reason: close what the command opened.
    virtual void finishing(UnitSession&) {}
};

class UnitSession {
public:
    UnitSession(const Invocation& invocation, UnitCommand& command);
    ~UnitSession();
    UnitSession(const UnitSession&) = delete;
    UnitSession& operator=(const UnitSession&) = delete;

    // Runs until the command ends; the exit code.
    int run();
    // Ends the run: the command's finishing step, the port closed, the
    // message (if any) on standard error, the event loop left.
    void finish(ExitCode code, const std::string& message = {});
    bool finished() const { return m_phase == Phase::Finished; }

    // A user action in core (a menu command, a key), then the state check.
    void act(const std::function<void()>& action);
    // The state check after something outside core changed (input arrived).
    void step() { afterEvent(); }

    App& app() { return m_app; }
    const Invocation& invocation() const { return m_invocation; }
    // The total time allowed, when the command works it out from what it
    // was given (in prepare, before the clock starts); 0: no limit.
    void setTimeLimit(int seconds) { m_timeoutSeconds = seconds; }
    HeadlessDialogs& dialogs() { return m_dialogs; }
    const Clock& clock() const { return m_clock; }

    // The device the unit is on ("/dev/ttyUSB0", "simulator").
    std::string device() const;
    // Nothing waits in the transmit queue and no prompt is outstanding.
    bool linkIdle() const;
    bool linkUp() const { return m_app.link.linkUp(); }
    // Why the link went down, as core put it in the connection window.
    std::string linkLostReason() const;

    // Texts the commands share; each says what to do next.
    std::string bootLoaderText() const;
    std::string applicationText() const;
    // "application firmware V 2.24" or "boot loader".
    std::string firmwareText() const;

private:
    enum class Phase { Starting, Connecting, Connected, Finished };

    void start();
    void afterEvent();
    void onTimeout();
    void onSignal(int signalNumber);
    void choosePort();
    // The port cannot be opened ("DEVICE: reason"): exit with the reason.
    void finishCannotOpen(const std::string& reason);
    std::string noAnswerText(bool timedOut) const;

    const Invocation& m_invocation;
    UnitCommand& m_command;
    platform::RoutingSerialPort m_port;
    platform::QtTimers m_timers;
    platform::QtClock m_clock;
    platform::QtSettingsStore m_storedSettings;
    OverlaySettingsStore m_settings;
    HeadlessDialogs m_dialogs;
    App m_app;
    QTimer m_deadline;
    SignalWatch m_signals;
    Phase m_phase = Phase::Starting;
    bool m_inStep = false;
    int m_exitCode = 0;
    int m_timeoutSeconds;
};

} // namespace orlix::cli
