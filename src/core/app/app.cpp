#include "core/app/app.h"

namespace orlix {

App::App(Ports p)
    : ports(p), settings(p.settings), timers(p.timers, gate),
      download(FirmwareDownload::Deps{timers, p.clock, p.dialogs, downloadView, xmit,
                                      [this](std::string_view text) { commLog.LogLine(text); },
                                      [this](bool visible) {
                                          visible ? show(WindowId::frmDownload)
                                                  : hide(WindowId::frmDownload);
                                      },
                                      [this] { touch(WindowId::frmDownload); },
                                      [this] { return link.MonitorConnected && serial.isOpen(); },
                                      [this] { return std::string_view(rx.rejectedText()); }}),
      serial(p.serial, settings), commLog(CommLog::Deps{commLogView, download, p.dialogs, p.clock,
                                                        [this] { touch(WindowId::frmCommLog); }}),
      xmit(TransmitQueue::Deps{
          .timers = timers,
          .gate = gate,
          .write =
              [this](std::string_view line) {
                  rx.dropUnfinished();
                  return serial.write(line);
              },
          .beep = [this](int hz, int ms) { ports.dialogs.beep(hz, ms); },
          .notice = [this](std::string_view text) { commLog.LogLine(text); },
          .policyFor = [this](std::string_view line) { return download.policyFor(line); },
          .lineLost = [this](std::string_view) { keepAlive.onLineLost(); },
          .unitRefuses = [this] { keepAlive.onUnitRefuses(); }}),
      rx(ReplyAssembler::Deps{link, timers, xmit, gate,
                              [this](const std::string& reply) {
                                  promptWatch.onReply(reply);
                                  download.afterReply(reply);
                                  frmRGBlight.sendHeldLevels();
                              },
                              [this](char c) { commLog.LogRxChar(c); },
                              [this] { commLog.LogRxLineEnd(); },
                              [this](std::string_view text) { commLog.LogLine(text); }}),
      promptWatch(PromptWatch::Deps{link, download,
                                    [this](const std::string& reply) {
                                        frmMain.dispatchReply(reply);
                                        frmMonitorData.replyArrived(reply);
                                    },
                                    [this](bool bootLoader) { keepAlive.onUnitMode(bootLoader); }}),
      protocol(data, link, *this), placement(settings), frmMain(*this), fileCommands(*this),
      frmConnect(*this), frmTrying(*this), frmChangeTries(*this), keepAlive(*this),
      frmTimedOut(*this), frmCommLog(*this), frmVersion(*this), frmRGBlight(*this),
      frmBugeyeMode(*this), frmAbout(*this),
      frmMonitorData(FrmMonitorData::Deps{
          monitorDataView, data, protocol.display(), link, p.clock, p.dialogs, timers, placement,
          [this] { touch(WindowId::frmMonitorData); },
          [this](const Placement& placed) { place(WindowId::frmMonitorData, placed); }}) {
    // Every menu item is enabled until the link state says otherwise.
    mainView.menuEnabled.fill(true);
    serial.setWriteObserver([this](std::string_view bytes) {
        if (link.CommLogWindowEnabled) {
            commLog.logSent(bytes);
        }
    });
    connectView.caption = "Monitor Connection";
    tryingView.caption = "Trying to Connect to Monitor";
    changeTriesView.caption = "Change Retry Limit";
    timedOutView.caption = "Monitor Connection Timed Out";
    commLogView.caption = "Monitor Communication Log";
    versionView.caption = "Version";
    rgbView.caption = "RGB Backlight Control";
    bugeyeView.caption = "Test Bugeye Mode";
    aboutView.caption = "About Orlix3";
    mainView.caption = "TVX Backlight Adjustment";
}

App::~App() = default;

// --- events ------------------------------------------------------------------

void App::runEvent(const std::function<void()>& event) {
    ++m_eventDepth;
    event();
    --m_eventDepth;
    if (m_eventDepth > 0) {
        return;
    }
    if (m_writeDue) {
        // The pause ended while a modal dialog ran inside the event.
        m_writeDue = false;
        runEvent([this] { xmit.onWritePause(); });
        return;
    }
    // Events held back during a write pause, or that arrived while this
    // one ran (a modal dialog lets the window system deliver them), run
    // now in arrival order, each as an event of its own.
    if (!gate.holding()) {
        gate.replay();
    }
    flushViews();
}

bool App::mustWait() const {
    return gate.holding() || m_eventDepth > 0;
}

void App::onSerialBytes(std::string_view bytes) {
    if (mustWait()) {
        gate.defer([this, held = std::string(bytes)] { onSerialBytes(held); });
        return;
    }
    runEvent([&] {
        const std::size_t taken = rx.receive(bytes);
        if (taken < bytes.size()) {
            // A prompt started a write pause: the rest waits for the write.
            gate.deferFirst(
                [this, rest = std::string(bytes.substr(taken))] { onSerialBytes(rest); });
        }
    });
}

void App::onSerialPortLost(const std::string& reason) {
    if (mustWait()) {
        gate.defer([this, reason] { onSerialPortLost(reason); });
        return;
    }
    runEvent([&] { keepAlive.onPortLost(reason); });
}

void App::onSerialOpenFailed(const std::string& reason) {
    if (mustWait()) {
        gate.defer([this, reason] { onSerialOpenFailed(reason); });
        return;
    }
    runEvent([&] { frmTrying.openFailed(reason); });
}

void App::onTimer(TimerId id) {
    if (id == TimerId::WritePause) {
        if (m_eventDepth > 0) {
            m_writeDue = true;
            return;
        }
        runEvent([this] { xmit.onWritePause(); });
        return;
    }
    if (mustWait()) {
        if (timers.holdTick(id)) {
            gate.defer([this, id] {
                if (timers.releaseTick(id)) {
                    runEvent([this, id] { dispatchTimer(id); });
                }
            });
        }
        return;
    }
    if (!timers.wanted(id, timers.stamp(id))) {
        return;
    }
    runEvent([this, id] { dispatchTimer(id); });
}

void App::dispatchTimer(TimerId id) {
    switch (id) {
    case TimerId::tmrSave:
        frmMain.tmrSave_Timer();
        break;
    case TimerId::tmrKickXmitQueue:
        xmit.tmrKickXmitQueue_Timer();
        break;
    case TimerId::tmrKeepAlive:
        keepAlive.tmrKeepAlive_Timer();
        break;
    case TimerId::tmrConnect:
        keepAlive.tmrConnect_Timer();
        break;
    case TimerId::frmTrying_tmrConnect:
        frmTrying.tmrConnect_Timer();
        break;
    case TimerId::frmTimedOut_Timer1:
        frmTimedOut.Timer1_Timer();
        break;
    case TimerId::frmMonitorData_tmrRefresh:
        frmMonitorData.tmrRefresh_Timer();
        break;
    case TimerId::ReplyTimeout:
        xmit.replyTimeout_Timer();
        break;
    case TimerId::WritePause:
    case TimerId::Count:
        break;
    }
}

void App::SendCommand(std::string_view text) {
    // While a download runs, only its own lines talk to the boot loader.
    if (download.allowsCommand(text)) {
        xmit.SendCommand(text);
    }
}

void App::act(const std::function<void()>& action) {
    if (mustWait()) {
        gate.defer([this, action] { act(action); });
        return;
    }
    runEvent(action);
}

void App::windowActivated(WindowId id) {
    act([this, id] {
        if (id == WindowId::frmMain || m_active == id || !isVisible(id)) {
            return;
        }
        m_active = id;
        runActivate(id);
    });
}

void App::windowPlaced(WindowId id, const Placement& p) {
    // Not an action of the tool: no need to wait for a write.
    window(id).placement = p;
}

void App::windowClosed(WindowId id) {
    act([this, id] {
        switch (id) {
        case WindowId::frmMain:
            closeMain();
            break;
        case WindowId::frmConnect:
            frmConnect.btnDone_Click();
            break;
        case WindowId::frmTrying:
            frmTrying.btnCancel_Click();
            break;
        case WindowId::frmChangeTries:
            frmChangeTries.btnCancel_Click();
            break;
        case WindowId::frmTimedOut:
            frmTimedOut.btnOK_Click();
            break;
        case WindowId::frmCommLog:
            frmCommLog.btnDone_Click();
            break;
        case WindowId::frmVersion:
            frmVersion.btnOK_Click();
            break;
        case WindowId::frmDownload:
            download.btnCancel_Click();
            break;
        case WindowId::frmRGBlight:
        case WindowId::frmBugeyeMode:
        case WindowId::frmAbout:
            // Windows without a close button of their own are unloaded
            // when closed, so they load afresh.
            unload(id);
            break;
        default:
            hide(id);
            break;
        }
    });
}

// --- start and close ------------------------------------------------------

void App::Main() {
    runEvent([this] {
        link.AppMode = 0;
        link.OfflineMode = false;
        link.OnlineMode = true;
        show(WindowId::frmMain);
    });
}

void App::closeMain() {
    if (m_quit || !fileCommands.saveChangesFirst() || !download.mayQuit()) {
        return;
    }
    runUnload(WindowId::frmMain);
    for (std::size_t i = 0; i < kWindowCount; ++i) {
        const auto id = static_cast<WindowId>(i);
        if (id != WindowId::frmMain && m_loaded[i]) {
            runUnload(id);
        }
    }
    m_quit = true;
    touch(WindowId::frmMain);
}

// --- windows ----------------------------------------------------------------

WindowView& App::window(WindowId id) {
    switch (id) {
    case WindowId::frmMain:
        return mainView;
    case WindowId::frmConnect:
        return connectView;
    case WindowId::frmTrying:
        return tryingView;
    case WindowId::frmChangeTries:
        return changeTriesView;
    case WindowId::frmTimedOut:
        return timedOutView;
    case WindowId::frmCommLog:
        return commLogView;
    case WindowId::frmVersion:
        return versionView;
    case WindowId::frmRGBlight:
        return rgbView;
    case WindowId::frmBugeyeMode:
        return bugeyeView;
    case WindowId::frmAbout:
        return aboutView;
    case WindowId::frmDownload:
        return downloadView;
    case WindowId::frmMonitorData:
    case WindowId::Count:
        break;
    }
    return monitorDataView;
}

const WindowView& App::window(WindowId id) const {
    return const_cast<App&>(*this).window(id);
}

void App::touch(WindowId id) {
    m_dirty[index(id)] = true;
    m_anyDirty = true;
    if (m_eventDepth == 0) {
        flushViews();
    }
}

void App::flushViews() {
    if (!m_anyDirty) {
        return;
    }
    m_anyDirty = false;
    for (std::size_t i = 0; i < kWindowCount; ++i) {
        if (m_dirty[i]) {
            m_dirty[i] = false;
            if (m_listener) {
                m_listener->viewChanged(static_cast<WindowId>(i));
            }
        }
    }
}

void App::setCaption(WindowId id, std::string caption) {
    window(id).caption = std::move(caption);
    touch(id);
}

void App::place(WindowId id, const Placement& p) {
    WindowView& w = window(id);
    w.placement = p;
    ++w.placementCount;
    touch(id);
}

void App::load(WindowId id) {
    if (m_loaded[index(id)]) {
        return;
    }
    m_loaded[index(id)] = true;
    runLoad(id);
    touch(id);
}

void App::show(WindowId id) {
    load(id);
    WindowView& w = window(id);
    w.visible = true;
    ++w.raiseCount;
    touch(id);
    if (id != WindowId::frmMain && m_active != id) {
        m_active = id;
        runActivate(id);
    }
}

void App::hide(WindowId id) {
    WindowView& w = window(id);
    if (w.visible) {
        w.visible = false;
        touch(id);
    }
    if (m_active == id) {
        m_active = WindowId::frmMain;
    }
}

void App::unload(WindowId id) {
    if (!m_loaded[index(id)]) {
        return;
    }
    runUnload(id);
    if (m_active == id) {
        m_active = WindowId::frmMain;
    }
}

void App::runLoad(WindowId id) {
    switch (id) {
    case WindowId::frmMain:
        frmMain.Form_Load();
        break;
    case WindowId::frmConnect:
        frmConnect.Form_Load();
        break;
    case WindowId::frmTrying:
        frmTrying.Form_Load();
        break;
    case WindowId::frmChangeTries:
        frmChangeTries.Form_Load();
        break;
    case WindowId::frmTimedOut:
        frmTimedOut.Form_Load();
        break;
    case WindowId::frmCommLog:
        frmCommLog.Form_Load();
        break;
    case WindowId::frmVersion:
        frmVersion.Form_Load();
        break;
    case WindowId::frmRGBlight:
        frmRGBlight.Form_Load();
        break;
    case WindowId::frmBugeyeMode:
        frmBugeyeMode.Form_Load();
        break;
    case WindowId::frmAbout:
        frmAbout.Form_Load();
        break;
    case WindowId::frmMonitorData:
        frmMonitorData.Form_Load();
        break;
    default:
        break;
    }
}

void App::runActivate(WindowId id) {
    switch (id) {
    case WindowId::frmTrying:
        frmTrying.Form_Activate();
        break;
    case WindowId::frmChangeTries:
        frmChangeTries.Form_Activate();
        break;
    case WindowId::frmTimedOut:
        frmTimedOut.Form_Activate();
        break;
    case WindowId::frmCommLog:
        frmCommLog.Form_Activate();
        break;
    case WindowId::frmVersion:
        frmVersion.Form_Activate();
        break;
    case WindowId::frmMonitorData:
        frmMonitorData.Form_Activate();
        break;
    default:
        break;
    }
}

void App::runUnload(WindowId id) {
    switch (id) {
    case WindowId::frmMain:
        frmMain.Form_Unload();
        break;
    case WindowId::frmConnect:
        frmConnect.Form_Unload();
        break;
    case WindowId::frmTrying:
        frmTrying.Form_Unload();
        break;
    case WindowId::frmChangeTries:
        frmChangeTries.Form_Unload();
        break;
    case WindowId::frmTimedOut:
        frmTimedOut.Form_Unload();
        break;
    case WindowId::frmCommLog:
        frmCommLog.Form_Unload();
        break;
    case WindowId::frmVersion:
        frmVersion.Form_Unload();
        break;
    case WindowId::frmBugeyeMode:
        frmBugeyeMode.Form_Unload();
        break;
    case WindowId::frmMonitorData:
        frmMonitorData.Form_Unload();
        break;
    default:
        break;
    }
    m_loaded[index(id)] = false;
    window(id).visible = false;
    touch(id);
}

// --- what replies do beyond the monitor data ----------------------------------

void App::firmwareVersionLabel(const std::string& text) {
    load(WindowId::frmVersion);
    versionView.lblMonitorFirmwareVersionValue = text;
    touch(WindowId::frmVersion);
}

void App::epromVersionLabel(const std::string& text) {
    load(WindowId::frmVersion);
    versionView.lblMonitorEpromVersionValue = text;
    touch(WindowId::frmVersion);
}

void App::controlModeReported(bool software) {
    frmRGBlight.controlModeReported(software);
}

} // namespace orlix
