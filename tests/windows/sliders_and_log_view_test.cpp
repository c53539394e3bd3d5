// What the slider windows send for the user's gestures and for core's own
// values, and where the comm log's view stays as text arrives.
#include "windows/frm_main.h"
#include "windows_support/gui_fixture.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace orlix {
namespace {

struct WindowViews : test::GuiFixture {
    std::string everythingSent() const {
        std::string all;
        for (const auto& w : h.port.writes()) {
            all += w.bytes;
        }
        return all + h.app.xmit.XmitQueue();
    }

    void openBacklightWindow() {
        h.act([&] { h.app.frmMain.mnuRGBbacklight_Click(); });
        h.advance(100); // "dy" goes out; actions wait for the write
        QApplication::processEvents();
    }

    static void turnWheel(QWidget* widget) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
    }
};

TEST_F(WindowViews, ABacklightSliderTakesTheWheelOnlyWhenItHasTheFocus) {
    openBacklightWindow();
    for (const char* name : {"HScroll", "HScroll_analog"}) {
        auto* slider = find<QSlider>(WindowId::frmRGBlight, name);
        ASSERT_FALSE(slider->hasFocus());
        turnWheel(slider);
        EXPECT_EQ(slider->value(), 0) << name;
    }
    EXPECT_EQ(h.app.rgbView.HScroll, 0);
    EXPECT_EQ(everythingSent().find("TYW"), std::string::npos);

    gui.mainWindow()->activateWindow();
    auto* slider = find<QSlider>(WindowId::frmRGBlight, "HScroll");
    slider->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(slider->hasFocus());
    turnWheel(slider);
    EXPECT_GT(h.app.rgbView.HScroll, 0);
    EXPECT_NE(everythingSent().find("TYW31B"), std::string::npos);
}

TEST_F(WindowViews, LevelsAndModesSetByCoreAreShownWithoutBeingSent) {
    openBacklightWindow();
    const std::string before = everythingSent();
    h.act([&] {
        RGBlightView& v = h.app.rgbView;
        v.HScroll = 1234;
        v.HScroll_analog = 4321;
        v.option = 1;
        h.app.touch(WindowId::frmRGBlight);
        h.app.bugeyeView.HScrollBugeye = 77;
        h.app.touch(WindowId::frmBugeyeMode);
    });
    QApplication::processEvents();
    EXPECT_EQ(find<QSlider>(WindowId::frmRGBlight, "HScroll")->value(), 1234);
    EXPECT_EQ(find<QSlider>(WindowId::frmRGBlight, "HScroll_analog")->value(), 4321);
    EXPECT_EQ(find<QSlider>(WindowId::frmBugeyeMode, "HScrollBugeye")->value(), 77);
    EXPECT_EQ(everythingSent(), before);
}

struct CommLogView : WindowViews {
    CommLogView() {
        frame = gui.frame(WindowId::frmCommLog);
        frame->resize(500, 400);
        text = find<QPlainTextEdit>(WindowId::frmCommLog, "txtCommLog");
        bar = text->verticalScrollBar();
    }
    void receiveLines(int count) {
        std::string lines;
        for (int i = 0; i < count; ++i) {
            lines += "line " + std::to_string(m_next++) + "\r\n";
        }
        h.receive(lines);
        QTest::qWait(60); // the text follows at the next frame
    }
    bool atEnd() const { return bar->maximum() > 0 && bar->value() == bar->maximum(); }

    QMdiSubWindow* frame = nullptr;
    QPlainTextEdit* text = nullptr;
    QScrollBar* bar = nullptr;

private:
    int m_next = 0;
};

TEST_F(CommLogView, FollowsNewTextWhileTheUserHasNotScrolledAway) {
    receiveLines(100);
    EXPECT_TRUE(atEnd());
    // A smaller view (a resize, a horizontal scroll bar for a long line) is
    // no scrolling away by the user.
    frame->resize(500, 250);
    receiveLines(1);
    EXPECT_TRUE(atEnd());
    receiveLines(1);
    h.receive(std::string(400, 'x') + "\r\n");
    QTest::qWait(60);
    EXPECT_TRUE(atEnd());

    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    const int reading = bar->value();
    receiveLines(20);
    EXPECT_EQ(bar->value(), reading) << "the user reads older text";

    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    receiveLines(20);
    EXPECT_TRUE(atEnd()) << "back at the end, the log follows again";
}

} // namespace
} // namespace orlix
