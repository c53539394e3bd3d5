#include "windows/adjustment_windows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace orlix::windows {

namespace {

// A wheel turned while the pointer merely passes over a slider must not
// change the unit's brightness: only a slider that has the focus takes it.
class FocusWheelSlider : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void wheelEvent(QWheelEvent* event) override {
        if (!hasFocus()) {
            event->ignore();
            return;
        }
        QSlider::wheelEvent(event);
    }
};

} // namespace

QSlider* scrollBar(QWidget* parent, const char* name, int maximum,
                   const std::function<void(int)>& changed) {
    auto* slider = new FocusWheelSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setFocusPolicy(Qt::StrongFocus); // not taken by the wheel itself
    slider->setRange(0, maximum);
    slider->setTracking(false); // no value change while the thumb is dragged
    slider->setSingleStep(1);
    slider->setPageStep(std::max(1, maximum / 16));
    QObject::connect(slider, &QSlider::valueChanged, parent, changed);
    return slider;
}

namespace {

QLabel* plainLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

FrmRGBlightWindow::FrmRGBlightWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmRGBlight, parent) {
    auto* control = new QGroupBox("Control", this);
    control->setObjectName("Frame4");
    m_software = new QRadioButton("Software", control);
    m_software->setObjectName("Option1(1)");
    m_hardware = new QRadioButton("Hardware", control);
    m_hardware->setObjectName("Option1(0)");
    connect(m_software, &QRadioButton::clicked, this,
            [this] { act([this] { m_app.frmRGBlight.Option1_Click(1); }); });
    connect(m_hardware, &QRadioButton::clicked, this,
            [this] { act([this] { m_app.frmRGBlight.Option1_Click(0); }); });
    auto* controlLayout = new QVBoxLayout(control);
    controlLayout->addWidget(m_software);
    controlLayout->addWidget(m_hardware);

    auto* brightness = new QGroupBox("Brightness", this);
    brightness->setObjectName("Frame1");
    m_digital = scrollBar(brightness, "HScroll", FrmRGBlight::kSliderMax, [this](int v) {
        act([this, v] { m_app.frmRGBlight.HScroll_Change(v); });
    });
    m_maximum = scrollBar(brightness, "HScroll_analog", FrmRGBlight::kSliderMax, [this](int v) {
        act([this, v] { m_app.frmRGBlight.HScroll_analog_Change(v); });
    });
    m_digitalValue = plainLabel(brightness, "lbl");
    m_maximumValue = plainLabel(brightness, "lbl_analog");
    auto* grid = new QGridLayout(brightness);
    grid->addWidget(plainLabel(brightness, "Label1", "Digital"), 0, 0);
    grid->addWidget(m_digital, 0, 1);
    grid->addWidget(m_digitalValue, 0, 2);
    grid->addWidget(plainLabel(brightness, "Label2", "Maximum"), 1, 0);
    grid->addWidget(m_maximum, 1, 1);
    grid->addWidget(m_maximumValue, 1, 2);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(control);
    layout->addWidget(brightness, 1);
}

void FrmRGBlightWindow::sync() {
    const RGBlightView& v = m_app.rgbView;
    {
        // Exclusive buttons cannot all be unchecked unless the group lets go.
        const QSignalBlocker a(m_software);
        const QSignalBlocker b(m_hardware);
        m_software->setAutoExclusive(false);
        m_hardware->setAutoExclusive(false);
        m_software->setChecked(v.option == 1);
        m_hardware->setChecked(v.option == 0);
        m_software->setAutoExclusive(true);
        m_hardware->setAutoExclusive(true);
    }
    {
        const QSignalBlocker a(m_digital);
        const QSignalBlocker b(m_maximum);
        m_digital->setValue(v.HScroll);
        m_maximum->setValue(v.HScroll_analog);
    }
    m_digitalValue->setText(qs(v.lbl));
    m_maximumValue->setText(qs(v.lbl_analog));
    for (QWidget* w :
         {static_cast<QWidget*>(m_digital), static_cast<QWidget*>(m_maximum),
          static_cast<QWidget*>(m_digitalValue), static_cast<QWidget*>(m_maximumValue)}) {
        w->setEnabled(v.slidersEnabled);
    }
}

FrmBugeyeWindow::FrmBugeyeWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmBugeyeMode, parent) {
    m_slider = scrollBar(this, "HScrollBugeye", FrmBugeyeMode::kSliderMax, [this](int v) {
        act([this, v] { m_app.frmBugeyeMode.HScrollBugeye_Change(v); });
    });
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(plainLabel(this, "Label1", "Brightness"));
    layout->addWidget(m_slider, 1);
}

void FrmBugeyeWindow::sync() {
    const QSignalBlocker block(m_slider);
    m_slider->setValue(m_app.bugeyeView.HScrollBugeye);
}

} // namespace orlix::windows
