#include "core/link/keep_alive.h"

#include "core/app/app.h"

namespace orlix {

namespace {
constexpr std::string_view kNoPingAnswer =
    "the unit does not answer, no prompt within 2 s of a ping";
constexpr std::string_view kNoLineAnswer =
    "the unit does not answer, no prompt to a line sent twice";
constexpr std::string_view kRefuses = "the unit rejects every line";
} // namespace

void KeepAlive::tmrKeepAlive_Timer() {
    App& app = m_app;
    // While a line waits for its prompt, a ping would only wait behind it
    // and its watchdog would judge that line on a shorter time than its
    // own: the line's reply time watches the unit instead (onLineLost).
    if (app.xmit.AwaitingPrompt()) {
        return;
    }
    if (app.connectView.ckAutoReConnect && app.link.AutoPingEnabled && app.link.MonitorConnected) {
        // Straight to the queue: the keep-alive's ping is the one line
        // besides its own that a running download lets through.
        app.xmit.SendCommand("p\r\n");
        app.timers.start(TimerId::tmrConnect, kWatchdogMs);
    } else {
        app.timers.stop(TimerId::tmrConnect);
    }
}

void KeepAlive::linkLost() {
    App& app = m_app;
    app.GoOffline();
    app.setIndicators(kColourRed);
    app.show(WindowId::frmConnect);
}

void KeepAlive::unitGone(std::string_view why) {
    App& app = m_app;
    if (app.link.MonitorConnected) {
        m_lossReason = why;
        app.commLog.LogLine("Link lost: " + m_lossReason);
        app.download.abort("Link lost: " + m_lossReason + ".");
        linkLost();
        app.frmConnect.btnOK_Click();
    }
    app.timers.stop(TimerId::tmrConnect);
    app.timers.stop(TimerId::tmrKeepAlive);
}

void KeepAlive::tmrConnect_Timer() {
    unitGone(kNoPingAnswer);
}

void KeepAlive::onLineLost() {
    // Only a link that is up is judged; an attempt's tries judge their own.
    if (m_app.link.linkUp()) {
        unitGone(kNoLineAnswer);
    }
}

void KeepAlive::onUnitRefuses() {
    // It answers, but a unit that takes no command can neither be read nor
    // adjusted: as good as gone. The attempt's pings find it again as soon
    // as it takes a line.
    if (m_app.link.linkUp()) {
        unitGone(kRefuses);
    }
}

void KeepAlive::onPortLost(const std::string& reason) {
    App& app = m_app;
    app.serial.close();
    app.download.abort("The serial port was lost: " + reason);
    const bool connected = app.link.linkUp();
    const std::string why = "Serial port lost: " + reason;
    // While an attempt retries a connection that keeps failing the same
    // way (a network server that is down), the log says so once.
    if (connected || why != m_lastLost) {
        app.commLog.LogLine(why);
    }
    m_lastLost = why;
    app.connectView.lbl1 = why;
    app.touch(WindowId::frmConnect);
    if (!connected) {
        return; // an attempt that is running reopens the port by itself
    }
    // As the watchdog would, but without reopening at once: the device is
    // gone, so the attempt's tries reopen it (Auto ReConnect) or OK does.
    linkLost();
    app.show(WindowId::frmTrying);
    app.timers.stop(TimerId::tmrConnect);
    app.timers.stop(TimerId::tmrKeepAlive);
}

void KeepAlive::onUnitMode(bool bootLoader) {
    App& app = m_app;
    app.link.MonitorInBootMode = bootLoader;
    if (bootLoader) {
        // What waits is for the application; the boot loader would answer
        // each line with "?".
        app.xmit.clearQueuedLines();
        app.commLog.LogLine("The boot loader answers ($): Boot mode, data requests stopped");
    } else {
        app.commLog.LogLine("The application answers (#): Online");
    }
    app.frmTrying.connected();
}

// --- frmTimedOut ---------------------------------------------------------------

namespace {
const FixedPlacementKeys kTimedOutPlacement{&keys::TimedOutWindowState, &keys::TimedOutTop,
                                            &keys::TimedOutLeft,        &keys::TimedOutWidth,
                                            &keys::TimedOutHeight,      FrmTimedOut::kWidthTwips,
                                            FrmTimedOut::kHeightTwips};
} // namespace

void FrmTimedOut::Form_Load() {
    m_app.place(WindowId::frmTimedOut, m_app.placement.restoreFixed(kTimedOutPlacement));
}

void FrmTimedOut::Form_Activate() {
    m_app.timers.start(TimerId::frmTimedOut_Timer1, kShowMs);
}

void FrmTimedOut::Timer1_Timer() {
    m_app.timers.stop(TimerId::frmTimedOut_Timer1);
    m_app.hide(WindowId::frmTimedOut);
}

void FrmTimedOut::btnOK_Click() {
    Timer1_Timer();
}

void FrmTimedOut::Form_Unload() {
    saveFixedPlacement(m_app.settings, kTimedOutPlacement, m_app.timedOutView.placement);
}

} // namespace orlix
