// What each window shows, held by core. The windows layer copies from these
// structs whenever core reports a change through ViewListener; a window
// keeps no state of its own that core needs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlix {

enum class WindowId : std::size_t {
    frmMain,
    frmConnect,
    frmTrying,
    frmChangeTries,
    frmTimedOut,
    frmCommLog,
    frmVersion,
    frmRGBlight,
    frmBugeyeMode,
    frmAbout,
    frmDownload,
    frmMonitorData,
    Count
};

inline constexpr std::size_t kWindowCount = static_cast<std::size_t>(WindowId::Count);

// Sized by its list, so that a name left out fails the build.
inline constexpr auto kWindowNames = std::to_array<std::string_view>(
    {"frmMain", "frmConnect", "frmTrying", "frmChangeTries", "frmTimedOut", "frmCommLog",
     "frmVersion", "frmRGBlight", "frmBugeyeMode", "frmAbout", "frmDownload", "frmMonitorData"});
static_assert(kWindowNames.size() == kWindowCount, "one name per window");

inline constexpr std::string_view windowName(WindowId id) {
    return kWindowNames[static_cast<std::size_t>(id)];
}

// Colours as 0x00BBGGRR, the form the indicator colours are given in.
inline constexpr std::uint32_t kColourRed = 255;
inline constexpr std::uint32_t kColourGreen = 65280;

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Position and size in twips (1440 to the inch), as the settings keep them.
struct Placement {
    double top = 0;
    double left = 0;
    double width = 0;
    double height = 0;
    WindowState state = WindowState::Normal;
    bool operator==(const Placement&) const = default;
};

// What every window has.
struct WindowView {
    bool visible = false;
    // Bumped each time core brings the window to the front.
    std::uint32_t raiseCount = 0;
    std::string caption;
    Placement placement;
    // Bumped each time core sets `placement`; the window then moves itself.
    std::uint32_t placementCount = 0;
};

enum class MenuItem : std::size_t {
    mnuFile,
    mnuFileNew,
    mnuFileOpen,
    mnuFileSave,
    mnuFileSaveAs,
    mnuFileClose,
    mnuFileExit,
    mnuMonitor,
    mnuMonitorUpdate,
    mnuMonitorOnline,
    mnuMonitorOffline,
    mnuMonitorDemo,
    mnuMonitorRun,
    mnuMonitorDownload, // chooses, checks and downloads a firmware image
    mnuMonitorCommLog,  // brings back the comm log window once Done has hidden it
    mnuMonitorData,
    mnuStroke,
    mnuRGBbacklight,
    mnuTestBugeyeMode,
    mnuHelp,
    mnuHelpTopics,
    mnuHelpAbout,
    mnuHelpVersion, // shows the version window, which nothing else brings up
    Count
};

inline constexpr std::size_t kMenuItemCount = static_cast<std::size_t>(MenuItem::Count);

// In the order of MenuItem; sized by its list, so that a name left out
// fails the build instead of leaving an item without a name.
inline constexpr auto kMenuItemNames = std::to_array<std::string_view>(
    {"mnuFile",          "mnuFileNew",         "mnuFileOpen",       "mnuFileSave",
     "mnuFileSaveAs",    "mnuFileClose",       "mnuFileExit",       "mnuMonitor",
     "mnuMonitorUpdate", "mnuMonitorOnline",   "mnuMonitorOffline", "mnuMonitorDemo",
     "mnuMonitorRun",    "mnuMonitorDownload", "mnuMonitorCommLog", "mnuMonitorData",
     "mnuStroke",        "mnuRGBbacklight",    "mnuTestBugeyeMode", "mnuHelp",
     "mnuHelpTopics",    "mnuHelpAbout",       "mnuHelpVersion"});
static_assert(kMenuItemNames.size() == kMenuItemCount, "one name per menu item");

inline constexpr std::string_view menuItemName(MenuItem item) {
    return kMenuItemNames[static_cast<std::size_t>(item)];
}

struct MainView : WindowView {
    std::array<bool, kMenuItemCount> menuEnabled{};
    bool busy = false; // hourglass pointer
    bool enabled(MenuItem item) const { return menuEnabled[static_cast<std::size_t>(item)]; }
    void setEnabled(MenuItem item, bool on) { menuEnabled[static_cast<std::size_t>(item)] = on; }
};

struct ConnectView : WindowView {
    int selectedPort = -1; // optCommPort index 0..7, -1 for none
    std::array<std::string, 8> portDevices{};
    std::string lbl1;
    bool ckAutoReConnect = true;
    std::uint32_t btnInd = kColourRed;
};

struct TryingView : WindowView {
    std::string lblLimit;
    std::string lblToGo;
};

struct ChangeTriesView : WindowView {
    std::string txtConnectRetryLimit;
    // Bumped when core sets the text box, so the window overwrites the user's text.
    std::uint32_t textCount = 0;
};

struct TimedOutView : WindowView {};

struct CommLogView : WindowView {
    // The log text; the window appends what is new since its last copy and
    // starts over when `clearCount` changes.
    std::string text;
    std::uint64_t clearCount = 0;
    std::string btnDisableAutoping = "Disable AutoPing";
    bool ckWindowEnabled = true;
    bool ckXmitQueueOverride = false;
    bool ckTimestamps = false;
    bool ckFileEnabled = false;
    bool ckFileEnabledEnabled = false;
    bool BtnLogFileEnabled = true;
    bool btnEndFileLogEnabled = false;
    bool btnCheckOffVisible = true;
    bool btnCheckOnVisible = false;
    std::uint32_t btnInd = kColourRed;
};

struct VersionView : WindowView {
    std::string lblMonitorFirmwareVersionValue = "V 2.0";
    std::string lblMonitorEpromVersionValue = "V 2.0";
    std::string lblLumeqVersionValue = "V 1.0.0";
};

struct RGBlightView : WindowView {
    int option = -1; // Option1 index: 0 Hardware, 1 Software, -1 none chosen
    int HScroll = 0;
    int HScroll_analog = 0;
    std::string lbl = "0";
    std::string lbl_analog = "0";
    bool slidersEnabled = true;
};

struct BugeyeView : WindowView {
    int HScrollBugeye = 0;
};

struct AboutView : WindowView {
    std::string lblTitle;
    std::string lblVersion;
    std::string lblDescription;
};

// The firmware download's progress window.
struct DownloadView : WindowView {
    double Gauge1 = 0; // percent, a fraction
    std::string lblTimeRemaining;
    std::string RetryLabel;
    std::string AddressBox;
    std::string lblImage;   // the image's file name
    std::string lblRecords; // records the unit confirmed, of all
    std::string lblBytes;   // data bytes confirmed, of all
    std::string lblRate;    // records and bytes a second
    std::string lblElapsed;
    std::string lblStatus;            // what happens now, or how it ended
    std::string btnCancel = "Cancel"; // "Close" once the download has ended
    bool btnCancelEnabled = true;
};

class ViewListener {
public:
    virtual ~ViewListener() = default;
    virtual void viewChanged(WindowId window) = 0;
};

} // namespace orlix
