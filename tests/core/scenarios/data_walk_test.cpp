// "Update All Data": one data item per tick of tmrSave, 0, 0, 1, 2 ... 44,
// a silent tick, then 2 ... 44 again for as long as the tool runs.
#include "core/protocol/data_request_table.h"
#include "support/sim_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::SimHarness;

std::vector<std::string> requests(const SimHarness& h, std::size_t from) {
    std::vector<std::string> lines = h.linesWritten();
    std::vector<std::string> result;
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i] != "p") {
            result.push_back(lines[i]);
        }
    }
    return result;
}

TEST(DataWalk, WalksTheTableOnceThenKeepsCyclingFromItemTwo) {
    SimHarness h;
    h.start();
    h.run(3000);
    const std::size_t before = h.linesWritten().size();
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); });
    h.run(100'000);

    std::vector<std::string> expected;
    const auto item = [](int i) { return std::string(kDataItemCommands[std::size_t(i)]); };
    expected.push_back(item(0)); // the menu command itself
    for (int i = 0; i < kDataItemCount; ++i) {
        if (i != 3) {
            expected.push_back(item(i));
        }
    }
    for (int i = 2; i < kDataItemCount; ++i) {
        if (i != 3) {
            expected.push_back(item(i));
        }
    }
    const auto got = requests(h, before);
    ASSERT_GE(got.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + long(expected.size())), expected);
    EXPECT_EQ(h.app.frmMain.DataItemIndex >= 2, true);
}

TEST(DataWalk, EveryRequestIsItsLettersAndOneCrLf) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); });
    h.run(60'000);
    for (const auto& w : h.port.writes()) {
        const auto crlf = w.bytes.find("\r\n");
        ASSERT_NE(crlf, std::string::npos) << w.bytes;
        EXPECT_EQ(crlf + 2, w.bytes.size()) << "one line end, no extra LF: " << w.bytes;
    }
}

TEST(DataWalk, TicksAreOneSecondApartAndAWriteDelaysTheNextByItsPause) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); }); // at 3000, "da" written at 3100
    h.run(10'000);
    std::vector<std::int64_t> times;
    for (const auto& w : h.port.writes()) {
        if (w.at > 3000 && w.bytes != "p\r\n") {
            times.push_back(w.at);
        }
    }
    // The tick restarts the timer after its write, as after a blocking pause.
    ASSERT_GE(times.size(), 5u);
    EXPECT_EQ(times[0], 3100);
    EXPECT_EQ(times[1], 4200);
    EXPECT_EQ(times[2], 5300);
}

TEST(DataWalk, ItemThreeSendsNothingButKeepsTheTimerAndNothingGoesOutOffline) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.act([&] {
        h.app.frmMain.DataItemIndex = 3;
        h.app.frmMain.RequestDataItem(3);
    });
    h.run(50);
    EXPECT_EQ(h.linesWritten().size(), 2u);
    EXPECT_TRUE(h.clock.isRunning(TimerId::tmrSave));

    h.act([&] { h.app.frmMain.mnuMonitorOffline_Click(); });
    const auto before = h.linesWritten().size();
    h.run(100'000);
    EXPECT_EQ(h.linesWritten().size(), before);
}

TEST(DataWalk, TheIndexNeverOverflowsWhileTheLinkIsDownAndResumesAtItemTwo) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); });
    h.run(5000);
    h.unit.setSilent(true);
    h.act([&] { h.app.frmConnect.ckAutoReConnect_Click(false); });
    h.act([&] { h.app.frmMain.mnuMonitorOffline_Click(); });
    // Nine hours of ticks would take a 16-bit index past 32767.
    for (int hour = 0; hour < 9; ++hour) {
        h.clock.advance(3600 * 1000);
    }
    EXPECT_GT(h.app.frmMain.DataItemIndex, 0);
    EXPECT_LE(h.app.frmMain.DataItemIndex, kDataItemCount);

    h.unit.setSilent(false);
    h.act([&] { h.app.frmMain.mnuMonitorOnline_Click(); });
    h.act([&] { h.app.frmConnect.btnOK_Click(); });
    const std::size_t before = h.linesWritten().size();
    h.run(6000);
    const auto got = requests(h, before);
    ASSERT_FALSE(got.empty());
    // The first item after the link returns is item 2, after one silent tick.
    auto it = std::find(got.begin(), got.end(), "dc");
    EXPECT_NE(it, got.end());
    EXPECT_EQ(std::count(got.begin(), got.end(), "da"), 0);
}

} // namespace
} // namespace orlix
