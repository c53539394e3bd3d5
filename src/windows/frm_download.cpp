#include "windows/frm_download.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace orlix::windows {

FrmDownloadWindow::FrmDownloadWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmDownload, parent) {
    m_image = plainLabel(this, "lblImage");
    m_status = plainLabel(this, "lblStatus");
    m_status->setWordWrap(true);
    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName("Gauge1");
    m_gauge->setRange(0, kGaugeSteps);
    m_timeRemaining = plainLabel(this, "lblTimeRemaining");
    m_records = plainLabel(this, "lblRecords");
    m_bytes = plainLabel(this, "lblBytes");
    m_rate = plainLabel(this, "lblRate");
    m_elapsed = plainLabel(this, "lblElapsed");
    m_retries = plainLabel(this, "RetryLabel");
    m_address = new QLineEdit(this);
    m_address->setObjectName("AddressBox");
    m_address->setReadOnly(true);
    m_address->setToolTip("Load address the boot loader reported (type a in the comm log)");
    m_cancel = new QPushButton("Cancel", this);
    m_cancel->setObjectName("btnCancel");
    m_cancel->setToolTip("Stop after the unit's reply to the record on the wire");
    connect(m_cancel, &QPushButton::clicked, this,
            [this] { act([this] { m_app.download.btnCancel_Click(); }); });

    auto* grid = new QGridLayout;
    grid->addWidget(m_records, 0, 0);
    grid->addWidget(m_bytes, 0, 1);
    grid->addWidget(m_elapsed, 1, 0);
    grid->addWidget(m_rate, 1, 1);
    grid->addWidget(m_timeRemaining, 2, 0);
    grid->addWidget(m_retries, 2, 1);
    auto* address = new QHBoxLayout;
    address->addWidget(new QLabel("Address:", this));
    address->addWidget(m_address, 1);
    address->addStretch();
    address->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_image);
    layout->addWidget(m_gauge);
    layout->addLayout(grid);
    layout->addWidget(m_status);
    layout->addLayout(address);
    setMinimumWidth(420);
}

void FrmDownloadWindow::sync() {
    const DownloadView& v = m_app.downloadView;
    m_image->setText(qs(v.lblImage));
    m_status->setText(qs(v.lblStatus));
    const double percent = std::clamp(v.Gauge1, 0.0, 100.0);
    m_gauge->setValue(static_cast<int>(std::lround(percent * kGaugeSteps / 100.0)));
    m_gauge->setFormat(QString::number(percent, 'f', 1) + "%");
    m_timeRemaining->setText(qs(v.lblTimeRemaining));
    m_records->setText(qs(v.lblRecords));
    m_bytes->setText(qs(v.lblBytes));
    m_rate->setText(qs(v.lblRate));
    m_elapsed->setText(qs(v.lblElapsed));
    m_retries->setText(qs(v.RetryLabel));
    if (m_address->text() != qs(v.AddressBox)) {
        m_address->setText(qs(v.AddressBox));
    }
    m_cancel->setText(qs(v.btnCancel));
    m_cancel->setEnabled(v.btnCancelEnabled);
}

} // namespace orlix::windows
