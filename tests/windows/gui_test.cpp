// The windows offscreen: clicks and keys reaching core, and what core holds
// showing in the controls.
#include "windows/frm_main.h"
#include "windows/ports_dialog.h"
#include "windows_support/gui_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace orlix {
namespace {

using GuiTest = test::GuiFixture;

TEST_F(GuiTest, TheMainWindowShowsTheCaptionAndTheMenusOfTheLinkState) {
    windows::FrmMainWindow* main = gui.mainWindow();
    const auto enabled = [&](const char* name) {
        return main->findChild<QAction*>(name)->isEnabled();
    };
    EXPECT_EQ(main->windowTitle(), "Orlix6 Backlight Adjustment Tool V6.0.3 -- No Backlight");
    EXPECT_EQ(main->findChild<QAction*>("mnuFileOpen")->text(), "&Open ...");
    EXPECT_TRUE(enabled("mnuMonitorOnline"));
    EXPECT_FALSE(enabled("mnuMonitorUpdate") || enabled("mnuMonitorOffline") ||
                 enabled("mnuMonitorRun"));

    main->findChild<QAction*>("mnuMonitorDemo")->trigger();
    EXPECT_TRUE(h.app.link.DemoMode);
    EXPECT_EQ(main->windowTitle(),
              "Orlix6 Backlight Adjustment Tool V6.0.3 -- No monitor - Offline Demo Mode");
    EXPECT_TRUE(enabled("mnuMonitorRun"));
}

TEST_F(GuiTest, TheConnectionWindowShowsPortsStatusAndIndicator) {
    EXPECT_TRUE(gui.frame(WindowId::frmConnect)->isVisible());
    EXPECT_TRUE(find<QRadioButton>(WindowId::frmConnect, "optCommPort(0)")->isChecked());
    EXPECT_EQ(find<QLabel>(WindowId::frmConnect, "lblDevice(2)")->text(), "test-com3");
    auto* status = find<QLabel>(WindowId::frmConnect, "lbl1");
    EXPECT_EQ(status->text(), "Trying port 1");
    EXPECT_EQ(status->textFormat(), Qt::PlainText) << "the unit's text is never markup";
    for (WindowId id : {WindowId::frmConnect, WindowId::frmCommLog}) {
        EXPECT_EQ(find<QPushButton>(id, "btnInd")->property("backColour").toUInt(), kColourRed);
    }

    find<QRadioButton>(WindowId::frmConnect, "optCommPort(3)")->click();
    EXPECT_EQ(h.app.link.CommPortNumber, 4);
    EXPECT_EQ(h.port.openedDevices.back(), "test-com4");
    h.advance(100); // the new attempt's ping goes out; actions wait for the write

    QTest::mouseClick(find<QPushButton>(WindowId::frmConnect, "btnOffline"), Qt::LeftButton);
    EXPECT_TRUE(h.app.link.OfflineMode);
    EXPECT_FALSE(gui.frame(WindowId::frmConnect)->isVisible());
    EXPECT_FALSE(gui.frame(WindowId::frmTrying)->isVisible());
}

TEST_F(GuiTest, TheCommLogShowsTheTrafficAndSendsWhatIsTyped) {
    h.receive("p\r\n#\r\nda\r\n12,34\r\n#");
    auto* text = find<QPlainTextEdit>(WindowId::frmCommLog, "txtCommLog");
    EXPECT_EQ(text->toPlainText(), "") << "the text follows at the next frame";
    QTest::qWait(60);
    EXPECT_EQ(text->toPlainText(), "p\n#\nda\n12,34\n#");

    h.port.clearWrites();
    QTest::keyClicks(text, "dh");
    QTest::keyClick(text, Qt::Key_Return);
    h.advance(100);
    ASSERT_FALSE(h.port.writes().empty());
    EXPECT_EQ(h.port.writes().back().bytes, "dh\r\n");
    EXPECT_EQ(text->toPlainText(), "p\n#\nda\n12,34\n#") << "typing never edits the log";

    QTest::mouseClick(find<QPushButton>(WindowId::frmCommLog, "btnClearCommLogWindow"),
                      Qt::LeftButton);
    h.receive("x");
    QTest::qWait(60);
    EXPECT_EQ(text->toPlainText(), "x");
}

TEST_F(GuiTest, CommLogButtonsAndBoxesFollowCore) {
    auto* autoPing = find<QPushButton>(WindowId::frmCommLog, "btnDisableAutoping");
    QTest::mouseClick(autoPing, Qt::LeftButton);
    EXPECT_FALSE(h.app.link.AutoPingEnabled);
    EXPECT_EQ(autoPing->text(), "Enable AutoPing");

    auto* checkOff = find<QPushButton>(WindowId::frmCommLog, "btnCheckOff");
    auto* checkOn = find<QPushButton>(WindowId::frmCommLog, "btnCheckOn");
    EXPECT_FALSE(checkOn->isVisible());
    QTest::mouseClick(checkOff, Qt::LeftButton);
    EXPECT_FALSE(checkOff->isVisible());
    EXPECT_TRUE(checkOn->isVisible());
    h.advance(100); // "cz0" goes out; actions wait for the write

    QTest::mouseClick(find<QCheckBox>(WindowId::frmCommLog, "ckXmitQueueOverride"), Qt::LeftButton);
    EXPECT_TRUE(h.app.link.BypassXmitQueue);
    QTest::mouseClick(find<QCheckBox>(WindowId::frmCommLog, "ckTimestamps"), Qt::LeftButton);
    EXPECT_TRUE(h.app.commLog.timestamps());
    EXPECT_FALSE(find<QCheckBox>(WindowId::frmCommLog, "ckFileEnabled")->isEnabled())
        << "no log file open yet";

    QTest::mouseClick(find<QPushButton>(WindowId::frmCommLog, "btnDone"), Qt::LeftButton);
    EXPECT_FALSE(gui.frame(WindowId::frmCommLog)->isVisible());
    gui.mainWindow()->findChild<QAction*>("mnuMonitorCommLog")->trigger();
    EXPECT_TRUE(gui.frame(WindowId::frmCommLog)->isVisible());
}

TEST_F(GuiTest, NoCaptionOfTheCommLogIsCutAtItsDefaultSizeOnA1280By800Screen) {
    QWidget* log = gui.window(WindowId::frmCommLog);
    ASSERT_TRUE(log->isVisible());
    gui.frame(WindowId::frmCommLog)->resize(640, 400);
    QApplication::processEvents();
    const auto controls = log->findChildren<QAbstractButton*>();
    ASSERT_GE(controls.size(), 10);
    for (QAbstractButton* control : controls) {
        if (control->isVisible() && !control->text().isEmpty()) {
            EXPECT_GE(control->width(), control->sizeHint().width())
                << control->objectName().toStdString();
        }
    }
}

TEST_F(GuiTest, ThePortsDialogRefusesAMalformedNetworkAddressByName) {
    windows::PortsDialog dialog(h.app);
    auto* com2 = dialog.findChild<QComboBox*>("cboDevice(1)");
    com2->setEditText("rfc2217://127.0.0.1");
    dialog.accept();
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].text.rfind("Com2: \"rfc2217://127.0.0.1\" is not", 0), 0u)
        << h.dialogs.messages[0].text;
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "stays open for the correction";
    EXPECT_EQ(h.setting("Ports", "Com2"), "test-com2");

    com2->setEditText(" rfc2217://127.0.0.1:4001 ");
    dialog.accept();
    EXPECT_EQ(h.setting("Ports", "Com2"), "rfc2217://127.0.0.1:4001");
    EXPECT_EQ(h.app.connectView.portDevices[1], "rfc2217://127.0.0.1:4001");
}

