#include "core/link/connection.h"

#include "core/app/app.h"

#include <charconv>

namespace orlix {

namespace {

constexpr std::string_view kGiveUpText = "Unable to connect to monitor. Make sure the"
                                         " monitor is connected and turned on, then click OK to"
                                         " try again, Offline to work without a monitor, or Exit to"
                                         " quit the application.";
constexpr std::string_view kConnectedText = "Connected on the selected port.";
constexpr std::string_view kBadLimitText =
    "The retry limit must be a whole number from 1 to 32767.";

std::string portErrorText(int port) {
    return "Comm Port Error  on Com" + std::to_string(port) + " -> try another port";
}

// The port of the link did not open: said in the connection window and the log.
void sayCannotOpen(App& app) {
    const std::string why =
        "Cannot open Com" + std::to_string(app.link.CommPortNumber) + ": " + app.serial.lastError();
    app.connectView.lbl1 = why;
    app.touch(WindowId::frmConnect);
    app.commLog.LogLine(why);
}

} // namespace

// --- frmConnect ------------------------------------------------------------------

void FrmConnect::Form_Load() {
    App& app = m_app;
    app.place(WindowId::frmConnect, app.placement.restore(windowName(WindowId::frmConnect)));
    refreshPortDevices();
    m_portNumber = app.link.CommPortNumber;
    app.setIndicators(kColourRed);
    app.connectView.lbl1 = "Trying port " + std::to_string(m_portNumber);
    app.touch(WindowId::frmConnect);
    if (m_portNumber >= kFirstPort && m_portNumber <= kLastPort) {
        app.connectView.selectedPort = m_portNumber - 1;
        optCommPort_Click(m_portNumber - 1);
    }
    if (OpenSerialPort()) {
        app.show(WindowId::frmTrying);
    }
}

void FrmConnect::Form_Unload() {
    m_app.placement.save(windowName(WindowId::frmConnect), m_app.connectView.placement);
}

void FrmConnect::refreshPortDevices() {
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        m_app.connectView.portDevices[static_cast<std::size_t>(port - 1)] =
            m_app.serial.deviceFor(port);
    }
    m_app.touch(WindowId::frmConnect);
}

bool FrmConnect::OpenSerialPort() {
    App& app = m_app;
    app.serial.close();
    if (app.link.MonitorConnected) {
        app.link.MonitorConnected = false;
    }
    if (app.serial.open(app.link.CommPortNumber)) {
        return true;
    }
    sayCannotOpen(app);
    // The caption, menus and indicators must not go on saying Online.
    if (app.link.linkUp()) {
        app.GoOffline();
    }
    return false;
}

void FrmConnect::optCommPort_Click(int index) {
    App& app = m_app;
    if (index < 0 || index >= kLastPort) {
        app.ports.dialogs.message("Comm Port Error -> try another port");
        return;
    }
    const int port = index + 1;
    app.connectView.selectedPort = index;
    app.touch(WindowId::frmConnect);
    if (port == app.link.CommPortNumber && app.serial.isOpen()) {
        return;
    }
    app.link.CommPortNumber = static_cast<std::int16_t>(port);
    if (OpenSerialPort()) {
        app.show(WindowId::frmTrying);
    } else {
        app.ports.dialogs.message(portErrorText(port));
    }
}

void FrmConnect::btnOK_Click() {
    App& app = m_app;
    // After the device went away, OK is how the user brings it back.
    if (!app.serial.isOpen() && !OpenSerialPort()) {
        app.ports.dialogs.message(portErrorText(app.link.CommPortNumber));
        return;
    }
    app.show(WindowId::frmTrying);
}

void FrmConnect::btnOffline_Click() {
    m_app.GoOffline();
    // A hidden attempt would otherwise bring the link back by itself.
    m_app.frmTrying.stopAttempt();
    m_app.hide(WindowId::frmTrying);
    m_app.hide(WindowId::frmConnect);
}

void FrmConnect::btnDone_Click() {
    m_app.hide(WindowId::frmConnect);
}

void FrmConnect::ckAutoReConnect_Click(bool checked) {
    m_app.connectView.ckAutoReConnect = checked;
    m_app.touch(WindowId::frmConnect);
}

// --- frmTrying ---------------------------------------------------------------

void FrmTrying::Form_Load() {
    App& app = m_app;
    Placement p = app.placement.restore(windowName(WindowId::frmTrying));
    p.height = kHeightTwips;
    p.width = kWidthTwips;
    app.place(WindowId::frmTrying, p);
}

void FrmTrying::Form_Unload() {
    m_app.placement.save(windowName(WindowId::frmTrying), m_app.tryingView.placement);
}

void FrmTrying::showToGo() {
    // Under Auto ReConnect the count runs out but the tries go on; a
    // negative count would only confuse, so the label is then left empty.
    m_app.tryingView.lblToGo = TriesToGo >= 1 ? std::to_string(TriesToGo) : std::string();
    m_app.touch(WindowId::frmTrying);
}

