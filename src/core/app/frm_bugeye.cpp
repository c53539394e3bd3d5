#include "core/app/frm_bugeye.h"

#include "core/app/app.h"

#include <algorithm>

namespace orlix {

void FrmBugeyeMode::Form_Load() {
    App& app = m_app;
    app.place(WindowId::frmBugeyeMode, app.placement.restore(windowName(WindowId::frmBugeyeMode)));
    app.link.AutoPingEnabled = false;
    app.frmCommLog.syncWithFlags();
    app.SendCommand("CB\r\n");
}

void FrmBugeyeMode::HScrollBugeye_Change(int value) {
    value = std::clamp(value, 0, kSliderMax);
    m_app.bugeyeView.HScrollBugeye = value;
    m_app.touch(WindowId::frmBugeyeMode);
    if (!m_app.download.allowsRawBytes("bugeye brightness blocks")) {
        return;
    }
    const char block[2] = {static_cast<char>(static_cast<unsigned char>(value)), '\0'};
    m_app.serial.write(std::string_view(block, 2));
}

void FrmBugeyeMode::Form_Unload() {
    m_app.placement.save(windowName(WindowId::frmBugeyeMode), m_app.bugeyeView.placement);
}

} // namespace orlix