TEST_F(GuiTest, ClosingAWindowByItsTitleBarActsAsItsOwnCloseButton) {
    ASSERT_TRUE(gui.frame(WindowId::frmTrying)->isVisible());
    gui.frame(WindowId::frmTrying)->close();
    EXPECT_FALSE(gui.frame(WindowId::frmTrying)->isVisible());
    EXPECT_FALSE(h.clock.isRunning(TimerId::frmTrying_tmrConnect)) << "as Cancel: attempt over";
    EXPECT_TRUE(h.app.isLoaded(WindowId::frmTrying));
}

TEST_F(GuiTest, PlacementIsConvertedFromTwipsAndPulledBackIntoView) {
    const double perTwip = gui.pixelsPerTwip();
    const auto place = [&](double top, double left) {
        h.act([&] {
            h.app.connectView.placement = Placement{top, left, 7200, 4320, WindowState::Normal};
            ++h.app.connectView.placementCount;
            h.app.touch(WindowId::frmConnect);
        });
    };
    place(1440, 2880);
    QMdiSubWindow* frame = gui.frame(WindowId::frmConnect);
    EXPECT_EQ(frame->geometry().x(), std::lround(2880 * perTwip));
    EXPECT_EQ(frame->geometry().width(), std::lround(7200 * perTwip));

    place(-90000, 90000);
    const QRect area = gui.mainWindow()->mdiArea()->viewport()->rect();
    EXPECT_TRUE(area.intersects(frame->geometry())) << "a window off every screen comes back";

    // The window reports where the user put it, for its unload.
    frame->move(30, 45);
    EXPECT_NEAR(h.app.connectView.placement.left, 30 / perTwip, 1);
    EXPECT_NEAR(h.app.connectView.placement.top, 45 / perTwip, 1);
}

TEST(GuiPlacement, AStoredPlacementTooLargeOrOffTheScreenGivesTheDefaultAndIsNotKept) {
    test::AppHarness h;
    h.storeSettings("Locations", {{"frmMainWidth", "100000000"},
                                  {"frmMainHeight", "200000"},
                                  {"frmMainLeft", "-9000000"},
                                  {"frmMainTop", "50"}});
    h.mapPorts();
    windows::Gui gui{h.app};
    gui.start();
    h.advance(100);
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect shown = gui.mainWindow()->geometry();
    EXPECT_LE(shown.width(), screen.width());
    EXPECT_LE(shown.height(), screen.height());
    EXPECT_TRUE(screen.contains(shown.topLeft()));
    h.close();
    ASSERT_TRUE(h.app.quitRequested());
    const double perTwip = gui.pixelsPerTwip();
    EXPECT_LE(std::stod(h.setting("Locations", "frmMainWidth")), screen.width() / perTwip);
    EXPECT_LE(std::stod(h.setting("Locations", "frmMainHeight")), screen.height() / perTwip);
    EXPECT_EQ(h.setting("Locations", "frmMainLeft"), "0");
}

} // namespace
} // namespace orlix
