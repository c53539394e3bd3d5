#include "windows/ports_dialog.h"

#include "windows/core_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace orlix::windows {

PortsDialog::PortsDialog(App& app, QWidget* parent) : QDialog(parent), m_app(app) {
    setObjectName("frmPorts");
    setWindowTitle("Ports");
    const auto available = QSerialPortInfo::availablePorts();
    auto* form = new QFormLayout;
    for (int i = 0; i < 8; ++i) {
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("cboDevice(%1)").arg(i));
        box->setEditable(true);
        for (const QSerialPortInfo& info : available) {
            const QString description =
                info.description().isEmpty() ? info.manufacturer() : info.description();
            box->addItem(description.isEmpty() ? info.systemLocation()
                                               : info.systemLocation() + "  (" + description + ")",
                         info.systemLocation());
        }
        box->setEditText(qs(app.serial.deviceFor(i + 1)));
        m_devices[static_cast<std::size_t>(i)] = box;
        form->addRow(QStringLiteral("Com%1").arg(i + 1), box);
    }
    auto* note =
        new QLabel(QString(available.isEmpty() ? "No serial devices found; type a device name."
                                               : "Pick a device or type its name.") +
                       " A serial server on the network: tcp://HOST:PORT (raw) or "
                       "rfc2217://HOST:PORT (Telnet with serial port control).",
                   this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

void PortsDialog::accept() {
    std::array<std::string, 8> devices;
    for (std::size_t i = 0; i < 8; ++i) {
        const QComboBox* box = m_devices[i];
        // A listed entry carries its device; typed text is the device itself.
        const int index = box->findText(box->currentText());
        QString device = index >= 0 ? box->itemData(index).toString() : box->currentText();
        devices[i] = device.trimmed().toStdString();
    }
    bool saved = false;
    m_app.act([this, devices, &saved] {
        // A malformed network address is refused by name; the dialog stays
        // open for the correction.
        if (const std::string problem = m_app.serial.saveDevices(devices); !problem.empty()) {
            m_app.ports.dialogs.message(problem);
            return;
        }
        m_app.frmConnect.refreshPortDevices();
        saved = true;
    });
    if (saved) {
        QDialog::accept();
    }
}

} // namespace orlix::windows