void FrmTrying::reopenIfClosed() {
    App& app = m_app;
    if (app.serial.isOpen() || !app.connectView.ckAutoReConnect) {
        return;
    }
    const int port = app.link.CommPortNumber;
    if (app.serial.open(port)) {
        // A network connection is only on its way; whether it opens is
        // known later (openFailed, or the unit's answer).
        if (!app.serial.openPending()) {
            m_lastReopenError.clear();
            app.commLog.LogLine("Com" + std::to_string(port) + " is open again");
        }
        return;
    }
    reportOpenFailure();
}

void FrmTrying::reportOpenFailure() {
    // Said once per reason, not every two seconds.
    if (m_app.serial.lastError() != m_lastReopenError) {
        m_lastReopenError = m_app.serial.lastError();
        sayCannotOpen(m_app);
    }
}

void FrmTrying::openFailed(const std::string& reason) {
    m_app.serial.openFailed(reason);
    reportOpenFailure();
    // The caption, menus and indicators must not go on saying Online.
    if (m_app.link.linkUp()) {
        m_app.GoOffline();
    }
}

void FrmTrying::Form_Activate() {
    App& app = m_app;
    app.GoOffline();
    app.tryingView.lblLimit = std::to_string(app.link.ConnectRetryLimit);
    TriesToGo = app.link.ConnectRetryLimit;
    showToGo();
    reopenIfClosed();
    app.timers.start(TimerId::frmTrying_tmrConnect, kTryIntervalMs);
    app.SendCommand("p\r\n");
}

void FrmTrying::tmrConnect_Timer() {
    App& app = m_app;
    if (app.link.MonitorConnected) {
        m_lastReopenError.clear(); // a later failure is news again
        connected();
        return;
    }
    // Saturates instead of counting down for ever under Auto ReConnect.
    if (TriesToGo > 0) {
        --TriesToGo;
    }
    if (TriesToGo < 1 && !app.connectView.ckAutoReConnect) {
        app.GoOffline();
        stopAttempt();
        app.hide(WindowId::frmTrying);
        app.show(WindowId::frmTimedOut);
        app.connectView.lbl1 = kGiveUpText;
        app.touch(WindowId::frmConnect);
        return;
    }
    showToGo();
    reopenIfClosed();
    app.xmit.ClearXmitQueue();
    app.SendCommand("p\r\n");
    app.timers.start(TimerId::frmTrying_tmrConnect, kTryIntervalMs);
}

void FrmTrying::connected() {
    App& app = m_app;
    app.timers.stop(TimerId::frmTrying_tmrConnect);
    app.timers.stop(TimerId::tmrConnect);
    app.timers.start(TimerId::tmrKeepAlive, KeepAlive::kAfterConnectMs);
    if (app.link.MonitorInBootMode) {
        app.GoBootMode();
    } else {
        app.GoOnline();
    }
    app.mainView.setEnabled(MenuItem::mnuMonitorOffline, true);
    app.touch(WindowId::frmMain);
    app.connectView.lbl1 = kConnectedText;
    app.setIndicators(kColourGreen);
    if (!app.link.MonitorInBootMode) {
        app.SendCommand("df\r\n");
    }
    app.hide(WindowId::frmTrying);
}

void FrmTrying::btnCancel_Click() {
    stopAttempt();
    m_app.hide(WindowId::frmTrying);
    m_app.GoOffline();
}

void FrmTrying::btnChange_Click() {
    m_app.show(WindowId::frmChangeTries);
}

void FrmTrying::stopAttempt() {
    m_app.timers.stop(TimerId::frmTrying_tmrConnect);
    // The tries are the attempt's business: its last ping is not sent
    // again once the attempt has ended.
    m_app.xmit.abandonOutstanding();
}

// --- frmChangeTries --------------------------------------------------------------

namespace {
const FixedPlacementKeys kTriesPlacement{&keys::TriesWindowState, &keys::TriesTop,
                                         &keys::TriesLeft};
} // namespace

void FrmChangeTries::Form_Load() {
    m_app.place(WindowId::frmChangeTries, m_app.placement.restoreFixed(kTriesPlacement));
}

void FrmChangeTries::Form_Activate() {
    m_app.changeTriesView.txtConnectRetryLimit = std::to_string(m_app.link.ConnectRetryLimit);
    ++m_app.changeTriesView.textCount;
    m_app.touch(WindowId::frmChangeTries);
}

void FrmChangeTries::btnOK_Click(const std::string& typed) {
    App& app = m_app;
    const auto first = typed.find_first_not_of(" \t");
    const auto last = typed.find_last_not_of(" \t");
    int value = 0;
    bool ok = first != std::string::npos;
    if (ok) {
        const char* begin = typed.data() + first;
        const char* end = typed.data() + last + 1;
        const auto [ptr, ec] = std::from_chars(begin, end, value);
        ok = ec == std::errc() && ptr == end && value >= 1 && value <= INT16_MAX;
    }
    if (!ok) {
        app.ports.dialogs.message(kBadLimitText);
        return;
    }
    app.link.ConnectRetryLimit = static_cast<std::int16_t>(value);
    app.hide(WindowId::frmChangeTries);
}

void FrmChangeTries::btnCancel_Click() {
    m_app.hide(WindowId::frmChangeTries);
}

void FrmChangeTries::Form_Unload() {
    saveFixedPlacement(m_app.settings, kTriesPlacement, m_app.changeTriesView.placement);
}

} // namespace orlix
