#include "core/dataview/frm_monitor_data.h"

#include "core/data/mdv_writer.h"
#include "core/dataview/data_set_loader.h"
#include "core/dataview/data_view_text.h"

#include <cstdio>

namespace orlix {

namespace {

constexpr std::string_view kWindowName = "frmMonitorData";
constexpr std::string_view kCompareFilter = "Monitor Data Files (*.mdv)|*.mdv|All Files (*.*)|*.*";
constexpr std::string_view kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
// The window asks for the whole screen on its first run; the windows layer
// fits it into the main window.
constexpr double kDefaultWidthShare = 1.0;
constexpr double kDefaultHeightShare = 1.0;

std::string timeText(const DateTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour % 100, t.minute % 100,
                  t.second % 100);
    return text;
}

} // namespace

void FrmMonitorData::Form_Load() {
    const ScreenSize screen = m.placement.screen();
    m.place(m.placement.restore(kWindowName, {screen.widthTwips * kDefaultWidthShare,
                                              screen.heightTwips * kDefaultHeightShare}));
    m.view.caption = "Monitor Data";
    refresh();
    m.timers.start(TimerId::frmMonitorData_tmrRefresh, kRefreshMs);
}

void FrmMonitorData::Form_Activate() {
    if (!m.timers.isRunning(TimerId::frmMonitorData_tmrRefresh)) {
        refresh();
        m.timers.start(TimerId::frmMonitorData_tmrRefresh, kRefreshMs);
    }
}

void FrmMonitorData::Form_Unload() {
    m.timers.stop(TimerId::frmMonitorData_tmrRefresh);
    m.placement.save(kWindowName, m.view.placement);
}

void FrmMonitorData::tmrRefresh_Timer() {
    if (!m.view.visible) {
        m.timers.stop(TimerId::frmMonitorData_tmrRefresh);
        return;
    }
    refresh();
}

void FrmMonitorData::replyArrived(std::string_view reply) {
    m_lastReply = m.clock.localNow();
    m_lastReplies.afterReply(reply, m.data);
}

void FrmMonitorData::cboScanSet_Click(int scanSet) {
    m_scanSet = scanSet;
    refresh();
}

void FrmMonitorData::btnCompare_Click() {
    FileDialogRequest request;
    request.filter = std::string(kCompareFilter);
    request.mustExist = true;
    const auto choice = m.dialogs.chooseOpenFile(request);
    if (!choice) {
        return;
    }
    LoadedDataSet loaded = loadDataSet(choice->path);
    if (!loaded.ok) {
        m.dialogs.message(loaded.error);
        return;
    }
    m_compared = std::move(loaded.data);
    m_comparedTitle = choice->name.empty() ? choice->path : choice->name;
    m.view.comparing = true;
    refresh();
}

void FrmMonitorData::btnEndCompare_Click() {
    m_compared.reset();
    m_comparedTitle.clear();
    m.view.comparing = false;
    refresh();
}

void FrmMonitorData::ckOnlyDifferences_Click(bool checked) {
    m.view.onlyDifferences = checked;
    refresh();
}

void FrmMonitorData::btnSaveAsText_Click() {
    FileDialogRequest request;
    request.filter = std::string(kTextFilter);
    request.initialName = "*.txt";
    request.promptOverwrite = true;
    const auto choice = m.dialogs.chooseSaveFile(request);
    if (!choice) {
        return;
    }
    refresh();
    if (const auto failure = replaceFileContents(choice->path, viewText(m.view.content))) {
        m.dialogs.message("The text file " + choice->path + " cannot be written: " + *failure);
    }
}

std::string FrmMonitorData::copyText(int group) const {
    const DataView& v = m.view.content;
    if (group >= 0 && static_cast<std::size_t>(group) < v.groups.size()) {
        return groupText(v.groups[static_cast<std::size_t>(group)], v);
    }
    return viewText(v);
}

void FrmMonitorData::refresh() {
    DataViewSources sources{m.data, m.display, &m_lastReplies, sourceLine(), ownTitle()};
    DataViewOptions options;
    options.scanSet = m_scanSet;
    options.compared = m_compared ? &*m_compared : nullptr;
    options.comparedTitle = m_comparedTitle;
    options.onlyDifferences = m.view.onlyDifferences;
    DataView view = buildDataView(sources, options);
    if (view == m.view.content) {
        return;
    }
    m.view.content = std::move(view);
    ++m.view.contentCount;
    m.changed();
}

std::string FrmMonitorData::openFileTitle() const {
    return m.data.FileIsOpen ? m.data.DataFileTitle : std::string();
}

std::string FrmMonitorData::ownTitle() const {
    if (m.link.MonitorConnected && m.link.linkUp()) {
        return "Unit on Com" + std::to_string(m.link.CommPortNumber);
    }
    const std::string file = openFileTitle();
    return file.empty() ? "This data" : file;
}

std::string FrmMonitorData::sourceLine() const {
    const std::string com = "Com" + std::to_string(m.link.CommPortNumber);
    const std::string file = openFileTitle();
    const std::string lastReply = m_lastReply ? timeText(*m_lastReply) : std::string();
    std::string line;
    if (m.link.MonitorConnected && m.link.linkUp()) {
        line = m.link.BootMode ? "The unit on " + com + " is in its boot loader"
                               : "Live from the unit on " + com;
        line += lastReply.empty() ? ", no reply yet" : ", last reply at " + lastReply;
        if (!file.empty()) {
            line += " (file " + file + " open)";
        }
    } else if (!file.empty()) {
        line = "From file " + file;
    } else if (!lastReply.empty()) {
        line = "Last reported by the unit on " + com + " at " + lastReply + ", not connected now";
    } else {
        line = "Nothing reported yet: no unit connected and no file open";
    }
    return line;
}

} // namespace orlix
