// The connection window: Com1..Com8 with the device each stands for, the
// status line, OK / Offline / Done, Auto ReConnect, the link indicator and
// the Ports... dialog that maps Com numbers to devices.
#pragma once

#include "windows/core_window.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace orlix::windows {

class FrmConnectWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmConnectWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    void openPortsDialog();

    std::array<QRadioButton*, 8> m_options{};
    std::array<QLabel*, 8> m_devices{};
    QLabel* m_status;
    QCheckBox* m_autoReConnect;
    QPushButton* m_indicator;
};

} // namespace orlix::windows
