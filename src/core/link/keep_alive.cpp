#include "core/link/keep_alive.h"

#include "core/app/app.h"

namespace orlix {

void KeepAlive::tmrKeepAlive_Timer() {
    App& app = m_app;
    if (app.connectView.ckAutoReConnect && app.link.AutoPingEnabled && app.link.MonitorConnected) {
        app.SendCommand("p\r\n");
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

void KeepAlive::tmrConnect_Timer() {
    App& app = m_app;
    if (app.link.MonitorConnected) {
        linkLost();
        app.frmConnect.btnOK_Click();
    }
    app.timers.stop(TimerId::tmrConnect);
    app.timers.stop(TimerId::tmrKeepAlive);
}

void KeepAlive::onPortLost(const std::string& reason) {
    App& app = m_app;
    app.serial.close();
    const bool connected = app.link.OnlineMode || app.link.BootMode;
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
