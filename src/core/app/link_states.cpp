// The four link states and the main window caption. Each state change sets
// the flags, the caption, the Monitor menu and the indicators; none of them
// decides when the link changes.
#include "core/app/app.h"

namespace orlix {

namespace {

constexpr std::string_view kOnlineText = "Backlight on Com";
constexpr std::string_view kBootModeText = " -- BOOT MODE";
constexpr std::string_view kOfflineText = "No Backlight";
constexpr std::string_view kDemoText = "No monitor - Offline Demo Mode";
constexpr std::string_view kBadAppModeText = "Setting Appmode with bad value";

} // namespace

void App::SetMainCaption(std::string_view text) {
    if (text.empty()) {
        setCaption(WindowId::frmMain, AppCaption + " -- (No File)");
    } else {
        setCaption(WindowId::frmMain, AppCaption + " -- " + std::string(text));
    }
}

void App::setIndicators(std::uint32_t colour) {
    connectView.btnInd = colour;
    commLogView.btnInd = colour;
    touch(WindowId::frmConnect);
    touch(WindowId::frmCommLog);
}

void App::GoOnline() {
    link.OnlineMode = true;
    link.OfflineMode = link.BootMode = link.DemoMode = false;
    SetMainCaption(std::string(kOnlineText) + std::to_string(link.CommPortNumber));
    link.MonitorConnected = true;
    mainView.setEnabled(MenuItem::mnuMonitorUpdate, true);
    mainView.setEnabled(MenuItem::mnuMonitorOnline, false);
    mainView.setEnabled(MenuItem::mnuMonitorOffline, true);
    touch(WindowId::frmMain);
    connectView.btnInd = kColourGreen;
    touch(WindowId::frmConnect);
    ApplyAppMode();
}

void App::GoBootMode() {
    link.BootMode = true;
    link.OnlineMode = link.OfflineMode = link.DemoMode = false;
    SetMainCaption(std::string(kOnlineText) + std::to_string(link.CommPortNumber) +
                   std::string(kBootModeText));
    link.MonitorConnected = true;
    mainView.setEnabled(MenuItem::mnuMonitorUpdate, false);
    mainView.setEnabled(MenuItem::mnuMonitorOnline, false);
    mainView.setEnabled(MenuItem::mnuMonitorOffline, true);
    mainView.setEnabled(MenuItem::mnuMonitorRun, true);
    touch(WindowId::frmMain);
    data.FirmwareVersionCode = 0;
    ApplyAppMode();
}

void App::GoOffline() {
    link.OfflineMode = true;
    link.OnlineMode = link.BootMode = link.DemoMode = false;
    SetMainCaption(kOfflineText);
    link.MonitorConnected = false;
    timers.stop(TimerId::tmrConnect);
    mainView.setEnabled(MenuItem::mnuMonitorUpdate, false);
    mainView.setEnabled(MenuItem::mnuMonitorOnline, true);
    mainView.setEnabled(MenuItem::mnuMonitorDemo, true);
    mainView.setEnabled(MenuItem::mnuMonitorOffline, false);
    mainView.setEnabled(MenuItem::mnuMonitorRun, false);
    touch(WindowId::frmMain);
    load(WindowId::frmVersion);
    // Versions read from a data file belong to its data set, which going
    // offline does not end; the window's labels are about the unit.
    if (!data.IdentityFromFile) {
        data.FirmwareVersion.clear();
        data.RomVersion.clear();
    }
    versionView.lblMonitorFirmwareVersionValue.clear();
    versionView.lblMonitorEpromVersionValue.clear();
    touch(WindowId::frmVersion);
    setIndicators(kColourRed);
    ApplyAppMode();
}

void App::GoDemoMode() {
    GoOffline();
    link.OfflineMode = false;
    link.DemoMode = true;
    SetMainCaption(kDemoText);
    mainView.menuEnabled.fill(true);
    touch(WindowId::frmMain);
}

void App::ApplyAppMode() {
    switch (link.AppMode) {
    case 0:
        SetUserMode();
        break;
    case 1:
    case 2:
        SetServiceMode();
        break;
    default:
        ports.dialogs.message(kBadAppModeText);
        break;
    }
}

void App::InitGlobalData() {
    GoOffline();
    SetDefaultCountsAndNames(data);
    data.DataFileExt = kDataFileExt;
    data.DataFileHeader = kDataFileHeader;
    data.DataFileVersion = kDataFileVersion;
    data.FileIsOpen = false;
    data.DataChanged = false;
    data.DataFilePath.clear();
    data.ModelNumber.clear();
    data.SerialNumber.clear();
    data.FirmwareVersion.clear();
    link.AutoPingEnabled = true;
    link.MonitorConnected = false;
    data.CurrentScanSet = 0;
    download.RecordRetries = 0;
    download.RecordRetryLimit = 5;
    link.CommLogWindowEnabled = settings.readFlag(keys::CommLogEnabled);
    link.CommPortNumber = std::max<std::int16_t>(settings.readInt16(keys::CommPort), 1);
    ClearCapabilities(data);
    frmCommLog.syncWithFlags();
}

} // namespace orlix
