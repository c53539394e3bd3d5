#include "windows/frm_connect.h"

#include "windows/ports_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orlix::windows {

FrmConnectWindow::FrmConnectWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmConnect, parent) {
    auto* grid = new QGridLayout;
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 8; ++i) {
        auto* option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("optCommPort(%1)").arg(i));
        auto* label = new QLabel(QStringLiteral("Com%1").arg(i + 1), this);
        label->setObjectName(QStringLiteral("lblCom%1").arg(i + 1));
        label->setBuddy(option);
        auto* device = new QLabel(this);
        device->setObjectName(QStringLiteral("lblDevice(%1)").arg(i));
        device->setTextFormat(Qt::PlainText);
        device->setForegroundRole(QPalette::PlaceholderText);
        group->addButton(option, i);
        grid->addWidget(option, i % 4, (i / 4) * 3);
        grid->addWidget(label, i % 4, (i / 4) * 3 + 1);
        grid->addWidget(device, i % 4, (i / 4) * 3 + 2);
        m_options[static_cast<std::size_t>(i)] = option;
        m_devices[static_cast<std::size_t>(i)] = device;
        connect(option, &QRadioButton::clicked, this,
                [this, i] { act([this, i] { m_app.frmConnect.optCommPort_Click(i); }); });
    }

    m_status = new QLabel(this);
    m_status->setObjectName("lbl1");
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    ok->setToolTip("Try this port.");
    auto* offline = new QPushButton("Offline", this);
    offline->setObjectName("btnOffline");
    offline->setToolTip("Work without a monitor.");
    auto* done = new QPushButton("Done", this);
    done->setObjectName("btnDone");
    done->setToolTip("Close Window");
    auto* ports = new QPushButton(QString::fromUtf8("Ports\u2026"), this);
    ports->setObjectName("btnPorts");
    ports->setToolTip("Choose the device each Com port stands for.");
    connect(ok, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmConnect.btnOK_Click(); }); });
    connect(offline, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmConnect.btnOffline_Click(); }); });
    connect(done, &QPushButton::clicked, this,
            [this] { act([this] { m_app.frmConnect.btnDone_Click(); }); });
    connect(ports, &QPushButton::clicked, this, &FrmConnectWindow::openPortsDialog);

    m_autoReConnect = new QCheckBox(this);
    m_autoReConnect->setObjectName("ckAutoReConnect");
    auto* reconnectLabel = new QLabel("Auto ReConnect", this);
    reconnectLabel->setObjectName("lblReConnect");
    reconnectLabel->setBuddy(m_autoReConnect);
    connect(m_autoReConnect, &QCheckBox::clicked, this, [this](bool checked) {
        act([this, checked] { m_app.frmConnect.ckAutoReConnect_Click(checked); });
    });

    m_indicator = new QPushButton(this);
    m_indicator->setObjectName("btnInd");
    m_indicator->setFixedSize(24, 24);
    m_indicator->setFocusPolicy(Qt::NoFocus);
    m_indicator->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_indicator);
    buttons->addWidget(m_autoReConnect);
    buttons->addWidget(reconnectLabel);
    buttons->addStretch();
    buttons->addWidget(ports);
    buttons->addWidget(ok);
    buttons->addWidget(offline);
    buttons->addWidget(done);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_status);
    layout->addStretch();
    layout->addLayout(buttons);
}

void FrmConnectWindow::sync() {
    const ConnectView& v = m_app.connectView;
    for (std::size_t i = 0; i < 8; ++i) {
        const QSignalBlocker block(m_options[i]);
        m_options[i]->setChecked(static_cast<int>(i) == v.selectedPort);
        m_devices[i]->setText(qs(v.portDevices[i]));
    }
    m_status->setText(qs(v.lbl1));
    m_autoReConnect->setChecked(v.ckAutoReConnect);
    setBackColour(m_indicator, v.btnInd);
}

void FrmConnectWindow::openPortsDialog() {
    PortsDialog dialog(m_app, this);
    dialog.exec();
}

} // namespace orlix::windows
