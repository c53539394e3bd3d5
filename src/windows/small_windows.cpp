#include "windows/small_windows.h"

#include "windows/bundled.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orlix::windows {

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* text, const char* tip = "") {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    if (*tip) {
        b->setToolTip(tip);
    }
    return b;
}

} // namespace

FrmTryingWindow::FrmTryingWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmTrying, parent) {
    auto* grid = new QGridLayout;
    grid->addWidget(label(this, "lblTriesToMake", "Tries to Make:"), 0, 0);
    m_limit = label(this, "lblLimit");
    grid->addWidget(m_limit, 0, 1);
    grid->addWidget(label(this, "lblRemaining", "Tries Remaining:"), 1, 0);
    m_toGo = label(this, "lblToGo");
    grid->addWidget(m_toGo, 1, 1);
    auto* change = button(this, "btnChange", "Change ...", "Change Retry Limit");
    auto* cancel = button(this, "btnCancel", "Cancel", "Stop Connect Attempt");
    connect(change, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmTrying.btnChange_Click(); }); });
    connect(cancel, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmTrying.btnCancel_Click(); }); });
    grid->addWidget(change, 0, 2);
    grid->addWidget(cancel, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
}

void FrmTryingWindow::sync() {
    m_limit->setText(qs(m_app.tryingView.lblLimit));
    m_toGo->setText(qs(m_app.tryingView.lblToGo));
}

FrmChangeTriesWindow::FrmChangeTriesWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmChangeTries, parent) {
    m_text = new QLineEdit(this);
    m_text->setObjectName("txtConnectRetryLimit");
    auto* ok = button(this, "btnOK", "OK");
    auto* cancel = button(this, "btnCancel", "Cancel");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        const std::string typed = m_text->text().toStdString();
        act([this, typed] { m_app.frmChangeTries.btnOK_Click(typed); });
    });
    connect(m_text, &QLineEdit::returnPressed, ok, &QPushButton::click);
    connect(cancel, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmChangeTries.btnCancel_Click(); }); });
    auto* row = new QHBoxLayout;
    row->addWidget(label(this, "lblRetryLimit", "Retry Limit:"));
    row->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

void FrmChangeTriesWindow::sync() {
    const ChangeTriesView& v = m_app.changeTriesView;
    if (v.textCount != m_textCount) {
        m_textCount = v.textCount;
        m_text->setText(qs(v.txtConnectRetryLimit));
    }
}

FrmTimedOutWindow::FrmTimedOutWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmTimedOut, parent) {
    auto* text = label(this, "Label1",
                       "The monitor is not responding. Make sure the monitor is connected and "
                       "turned on, then try again.");
    text->setWordWrap(true);
    auto* ok = button(this, "btnOK", "OK", "Dismiss This Window");
    connect(ok, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmTimedOut.btnOK_Click(); }); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

FrmVersionWindow::FrmVersionWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmVersion, parent) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(label(this, "lblFirmwareVersion", "Monitor Firmware Version:"), 0, 0);
    m_firmware = label(this, "lblMonitorFirmwareVersionValue");
    grid->addWidget(m_firmware, 0, 1);
    grid->addWidget(label(this, "lblEpromVersion", "Monitor EPROM Version:"), 1, 0);
    m_eprom = label(this, "lblMonitorEpromVersionValue");
    grid->addWidget(m_eprom, 1, 1);
    grid->addWidget(label(this, "lblLumeq", "Orlix Version:"), 2, 0);
    m_tool = label(this, "lblLumeqVersionValue");
    grid->addWidget(m_tool, 2, 1);
    auto* reread = button(this, "btnReRead", "ReRead");
    auto* ok = button(this, "btnOK", "Dismiss This Window");
    connect(reread, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmVersion.btnReRead_Click(); }); });
    connect(ok, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmVersion.btnOK_Click(); }); });
    grid->addWidget(reread, 3, 0);
    grid->addWidget(ok, 3, 1);
}

void FrmVersionWindow::sync() {
    const VersionView& v = m_app.versionView;
    m_firmware->setText(qs(v.lblMonitorFirmwareVersionValue));
    m_eprom->setText(qs(v.lblMonitorEpromVersionValue));
    m_tool->setText(qs(v.lblLumeqVersionValue));
}

} // namespace orlix::windows

namespace orlix::windows {

FrmAboutWindow::FrmAboutWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmAbout, parent) {
    auto* icon = label(this, "picIcon");
    icon->setPixmap(appIcon().pixmap(48, 48));
    m_title = label(this, "lblTitle");
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    m_title->setFont(big);
    m_version = label(this, "lblVersion");
    m_description = label(this, "lblDescription");
    m_description->setWordWrap(true);
    auto* disclaimer = label(this, "lblDisclaimer",
                             "Warning: this tool changes the settings of the display unit. "
                             "Use it only as the service instructions describe.");
    disclaimer->setWordWrap(true);
    auto* ok = button(this, "cmdOK", "OK");
    auto* sysInfo = button(this, "cmdSysInfo", "&System Info...");
    connect(ok, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmAbout.cmdOK_Click(); }); });
    connect(sysInfo, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmAbout.cmdSysInfo_Click(); }); });
    auto* text = new QVBoxLayout;
    text->addWidget(m_title);
    text->addWidget(m_version);
    text->addWidget(m_description);
    text->addWidget(disclaimer);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addStretch();
    top->addLayout(buttons);
    setLayout(top);
}

void FrmAboutWindow::sync() {
    const AboutView& v = m_app.aboutView;
    m_title->setText(qs(v.lblTitle));
    m_version->setText(qs(v.lblVersion));
    QString description = qs(v.lblDescription);
    description.remove('\r');
    m_description->setText(description);
}

} // namespace orlix::windows
