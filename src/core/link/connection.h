// Finding the unit: the connection window (port choice, OK, Offline, Done,
// Auto ReConnect), the attempt window that pings every 2 s and counts the
// tries, and the small window that changes the retry limit.
//
// Attempt states:
//   Port closed -> (window load, port chosen, OK, reconnect) -> Trying
//   Trying -> (a tick sees MonitorConnected) -> Connected, Online or Boot mode
//   Trying -> (tries used up, Auto ReConnect unchecked) -> Offline, time-out notice
//   Trying -> (Cancel) -> Offline
#pragma once

#include <cstdint>
#include <string>

namespace orlix {

class App;

class FrmConnect {
public:
    explicit FrmConnect(App& app) : m_app(app) {}

    void Form_Load();
    void Form_Unload();
    void optCommPort_Click(int index);
    void btnOK_Click();
    void btnOffline_Click();
    void btnDone_Click();
    void ckAutoReConnect_Click(bool checked);

    // OpenSerialPort: opens CommPortNumber with the fixed line settings.
    // On failure the system's reason goes to the status label and the log.
    bool OpenSerialPort();
    // Re-reads the device names shown beside the port options.
    void refreshPortDevices();

private:
    App& m_app;
    std::int16_t m_portNumber = 0; // the window's own copy
};

class FrmTrying {
public:
    static constexpr int kTryIntervalMs = 2000;
    static constexpr double kHeightTwips = 1470;
    static constexpr double kWidthTwips = 3825;

    explicit FrmTrying(App& app) : m_app(app) {}

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void tmrConnect_Timer();
    void btnCancel_Click();
    void btnChange_Click();
    // Ends a running attempt without any other effect.
    void stopAttempt();
    // The unit answered (in the mode MonitorInBootMode tells): the link is
    // up, Online or in Boot mode.
    void connected();
    // An open that went on in the background (a network connection) did
    // not succeed: reported as an open that failed, once per reason.
    void openFailed(const std::string& reason);

    std::int16_t TriesToGo = 0;

private:
    void showToGo();
    void reopenIfClosed();
    void reportOpenFailure();

    App& m_app;
    std::string m_lastReopenError;
};

class FrmChangeTries {
public:
    explicit FrmChangeTries(App& app) : m_app(app) {}

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    // The limit typed in the text box replaces ConnectRetryLimit.
    void btnOK_Click(const std::string& typed);
    void btnCancel_Click();

private:
    App& m_app;
};

} // namespace orlix
