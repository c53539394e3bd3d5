// The progress window offscreen during a download against the simulated boot
// loader: what its controls say, Cancel, and the title bar's close.
#include "support/hex_images.h"
#include "support/sim_harness.h"
#include "windows/core_window.h"
#include "windows/frm_main.h"
#include "windows/gui.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace orlix {
namespace {

sim::UnitOptions bootLoaderUnit() {
    auto options = test::SimHarness::quickUnit();
    options.startInBootLoader = true;
    options.replyDelayMs = 20;
    return options;
}

struct DownloadWindow : ::testing::Test {
    DownloadWindow() {
        h.mapPorts();
        gui.start();
        h.run(3000);
        const std::string path = dir.write("fw.hex", test::joined(test::firmwareRecords(10)));
        h.dialogs.openChoices.push_back(FileChoice{path, "fw.hex"});
        h.dialogs.choices.push_back(0);
    }

    QString text(const char* name) {
        QApplication::processEvents();
        QWidget* w = gui.window(WindowId::frmDownload)->findChild<QWidget*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w ? w->property("text").toString() : QString();
    }
    QPushButton* cancel() {
        return gui.window(WindowId::frmDownload)->findChild<QPushButton*>("btnCancel");
    }
    void startFromTheMenu() {
        QAction* item = gui.mainWindow()->findChild<QAction*>("mnuMonitorDownload");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), "Do&wnload Firmware ...");
        EXPECT_TRUE(item->toolTip().contains("boot loader")) << item->toolTip().toStdString();
        EXPECT_TRUE(item->isEnabled());
        item->trigger();
        h.run(500); // the erase, then the first records
    }

    test::SimHarness h{bootLoaderUnit()};
    windows::Gui gui{h.app};
    test::ScratchDir dir;
};

TEST_F(DownloadWindow, ShowsHowFarItGotAndCancelStopsAfterTheRecordOnTheWire) {
    startFromTheMenu();
    EXPECT_TRUE(gui.frame(WindowId::frmDownload)->isVisible());
    EXPECT_EQ(gui.frame(WindowId::frmDownload)->windowTitle(), "Firmware Download");
    EXPECT_EQ(text("lblImage"), "Image: fw.hex");
    EXPECT_EQ(text("lblStatus"), "Sending records ...");
    EXPECT_EQ(text("RetryLabel"), "Retries:");

    // The unit rejects one line; the address query answers.
    h.unit.setRejectEveryNthLine(h.unit.linesReceived() + 1); // the next line only
    h.run(300);
    h.unit.setRejectEveryNthLine(0);
    h.act([&] { h.app.SendCommand("a\r\n"); });
    h.run(400);
    EXPECT_EQ(text("RetryLabel"), "Retries: 1");
    EXPECT_TRUE(text("AddressBox").startsWith("0x100")) << text("AddressBox").toStdString();

    const FirmwareDownload& d = h.app.download;
    const int onWire = d.DownloadRecordCount;
    EXPECT_EQ(text("lblRecords"), QString("Records: %1 of 12").arg(onWire - 1));
    EXPECT_EQ(text("Gauge1"), QString::number(h.app.downloadView.Gauge1, 'f', 1) + "%");
    EXPECT_TRUE(text("lblTimeRemaining").startsWith("Time Remaining: "));
    EXPECT_TRUE(text("lblElapsed").startsWith("Elapsed: 0:0"));
    EXPECT_TRUE(text("lblRate").contains(" records/s, ")) << text("lblRate").toStdString();
    EXPECT_TRUE(text("lblBytes").startsWith("Bytes: "));

    QTest::mouseClick(cancel(), Qt::LeftButton);
    EXPECT_EQ(text("lblStatus"),
              QString("Stopping after the unit's reply to record %1 ...").arg(onWire));
    EXPECT_FALSE(cancel()->isEnabled());
    h.run(500);
    EXPECT_EQ(text("lblStatus"), "Stopped: Download cancelled.");
    EXPECT_EQ(text("btnCancel"), "Close");
    EXPECT_TRUE(cancel()->isEnabled());
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_TRUE(h.dialogs.messages[0].text.find("The download stopped at record " +
                                                std::to_string(onWire) + " of 12") !=
                std::string::npos)
        << h.dialogs.messages[0].text;

    QTest::mouseClick(cancel(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(gui.frame(WindowId::frmDownload)->isVisible());
}

TEST_F(DownloadWindow, AtTheEndTheGaugeIsFullAndTheTitleBarCloseHidesIt) {
    startFromTheMenu();
    h.run(3000);
    EXPECT_EQ(text("Gauge1"), "100.0%");
    EXPECT_EQ(text("lblStatus"), "Done: 'fw.hex' is in the unit's flash.");
    EXPECT_EQ(text("lblRecords"), "Records: 12 of 12");
    EXPECT_EQ(text("lblBytes"), "Bytes: 160 of 160");
    EXPECT_EQ(text("lblTimeRemaining"), "Time Remaining: 0:00");
    gui.frame(WindowId::frmDownload)->close();
    QApplication::processEvents();
    EXPECT_FALSE(h.app.isVisible(WindowId::frmDownload));
    EXPECT_FALSE(gui.frame(WindowId::frmDownload)->isVisible());
}

} // namespace
} // namespace orlix
