#include "core/app/frm_bugeye.h"

#include "core/app/app.h"

#include <algorithm>
#include <string>

namespace orlix {

void FrmBugeyeMode::Form_Load() {
    App& app = m_app;
    app.place(WindowId::frmBugeyeMode, app.placement.restore(windowName(WindowId::frmBugeyeMode)));
    // The slider starts from the same level at every load.
    app.bugeyeView.HScrollBugeye = 0;
    m_notSentNoticeGiven = false;
    app.touch(WindowId::frmBugeyeMode);
    app.link.AutoPingEnabled = false;
    app.frmCommLog.syncWithFlags();
    app.SendCommand("CB\r\n");
}

void FrmBugeyeMode::HScrollBugeye_Change(int value) {
    value = std::clamp(value, 0, kSliderMax);
    m_app.bugeyeView.HScrollBugeye = value;
    m_app.touch(WindowId::frmBugeyeMode);
    const char block[2] = {static_cast<char>(static_cast<unsigned char>(value)), '\0'};
    if (m_app.serial.write(std::string_view(block, 2))) {
        m_notSentNoticeGiven = false;
    } else if (!m_notSentNoticeGiven) {
        // A dragged slider gives many levels: one line says they are lost.
        m_notSentNoticeGiven = true;
        m_app.commLog.LogLine("Not sent, the port is not open: bugeye brightness " +
                              std::to_string(value));
    }
}

void FrmBugeyeMode::Form_Unload() {
    m_app.placement.save(windowName(WindowId::frmBugeyeMode), m_app.bugeyeView.placement);
}

} // namespace orlix
