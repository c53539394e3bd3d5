// Chooses the device each of Com1..Com8 stands for: the serial devices the
// system lists (with their descriptions) plus free text, since pseudo-
// terminals and some adapters are not listed, and network ports
// (tcp://HOST:PORT, rfc2217://HOST:PORT) are typed.
#pragma once

#include "core/app/app.h"

#include <QDialog>

#include <array>

class QComboBox;

namespace orlix::windows {

class PortsDialog : public QDialog {
    Q_OBJECT
public:
    PortsDialog(App& app, QWidget* parent = nullptr);
    void accept() override;

private:
    App& m_app;
    std::array<QComboBox*, 8> m_devices{};
};

} // namespace orlix::windows
