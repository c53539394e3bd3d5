// The adjustment windows: RGB backlight control and the bugeye test.
#pragma once

#include "windows/core_window.h"

class QLabel;
class QRadioButton;
class QSlider;

namespace orlix::windows {

class FrmRGBlightWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmRGBlightWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    QRadioButton* m_hardware;
    QRadioButton* m_software;
    QSlider* m_digital;
    QSlider* m_maximum;
    QLabel* m_digitalValue;
    QLabel* m_maximumValue;
};

class FrmBugeyeWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmBugeyeWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    QSlider* m_slider;
};

// A horizontal slider that reports a change as a scroll bar does: after a
// click on its track or a key, or at the end of a drag, not during it.
QSlider* scrollBar(QWidget* parent, const char* name, int maximum,
                   const std::function<void(int)>& changed);

} // namespace orlix::windows
