// The firmware download's progress window: the gauge, the time remaining,
// the retries, the load address, and the counts that say how far the
// download got; Cancel stops it after the record on the wire.
#pragma once

#include "windows/core_window.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orlix::windows {

class FrmDownloadWindow : public CoreWindow {
    Q_OBJECT
public:
    // The gauge counts in hundredths of a percent.
    static constexpr int kGaugeSteps = 10000;

    explicit FrmDownloadWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    QLabel* m_image;
    QLabel* m_status;
    QProgressBar* m_gauge;
    QLabel* m_timeRemaining;
    QLabel* m_records;
    QLabel* m_bytes;
    QLabel* m_rate;
    QLabel* m_elapsed;
    QLabel* m_retries;
    QLineEdit* m_address;
    QPushButton* m_cancel;
};

} // namespace orlix::windows
