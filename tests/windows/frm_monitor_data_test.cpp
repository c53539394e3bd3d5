// The Monitor Data window offscreen: cells found by name, the scan-set
// selector, the compare of the golden pair, copying to the clipboard.
#include "core/protocol/protocol_fixture.h"
#include "windows/frm_main.h"
#include "windows_support/gui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace orlix {
namespace {

namespace fs = std::filesystem;
using prototest::Reply;

const fs::path kGolden =
    fs::path(__FILE__).parent_path().parent_path() / "core" / "dataview" / "golden";

struct MonitorDataWindow : test::GuiFixture {
    void openFile(const std::string& name) {
        h.dialogs.openChoices = {FileChoice{(kGolden / name).string(), name}};
        gui.mainWindow()->findChild<QAction*>("mnuFileOpen")->trigger();
    }
    void showWindow() {
        gui.mainWindow()->findChild<QAction*>("mnuMonitorData")->trigger();
        QApplication::processEvents();
    }
    // Lets the window's refresh tick come and the window draw.
    void settle() {
        h.advance(250);
        QApplication::processEvents();
    }
    // Null when the window has no such control.
    template <typename T = QLabel>
    T* find(const char* name) {
        return gui.window(WindowId::frmMonitorData)->findChild<T*>(name);
    }
    QString text(const char* name) {
        QLabel* label = find(name);
        return label ? label->text() : QStringLiteral("<missing>");
    }
    bool marked(const char* name) {
        QLabel* label = find(name);
        return label && label->autoFillBackground();
    }
};

TEST_F(MonitorDataWindow, AReplyShowsInItsCellWithItsText) {
    showWindow();
    EXPECT_TRUE(gui.frame(WindowId::frmMonitorData)->isVisible());
    h.receive(Reply("df", {"V 1.39"}));
    h.receive(Reply("da", {"200,100,50,10,128,200,250"}));
    h.receive(Reply("ddfv", {"151,127,111,61,127,129,127"}));
    h.receive(Reply("dss", {"Serial Number = SN123456"}));
    EXPECT_EQ(text("V(0).F"), "") << "the window follows at its next refresh";
    settle();
    EXPECT_EQ(text("V(0).F"), "151");
    EXPECT_EQ(text("VAnodeValue"), "07.5 kV");
    EXPECT_EQ(text("SerialNumber"), "SN123456");

    // A text the length of a page is kept whole but cannot widen the window.
    h.receive(Reply("dms", {"Model Number = " + std::string(1000, 'X')}));
    settle();
    EXPECT_EQ(text("ModelNumber").size(), 1000);
    EXPECT_LT(find<QWidget>("grpUnit")->minimumWidth(), 700);
}

TEST_F(MonitorDataWindow, TheScanSetSelectorNamesEachScanSetAndShowsItsValues) {
    openFile("before.mdv");
    showWindow();
    auto* scanSet = find<QComboBox>("cboScanSet");
    ASSERT_EQ(scanSet->count(), 3);
    EXPECT_EQ(scanSet->itemText(0), "Scan set 0: 640x480 60Hz");
    EXPECT_EQ(text("L(0).Value"), "100");

    scanSet->setCurrentIndex(1);
    emit scanSet->activated(1);
    EXPECT_EQ(text("L(0).Value"), "110");
    EXPECT_EQ(text("B(0).F"), "141");
    EXPECT_EQ(scanSet->currentText(), "Scan set 1: 800x600 60Hz");
}

TEST_F(MonitorDataWindow, ComparingTheGoldenPairMarksEachDifference) {
    openFile("before.mdv");
    showWindow();
    auto* only = find<QCheckBox>("ckOnlyDifferences");
    EXPECT_FALSE(only->isEnabled());

    h.dialogs.openChoices = {FileChoice{(kGolden / "after.mdv").string(), "after.mdv"}};
    find<QPushButton>("btnCompare")->click();
    EXPECT_EQ(text("lblCompare"), "9 differences with after.mdv");
    EXPECT_EQ(text("L(2).F"), "113");
    EXPECT_EQ(text("L(2).CmpF"), "140");
    EXPECT_TRUE(marked("L(2).F") && marked("L(2).CmpF"));
    EXPECT_FALSE(marked("L(2).P") || marked("L(3).F"));
    EXPECT_EQ(text("OperatingHours.Cmp"), "523:09:10:02");
    EXPECT_TRUE(marked("OperatingHours"));

    ASSERT_TRUE(only->isEnabled());
    only->click();
    EXPECT_EQ(text("L(2).CmpF"), "140");
    EXPECT_EQ(find("L(3).F"), nullptr);
    EXPECT_EQ(find("VAnodeValue"), nullptr);
    only->click();
    EXPECT_NE(find("L(3).F"), nullptr);

    // A scan set only the compared file has, then the compare ends.
    auto* scanSet = find<QComboBox>("cboScanSet");
    scanSet->setCurrentIndex(3);
    emit scanSet->activated(3);
    EXPECT_EQ(text("L(0).CmpValue"), "130");
    EXPECT_EQ(text("L(0).Value"), "");
    find<QPushButton>("btnEndCompare")->click();
    EXPECT_EQ(text("lblCompare"), "");
    EXPECT_EQ(scanSet->currentText(), "Scan set 0: 640x480 60Hz");
    EXPECT_FALSE(marked("L(2).F"));
    EXPECT_EQ(find("L(2).CmpF"), nullptr);
}

TEST_F(MonitorDataWindow, CopyPutsTabSeparatedTextOnTheClipboard) {
    openFile("before.mdv");
    showWindow();
    QClipboard* clipboard = QGuiApplication::clipboard();

    find<QPushButton>("btnCopyAll")->click();
    const QStringList all = clipboard->text().split('\n');
    EXPECT_EQ(all.value(0), "From file before.mdv");
    EXPECT_TRUE(all.contains("Serial Number\tSN0012345"));
    EXPECT_TRUE(all.contains("Red Gain\t106\t113\t119"));

    find<QWidget>("tblB")->findChild<QAction*>("actCopyTable")->trigger();
    EXPECT_EQ(clipboard->text(), "B Group\nItem\tValue\tF\tP\n"
                                 "White Level\t124\t131\t137\nBias Adjust\t127\t134\t140\n");
}

} // namespace
} // namespace orlix
