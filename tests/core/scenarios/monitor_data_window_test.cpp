// The Monitor Data window on the whole tool: it rebuilds a few times a
// second and not at all while hidden, and nothing it does sends a line or
// changes the data, the display or the open file.
#include "core/data/mdv_writer.h"
#include "core/dataview/data_view_text.h"
#include "core/protocol/protocol_fixture.h"
#include "support/hex_images.h"
#include "support/sim_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orlix {
namespace {

namespace fs = std::filesystem;
using test::AppHarness;
using test::SimHarness;

const fs::path kGolden = fs::path(__FILE__).parent_path().parent_path() / "dataview" / "golden";

FileChoice golden(const std::string& name) {
    return {(kGolden / name).string(), name};
}

std::string cell(const App& app, std::string_view name) {
    const ViewCell* c = findCell(app.monitorDataView.content, name);
    return c ? c->text : "<missing>";
}

int refreshTicks(const test::VirtualClock& clock) {
    return static_cast<int>(std::count_if(clock.ticks().begin(), clock.ticks().end(), [](auto& t) {
        return t.id == TimerId::frmMonitorData_tmrRefresh;
    }));
}

TEST(MonitorDataWindow, RebuildsAtMostFourTimesASecondAndNotAtAllWhileHidden) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuMonitorData_Click(); });
    const auto burst = [&](int first) {
        for (int i = 0; i < 100; ++i) {
            h.receive(prototest::Reply("ddfb", {std::to_string(first + i) + ",1"}));
            h.advance(10);
        }
    };
    const std::uint64_t shownBefore = h.app.monitorDataView.contentCount;
    const int ticksBefore = refreshTicks(h.clock);
    burst(0);
    EXPECT_EQ(refreshTicks(h.clock) - ticksBefore, 4);
    EXPECT_LE(h.app.monitorDataView.contentCount - shownBefore, 4u);
    EXPECT_EQ(cell(h.app, "B(0).F"), "99");

    h.app.windowClosed(WindowId::frmMonitorData);
    h.advance(250); // the first tick after hiding stops the timer
    const std::uint64_t hidden = h.app.monitorDataView.contentCount;
    burst(100);
    EXPECT_FALSE(h.clock.isRunning(TimerId::frmMonitorData_tmrRefresh));
    EXPECT_EQ(h.app.monitorDataView.contentCount, hidden);

    // Shown again, it is up to date at once.
    h.act([&] { h.app.frmMain.mnuMonitorData_Click(); });
    EXPECT_EQ(cell(h.app, "B(0).F"), "199");
    EXPECT_TRUE(h.clock.isRunning(TimerId::frmMonitorData_tmrRefresh));
}

TEST(MonitorDataWindow, SaysWhereTheDataComesFrom) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuMonitorData_Click(); });
    const auto source = [&] {
        h.act([&] { h.app.frmMonitorData.refresh(); });
        return h.app.monitorDataView.content.source;
    };
    EXPECT_EQ(source(), "Nothing reported yet: no unit connected and no file open");
    h.receive("p\r\n#");
    h.advance(2000);
    ASSERT_TRUE(h.app.link.OnlineMode);
    EXPECT_EQ(source(), "Live from the unit on Com1, last reply at 09:30:00");
    h.act([&] { h.app.frmMain.mnuMonitorOffline_Click(); });
    EXPECT_EQ(source(), "Last reported by the unit on Com1 at 09:30:00, not connected now");
    h.dialogs.openChoices = {golden("before.mdv")};
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    EXPECT_EQ(source(), "From file before.mdv");
}

TEST(MonitorDataWindow, PlacementIsRestoredAndSavedUnderItsOwnName) {
    AppHarness h;
    h.storeSettings("Locations", {{"frmMonitorDataTop", "150"},
                                  {"frmMonitorDataLeft", "300"},
                                  {"frmMonitorDataWidth", "9000"},
                                  {"frmMonitorDataHeight", "6000"},
                                  {"frmMonitorDataWindowstate", "2"}});
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuMonitorData_Click(); });
    EXPECT_EQ(h.app.monitorDataView.placement,
              (Placement{150, 300, 9000, 6000, WindowState::Maximized}));
    h.app.windowPlaced(WindowId::frmMonitorData, {15, 30, 12000, 8000, WindowState::Normal});
    h.close();
    EXPECT_EQ(h.setting("Locations", "frmMonitorDataTop"), "15");
    EXPECT_EQ(h.setting("Locations", "frmMonitorDataWidth"), "12000");
    EXPECT_EQ(h.setting("Locations", "frmMonitorDataWindowstate"), "0");

    // A first run asks for the whole screen; the windows fit it in.
    AppHarness first;
    first.startSettled();
    first.act([&] { first.app.frmMain.mnuMonitorData_Click(); });
    EXPECT_EQ(first.app.monitorDataView.placement.width, first.app.placement.screen().widthTwips);
}

TEST(MonitorDataWindow, NeverSendsALineNorChangesTheDataTheDisplayOrTheOpenFile) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); });
    h.run(20000);
    h.dialogs.openChoices = {golden("before.mdv")};
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.run(100);

    const test::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    const std::string data = prototest::Snapshot(h.app.data);
    const std::uint64_t display = h.app.protocol.display().changeCount();
    const std::string file = h.app.data.DataFilePath + "|" + h.app.data.DataFileTitle;
    h.port.clearWrites();

    h.dialogs.openChoices = {golden("after.mdv"), golden("absent.mdv")};
    h.dialogs.saveChoices = {FileChoice{(dir / "view.txt").string(), "view.txt"}};
    std::string copied;
    h.act([&] {
        App& a = h.app;
        a.frmMain.mnuMonitorData_Click();
        a.frmMonitorData.cboScanSet_Click(1);
        a.frmMonitorData.btnCompare_Click();
        a.frmMonitorData.ckOnlyDifferences_Click(true);
        copied = a.frmMonitorData.copyText(2);
        a.frmMonitorData.btnSaveAsText_Click();
        a.frmMonitorData.btnCompare_Click(); // a file that is not there
        a.frmMonitorData.btnEndCompare_Click();
        a.hide(WindowId::frmMonitorData);
    });

    EXPECT_TRUE(h.port.writes().empty());
    EXPECT_EQ(prototest::Snapshot(h.app.data), data);
    EXPECT_EQ(h.app.protocol.display().changeCount(), display);
    EXPECT_EQ(h.app.data.DataFilePath + "|" + h.app.data.DataFileTitle, file);
    EXPECT_TRUE(h.app.data.FileIsOpen);

    EXPECT_EQ(copied, "Adjustments\nScan set 1: 800x600 60Hz (2 differences)\n\n"
                      "B Group\nItem\tValue\tF\tP\tValue (after.mdv)\tF (after.mdv)"
                      "\tP (after.mdv)\tDiffers\n"
                      "White Level\t134\t141\t147\t134\t150\t147\t*\n");
    std::ifstream saved(dir / "view.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(saved), {}};
    const std::string header = text.substr(0, text.find('\n'));
    EXPECT_TRUE(header.starts_with("Live from the unit on Com1, last reply at ")) << header;
    EXPECT_TRUE(header.ends_with(" (file before.mdv open)")) << header;
    EXPECT_NE(text.find("\nWhite Level\t134\t141\t147\t134\t150\t147\t*\n"), std::string::npos);
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].text,
              (kGolden / "absent.mdv").string() + ": No such file or directory");
    EXPECT_FALSE(h.app.monitorDataView.comparing);
}

} // namespace
} // namespace orlix
