#include "core/app/frm_main.h"

#include "core/app/app.h"
#include "core/protocol/data_request_table.h"

#include "orlix6/version.h"

#include <algorithm>
#include <string_view>

namespace orlix {

namespace {

constexpr std::int16_t kPastLastItem = kDataItemCount; // 45

// Whether two data sets differ in what a data file holds and a save
// protects. Left out: the versions, which going offline clears and every
// connection fills afresh, and the operating time and cycles, which run on
// by themselves.
bool sameSavedData(const MonitorData& a, const MonitorData& b) {
    for (const GroupId g : kDacGroups) {
        const DacGroup& x = a.group(g);
        const DacGroup& y = b.group(g);
        if (x.count != y.count || x.Value != y.Value || x.FValue != y.FValue ||
            x.PValue != y.PValue) {
            return false;
        }
    }
    return a.NumScanSets == b.NumScanSets && a.ScanSetNames == b.ScanSetNames &&
           a.ScanSetIncluded == b.ScanSetIncluded && a.ScanSetsReported == b.ScanSetsReported &&
           a.ModelNumber == b.ModelNumber && a.SerialNumber == b.SerialNumber &&
           a.PartNumber == b.PartNumber && a.CrtSerialNumber == b.CrtSerialNumber &&
           a.CrtPartNumber == b.CrtPartNumber && a.HVUpperLimit == b.HVUpperLimit &&
           a.HVLowerLimit == b.HVLowerLimit;
}

std::string versionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

} // namespace

void FrmMain::Form_Load() {
    App& app = m_app;

    // First run: make sure the comm log echoes. The flag is read from the
    // settings again at the end of start-up, so it is stored too; otherwise
    // a new user would see an empty log.
    if (app.settings.readInt32(keys::RunType) != 1) {
        app.load(WindowId::frmCommLog);
        if (app.commLogView.ckWindowEnabled && !app.link.CommLogWindowEnabled) {
            app.frmCommLog.ckWindowEnabled_Click(false);
            app.frmCommLog.ckWindowEnabled_Click(true);
        }
        if (!app.settings.store().get(keys::CommLogEnabled.section, keys::CommLogEnabled.key)) {
            app.settings.save(keys::CommLogEnabled, flagText(app.link.CommLogWindowEnabled));
        }
        app.settings.save(keys::RunType, "1");
    }

    app.place(WindowId::frmMain, app.placement.restore(windowName(WindowId::frmMain)));

    const std::string mode = app.settings.readText(keys::InitialMode);
    if (mode == "ServiceMode" || mode == "FactoryMode") {
        app.SetServiceMode();
    } else {
        app.SetUserMode();
    }

    // A port number below 1 would make the connection window try a port
    // that cannot exist.
    app.link.CommPortNumber = std::max<std::int16_t>(app.settings.readInt16(keys::CommPort), 1);

    app.AppCaption = "Orlix6 Backlight Adjustment Tool V" + versionText();
    app.setCaption(WindowId::frmMain, app.AppCaption);

    app.link.ConnectRetryLimit = app.settings.readInt16(keys::ConnectRetryLimit);
    app.link.CommLogWindowEnabled = true;

    app.show(WindowId::frmConnect);
    app.show(WindowId::frmCommLog);

    app.xmit.reset();
    app.link.AutoPingEnabled = true;
    app.link.BypassXmitQueue = false;
    app.download.DownloadKeepAliveMs = 7000;

    app.mainView.setEnabled(MenuItem::mnuMonitorOffline, false);
    app.touch(WindowId::frmMain);

    app.InitGlobalData();
}

void FrmMain::Form_Unload() {
    App& app = m_app;
    app.placement.save(windowName(WindowId::frmMain), app.mainView.placement);
    app.settings.save(keys::CommPort, app.link.CommPortNumber);
    app.settings.save(keys::CommLogEnabled, flagText(app.link.CommLogWindowEnabled));
    app.settings.save(keys::ConnectRetryLimit, app.link.ConnectRetryLimit);
    app.serial.close();
}

void FrmMain::mnuFileOpen_Click() {
    m_app.fileCommands.Open();
}

void FrmMain::mnuFileSave_Click() {
    m_app.fileCommands.Save();
}

void FrmMain::mnuFileSaveAs_Click() {
    m_app.fileCommands.SaveAs();
}

void FrmMain::mnuFileClose_Click() {
    m_app.fileCommands.Close();
}

void FrmMain::mnuFileExit_Click() {
    m_app.closeMain();
}

void FrmMain::mnuMonitorUpdate_Click() {
    DataItemIndex = 0;
    RequestDataItem(DataItemIndex);
    m_walkStarted = m_walkStarted || m_app.link.MonitorConnected;
}

void FrmMain::mnuMonitorOnline_Click() {
    m_app.show(WindowId::frmConnect);
}

void FrmMain::mnuMonitorOffline_Click() {
    m_app.GoOffline();
    // Stop the attempt too, or it would bring the link back by itself.
    m_app.frmTrying.stopAttempt();
    m_app.hide(WindowId::frmConnect);
    m_app.hide(WindowId::frmTrying);
}

void FrmMain::mnuMonitorDemo_Click() {
    m_app.GoDemoMode();
}

void FrmMain::mnuMonitorRun_Click() {
    m_app.SendCommand("g\r\n");
}

void FrmMain::mnuMonitorDownload_Click() {
    m_app.download.mnuMonitorDownload_Click();
}

void FrmMain::mnuMonitorCommLog_Click() {
    m_app.show(WindowId::frmCommLog);
}

void FrmMain::mnuMonitorData_Click() {
    m_app.show(WindowId::frmMonitorData);
}

void FrmMain::mnuRGBbacklight_Click() {
    m_app.show(WindowId::frmRGBlight);
}

void FrmMain::mnuTestBugeyeMode_Click() {
    m_app.show(WindowId::frmBugeyeMode);
}

void FrmMain::mnuHelpTopics_Click() {
    m_app.frmAbout.showHelpTopics();
}

void FrmMain::mnuHelpAbout_Click() {
    m_app.show(WindowId::frmAbout);
}

void FrmMain::mnuHelpVersion_Click() {
    m_app.show(WindowId::frmVersion);
}

void FrmMain::tmrSave_Timer() {
    RequestDataItem(DataItemIndex);
    // While no unit is connected the index only climbs; holding it just
    // past the table keeps it from overflowing and still brings the walk
    // back to item 2 when the link returns.
    if (DataItemIndex < kPastLastItem) {
        ++DataItemIndex;
    }
}

bool FrmMain::answersTheWalk() const {
    const TransmitQueue& xmit = m_app.xmit;
    if (!m_walkStarted || !xmit.AwaitingPrompt()) {
        return false;
    }
    std::string_view line = xmit.LastSentLine();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return !line.empty() && std::find(kDataItemCommands.begin(), kDataItemCommands.end(), line) !=
                                kDataItemCommands.end();
}

void FrmMain::dispatchReply(const std::string& reply) {
    ReplyProtocol& protocol = m_app.protocol;
    if (!answersTheWalk()) {
        protocol.ReplyDispatcher(reply);
        return;
    }
    const MonitorData before = m_app.data;
    protocol.ReplyDispatcher(reply);
    if (!sameSavedData(before, m_app.data)) {
        m_app.data.DataChanged = true;
    }
}

void FrmMain::RequestDataItem(std::int16_t index) {
    App& app = m_app;
    // The boot loader knows none of the data requests.
    if (!app.link.MonitorConnected || app.link.BootMode) {
        return;
    }
    if (index >= 0 && index < kDataItemCount) {
        const auto command = kDataItemCommands[static_cast<std::size_t>(index)];
        if (!command.empty()) {
            app.SendCommand(std::string(command) + "\r\n");
        }
    } else {
        DataItemIndex = 1;
    }
    if (index < kDataItemCount - 1) {
        app.timers.start(TimerId::tmrSave, kSaveIntervalMs);
    }
}

} // namespace orlix
