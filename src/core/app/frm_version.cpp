#include "core/app/frm_version.h"

#include "core/app/app.h"
#include "orlix6/version.h"

namespace orlix {

void FrmVersion::Form_Load() {
    App& app = m_app;
    Placement p;
    p.state = WindowPlacement::stateFrom(app.settings.readInt16(keys::VersionWindowState));
    if (p.state == WindowState::Normal) {
        // Centred in the main window unless stored otherwise.
        const Placement& main = app.mainView.placement;
        const Placement centred{(main.height - kHeightTwips) / 2, (main.width - kWidthTwips) / 2,
                                kWidthTwips, kHeightTwips, p.state};
        p.width = app.settings.readSingle(keys::VersionWidth, kWidthTwips);
        p.height = app.settings.readSingle(keys::VersionHeight, kHeightTwips);
        p.top = app.settings.readSingle(keys::VersionTop, centred.top);
        p.left = app.settings.readSingle(keys::VersionLeft, centred.left);
        p = app.placement.fit(p, centred);
    }
    app.place(WindowId::frmVersion, p);
    app.versionView.lblLumeqVersionValue = "V " + std::to_string(kVersionMajor) + "." +
                                           std::to_string(kVersionMinor) + "." +
                                           std::to_string(kVersionRevision);
    app.touch(WindowId::frmVersion);
}

void FrmVersion::Form_Activate() {
    btnReRead_Click();
}

void FrmVersion::btnReRead_Click() {
    m_app.SendCommand("de\r\n");
    m_app.SendCommand("df\r\n");
}

void FrmVersion::btnOK_Click() {
    m_app.hide(WindowId::frmVersion);
}

void FrmVersion::Form_Unload() {
    App& app = m_app;
    const Placement& p = app.versionView.placement;
    app.settings.save(keys::VersionWindowState, static_cast<int>(p.state));
    app.settings.save(keys::VersionTop, singleText(p.top));
    app.settings.save(keys::VersionLeft, singleText(p.left));
    app.settings.save(keys::VersionWidth, singleText(p.width));
    app.settings.save(keys::VersionHeight, singleText(p.height));
}

} // namespace orlix
