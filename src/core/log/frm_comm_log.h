// The comm log window's logic: its buttons (fixed commands, AutoPing,
// ReConnect, queue clear, log file), its check boxes, and the typing that
// sends commands by hand, through the transmit queue or straight to the
// port ("Xmit Q Bypass").
#pragma once

#include <string>

namespace orlix {

class App;

class FrmCommLog {
public:
    explicit FrmCommLog(App& app) : m_app(app) {}

    void Form_Load();
    void Form_Activate();
    void Form_Unload();

    // A key typed into the log; `c` is the character (CR for Enter).
    void txtCommLog_KeyPress(char c);

    void btnTerse_Click();
    void btnVerbose_Click();
    void btnCheckOff_Click();
    void btnCheckOn_Click();
    void btnDisableAutoping_Click();
    void btnReConnect_Click();
    void btnClrXQ_Click();
    void btnClearCommLogWindow_Click();
    void ckWindowEnabled_Click(bool checked);
    void ckXmitQueueOverride_Click(bool checked);
    void ckTimestamps_Click(bool checked);
    void BtnLogFile_Click();
    void btnEndFileLog_Click();
    void ckFileEnabled_Click();
    void btnDone_Click();

    // Shows the echo, ping and bypass flags as they stand once start-up
    // has set them, so that no control says the opposite of what happens.
    void syncWithFlags();

    bool CommLogShown = false;
    bool BypassAtLoad = false;

    static std::string logFileName(int month, int day, int year, int hour, int minute, int second);

private:
    void touch();

    App& m_app;
    std::string m_lineBuffer;
};

} // namespace orlix
