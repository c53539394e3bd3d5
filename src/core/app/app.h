// The root object: the whole tool, with its state, its windows' logic and
// its links to the outside world through the ports.
//
// Core is driven by three kinds of event and nothing else: bytes from the
// serial line (onSerialBytes, onSerialPortLost), a timer tick (onTimer) and
// a user action (act). Each event runs to its end; while a command line
// waits for its write pause, later events are held back (EventGate). After
// each event, the windows whose view changed are told once (ViewListener).
#pragma once

#include "core/app/event_gate.h"
#include "core/app/file_commands.h"
#include "core/app/frm_about.h"
#include "core/app/frm_bugeye.h"
#include "core/app/frm_main.h"
#include "core/app/frm_rgblight.h"
#include "core/app/frm_version.h"
#include "core/app/placement.h"
#include "core/app/settings.h"
#include "core/app/timer_control.h"
#include "core/app/views.h"
#include "core/data/monitor_data.h"
#include "core/dataview/frm_monitor_data.h"
#include "core/download/firmware_download.h"
#include "core/link/connection.h"
#include "core/link/keep_alive.h"
#include "core/link/link_flags.h"
#include "core/link/prompt_watch.h"
#include "core/link/reply_assembler.h"
#include "core/link/serial_line.h"
#include "core/link/transmit_queue.h"
#include "core/log/comm_log.h"
#include "core/log/frm_comm_log.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/serial_port.h"
#include "core/ports/settings_store.h"
#include "core/ports/system_tools.h"
#include "core/ports/timers.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_protocol.h"

#include <functional>
#include <string>
#include <string_view>

namespace orlix {

struct Ports {
    SerialPort& serial;
    Timers& timers;
    Clock& clock;
    SettingsStore& settings;
    Dialogs& dialogs;
    // The help viewer and system information; none: neither is available.
    SystemTools* system = nullptr;
};

class App : private ProtocolEvents {
public:
    explicit App(Ports ports);
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    ~App() override;

    // --- events from outside -------------------------------------------
    void onSerialBytes(std::string_view bytes);
    // The device went away (adapter pulled, line hung up).
    void onSerialPortLost(const std::string& reason);
    // An open that returned pending failed ("DEVICE: reason").
    void onSerialOpenFailed(const std::string& reason);
    void onTimer(TimerId id);
    // Every user action (menu command, button, key) comes through here.
    void act(const std::function<void()>& action);
    // The user brought a window to the front.
    void windowActivated(WindowId id);
    // A window was moved or resized by the user; kept for its unload.
    void windowPlaced(WindowId id, const Placement& placement);
    // The user closed a window with its title bar button.
    void windowClosed(WindowId id);

    void setViewListener(ViewListener* listener) { m_listener = listener; }
    // Tells the windows now what changed (before a modal dialog opens).
    void flushViews();

    // --- start and close ------------------------------------------------
    // Process entry: sets the first flags and loads the main window.
    void Main();
    // The main window closes: its close step, then every window unloads.
    // Runs inside a user action (Exit, the main window's close button).
    void closeMain();
    bool quitRequested() const { return m_quit; }

    // --- link states and caption -----------------------------------------
    void GoOnline();
    void GoBootMode();
    void GoOffline();
    void GoDemoMode();
    void ApplyAppMode();
    void SetUserMode() { link.AppMode = 0; }
    void SetServiceMode() {}
    void SetMainCaption(std::string_view text);
    void InitGlobalData();
    void setIndicators(std::uint32_t colour);

    // --- windows ------------------------------------------------------------
    WindowView& window(WindowId id);
    const WindowView& window(WindowId id) const;
    // Loads the window (its load step runs once), shows it, brings it to
    // the front and makes it the active window (its activate step runs
    // when it was not active).
    void show(WindowId id);
    // Loads the window without showing it.
    void load(WindowId id);
    void hide(WindowId id);
    // Runs the window's unload step; the next show loads it afresh.
    void unload(WindowId id);
    bool isLoaded(WindowId id) const { return m_loaded[index(id)]; }
    bool isVisible(WindowId id) const { return window(id).visible; }
    WindowId activeWindow() const { return m_active; }
    // Marks a window's view as changed; the listener hears of it once,
    // when the current event ends.
    void touch(WindowId id);
    void setCaption(WindowId id, std::string caption);
    // Moves the window to a placement of core's choosing.
    void place(WindowId id, const Placement& placement);

    // --- shared state -------------------------------------------------------
    Ports ports;
    Settings settings;
    EventGate gate;
    TimerControl timers;
    MonitorData data;
    LinkFlags link;
    FirmwareDownload download;
    std::string AppCaption;

    MainView mainView;
    ConnectView connectView;
    TryingView tryingView;
    ChangeTriesView changeTriesView;
    TimedOutView timedOutView;
    CommLogView commLogView;
    VersionView versionView;
    RGBlightView rgbView;
    BugeyeView bugeyeView;
    AboutView aboutView;
    DownloadView downloadView;
    MonitorDataView monitorDataView;

    SerialLine serial;
    CommLog commLog;
    TransmitQueue xmit;
    ReplyAssembler rx;
    PromptWatch promptWatch;
    ReplyProtocol protocol;
    WindowPlacement placement;
    FrmMain frmMain;
    FileCommands fileCommands;
    FrmConnect frmConnect;
    FrmTrying frmTrying;
    FrmChangeTries frmChangeTries;
    KeepAlive keepAlive;
    FrmTimedOut frmTimedOut;
    FrmCommLog frmCommLog;
    FrmVersion frmVersion;
    FrmRGBlight frmRGBlight;
    FrmBugeyeMode frmBugeyeMode;
    FrmAbout frmAbout;
    FrmMonitorData frmMonitorData;

    // SendCommand: the one way a command line leaves the tool.
    void SendCommand(std::string_view text);

private:
    // ProtocolEvents
    void firmwareVersionLabel(const std::string& text) override;
    void epromVersionLabel(const std::string& text) override;
    void controlModeReported(bool software) override;
    void downloadRecordReply(std::string_view text) override { download.cmd_colon(text); }
    void downloadAddressReply(std::string_view text) override { download.cmd_a(text); }
    void downloadBReply(std::string_view text) override { download.cmd_b(text); }

    static std::size_t index(WindowId id) { return static_cast<std::size_t>(id); }
    void runLoad(WindowId id);
    void runActivate(WindowId id);
    void runUnload(WindowId id);
    void dispatchTimer(TimerId id);

    // Runs an outside event: held back during a write pause or while another
    // event runs (a modal dialog can let one in); views flushed after.
    void runEvent(const std::function<void()>& event);
    bool mustWait() const;

    ViewListener* m_listener = nullptr;
    std::array<bool, kWindowCount> m_loaded{};
    std::array<bool, kWindowCount> m_dirty{};
    bool m_anyDirty = false;
    int m_eventDepth = 0;
    bool m_writeDue = false;
    WindowId m_active = WindowId::frmMain;
    bool m_quit = false;
};

} // namespace orlix
