#include "core/log/frm_comm_log.h"

#include "core/app/app.h"

#include <filesystem>
#include <system_error>

namespace orlix {

namespace {

constexpr std::string_view kDisableAutoPing = "Disable AutoPing";
constexpr std::string_view kEnableAutoPing = "Enable AutoPing";
constexpr std::string_view kLogFileFilter =
    "Monitor Comm Log Files(*.mcl)|*.mcl|Text Files(*.txt)|*.txt|All files(*.*)|*.*";

} // namespace

void FrmCommLog::touch() {
    m_app.touch(WindowId::frmCommLog);
}

void FrmCommLog::Form_Load() {
    App& app = m_app;
    CommLogView& v = app.commLogView;
    app.commLog.FileLogEnabled = false;
    ckWindowEnabled_Click(true);
    v.ckFileEnabled = false;
    ckFileEnabled_Click();
    app.place(WindowId::frmCommLog, app.placement.restore(windowName(WindowId::frmCommLog)));

    if (app.settings.readText(keys::AutoPingEnabled) == "1") {
        app.link.AutoPingEnabled = true;
        v.btnDisableAutoping = kDisableAutoPing;
    } else {
        app.link.AutoPingEnabled = false;
        v.btnDisableAutoping = kEnableAutoPing;
    }
    if (app.settings.readText(keys::BypassTransmitQueue) == "1") {
        BypassAtLoad = true;
        ckXmitQueueOverride_Click(true);
    } else {
        BypassAtLoad = false;
        ckXmitQueueOverride_Click(false);
    }
    ckTimestamps_Click(app.settings.readFlag(keys::CommLogTimestamps));
    touch();
}

void FrmCommLog::Form_Activate() {
    CommLogShown = true;
}

void FrmCommLog::Form_Unload() {
    App& app = m_app;
    app.placement.save(windowName(WindowId::frmCommLog), app.commLogView.placement);
    app.settings.save(keys::CommLogOpen, CommLogShown ? "1" : "0");
    app.settings.save(keys::AutoPingEnabled, app.link.AutoPingEnabled ? "1" : "0");
    app.settings.save(keys::BypassTransmitQueue, BypassAtLoad ? "1" : "0");
    app.settings.save(keys::CommLogTimestamps, flagText(app.commLog.timestamps()));
    app.commLog.closeFile();
}

void FrmCommLog::txtCommLog_KeyPress(char c) {
    App& app = m_app;
    if (app.link.BypassXmitQueue) {
        app.serial.write(std::string_view(&c, 1));
        if (c == '\r') {
            app.serial.write("\n");
        }
        return;
    }
    if (c == '\r') {
        std::string line;
        line.swap(m_lineBuffer);
        app.SendCommand(line + "\r\n");
        return;
    }
    m_lineBuffer += c;
}

void FrmCommLog::btnTerse_Click() {
    m_app.SendCommand("CU\r\n");
}

void FrmCommLog::btnVerbose_Click() {
    m_app.SendCommand("CV\r\n");
}

void FrmCommLog::btnCheckOff_Click() {
    m_app.SendCommand("cz0\r\n");
    m_app.commLogView.btnCheckOffVisible = false;
    m_app.commLogView.btnCheckOnVisible = true;
    touch();
}

void FrmCommLog::btnCheckOn_Click() {
    m_app.SendCommand("cz1\r\n");
    m_app.commLogView.btnCheckOffVisible = true;
    m_app.commLogView.btnCheckOnVisible = false;
    touch();
}

void FrmCommLog::btnDisableAutoping_Click() {
    App& app = m_app;
    if (app.link.AutoPingEnabled) {
        app.link.AutoPingEnabled = false;
        app.commLogView.btnDisableAutoping = kEnableAutoPing;
    } else {
        app.link.AutoPingEnabled = true;
        app.commLogView.btnDisableAutoping = kDisableAutoPing;
        app.timers.start(TimerId::tmrKeepAlive, KeepAlive::kAfterAutoPingOnMs);
    }
    touch();
}

void FrmCommLog::btnReConnect_Click() {
    App& app = m_app;
    app.GoOffline();
    app.hide(WindowId::frmConnect);
    app.hide(WindowId::frmTrying);
    app.show(WindowId::frmConnect);
    app.show(WindowId::frmTrying);
}

void FrmCommLog::btnClrXQ_Click() {
    m_app.xmit.clearQueuedLines();
}

void FrmCommLog::btnClearCommLogWindow_Click() {
    m_app.commLog.clearWindow();
}

void FrmCommLog::ckWindowEnabled_Click(bool checked) {
    m_app.commLogView.ckWindowEnabled = checked;
    m_app.link.CommLogWindowEnabled = checked;
    touch();
}

void FrmCommLog::syncWithFlags() {
    CommLogView& v = m_app.commLogView;
    v.ckWindowEnabled = m_app.link.CommLogWindowEnabled;
    v.btnDisableAutoping = m_app.link.AutoPingEnabled ? kDisableAutoPing : kEnableAutoPing;
    v.ckXmitQueueOverride = m_app.link.BypassXmitQueue;
    touch();
}

void FrmCommLog::ckXmitQueueOverride_Click(bool checked) {
    m_app.commLogView.ckXmitQueueOverride = checked;
    m_app.link.BypassXmitQueue = checked;
    touch();
}

void FrmCommLog::ckTimestamps_Click(bool checked) {
    m_app.commLogView.ckTimestamps = checked;
    m_app.commLog.setTimestamps(checked);
    touch();
}

std::string FrmCommLog::logFileName(int month, int day, int year, int hour, int minute,
                                    int second) {
    return "Orlix_LogFile_" + std::to_string(month) + "_" + std::to_string(day) + "_" +
           std::to_string(year) + "_" + std::to_string(hour) + "_" + std::to_string(minute) + "_" +
           std::to_string(second);
}

void FrmCommLog::BtnLogFile_Click() {
    App& app = m_app;
    CommLogView& v = app.commLogView;
    if (app.commLog.LogFileOpen()) {
        app.commLog.closeFile();
        v.ckFileEnabledEnabled = false;
        v.ckFileEnabled = false;
        touch();
        return;
    }
    FileDialogRequest request;
    request.filter = std::string(kLogFileFilter);
    std::error_code ec;
    request.initialDir = std::filesystem::current_path(ec).string();
    const DateTime now = app.ports.clock.localNow();
    request.initialName =
        logFileName(now.month, now.day, now.year, now.hour, now.minute, now.second);
    // The dialog asks before an existing file is emptied.
    request.promptOverwrite = true;
    const auto choice = app.ports.dialogs.chooseSaveFile(request);
    if (!choice) {
        return;
    }
    std::string error;
    if (!app.commLog.openFile(choice->path, error)) {
        app.ports.dialogs.message("The log file " + choice->path + " cannot be opened: " + error);
        return;
    }
    v.ckFileEnabledEnabled = true;
    v.BtnLogFileEnabled = false;
    v.btnEndFileLogEnabled = true;
    touch();
}

void FrmCommLog::btnEndFileLog_Click() {
    App& app = m_app;
    CommLogView& v = app.commLogView;
    app.commLog.closeFile();
    app.commLog.FileLogEnabled = false;
    v.ckFileEnabled = false;
    v.ckFileEnabledEnabled = false;
    v.BtnLogFileEnabled = true;
    v.btnEndFileLogEnabled = false;
    touch();
}

void FrmCommLog::ckFileEnabled_Click() {
    App& app = m_app;
    if (app.commLog.LogFileOpen()) {
        app.commLog.FileLogEnabled = !app.commLog.FileLogEnabled;
    } else {
        app.commLog.FileLogEnabled = false;
    }
    app.commLogView.ckFileEnabled = app.commLog.FileLogEnabled;
    touch();
}

void FrmCommLog::btnDone_Click() {
    CommLogShown = false;
    m_app.hide(WindowId::frmCommLog);
}

} // namespace orlix
