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

TEST(DataWalk, WalksTheTableOnceThenKeepsCyclingFromItemTwoOneTickASecond) {
    SimHarness h;
    h.start();
    h.run(3000);
    const std::size_t before = h.linesWritten().size();
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); }); // at 3000
    h.run(100'000);

    std::vector<std::string> expected;
    const auto item = [](int i) { return std::string(kDataItemCommands[std::size_t(i)]); };
    expected.push_back(item(0)); // the menu command itself
    for (int first : {0, 2}) {
        for (int i = first; i < kDataItemCount; ++i) {
            if (i != 3) {
                expected.push_back(item(i));
            }
        }
    }
    const auto got = requests(h, before);
    ASSERT_GE(got.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + long(expected.size())), expected);

    // Every line is its letters and one line end. The tick restarts the
    // timer after its write, as after a blocking pause.
    std::vector<std::int64_t> times;
    for (const auto& w : h.port.writes()) {
        ASSERT_EQ(w.bytes.find("\r\n"), w.bytes.size() - 2) << w.bytes;
        if (w.at > 3000 && w.bytes != "p\r\n" && times.size() < 3) {
            times.push_back(w.at);
        }
    }
    EXPECT_EQ(times, (std::vector<std::int64_t>{3100, 4200, 5300}));
}

TEST(DataWalk, NothingGoesOutAndTheIndexNeverOverflowsWhileOfflineAndTheWalkResumesAtItemTwo) {
    SimHarness h;
    h.start();
    h.run(3000);
    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); });
    h.run(5000);
    h.unit.setSilent(true);
    h.act([&] { h.app.frmConnect.ckAutoReConnect_Click(false); });
    h.act([&] { h.app.frmMain.mnuMonitorOffline_Click(); });
    const std::size_t offline = h.linesWritten().size();
    // Nine hours of ticks would take a 16-bit index past 32767.
    for (int hour = 0; hour < 9; ++hour) {
        h.clock.advance(3600 * 1000);
    }
    EXPECT_EQ(h.linesWritten().size(), offline) << "nothing goes out offline";
    EXPECT_GT(h.app.frmMain.DataItemIndex, 0);
    EXPECT_LE(h.app.frmMain.DataItemIndex, kDataItemCount);

    h.unit.setSilent(false);
    h.act([&] { h.app.frmMain.mnuMonitorOnline_Click(); });
    h.act([&] { h.app.frmConnect.btnOK_Click(); });
    const std::size_t before = h.linesWritten().size();
    h.run(6000);
    // The walk goes on at item 2 (after one silent tick), the connection's
    // own version request among its lines.
    std::vector<std::string> walk = requests(h, before);
    const auto df = std::find(walk.begin(), walk.end(), "df");
    ASSERT_NE(df, walk.end());
    walk.erase(df);
    ASSERT_GE(walk.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(walk.begin(), walk.begin() + 4),
              (std::vector<std::string>{"dc", "ddv", "ddfv", "ddpv"}));
}

TEST(DataWalk, TheLastItemsLeaveTheTimerAsItIs) {
    SimHarness h;
    h.start();
    h.run(3000);
    struct Case {
        std::int16_t index;
        const char* sent; // "" for nothing
        bool starts;      // starts a stopped tmrSave
        std::int16_t indexAfter;
    };
    const Case cases[] = {
        {3, "", true, 7},   {43, "ddps", true, 7}, {44, "ddfs", false, 7},
        {45, "", false, 1}, {-1, "", true, 1},
    };
    for (const auto& c : cases) {
        h.app.timers.stop(TimerId::tmrSave);
        h.app.frmMain.DataItemIndex = 7;
        const std::size_t before = h.linesWritten().size();
        h.act([&] { h.app.frmMain.RequestDataItem(c.index); });
        EXPECT_EQ(h.app.frmMain.DataItemIndex, c.indexAfter) << c.index;
        h.run(500); // past the write's pause, which holds the timer's start back
        EXPECT_EQ(h.clock.isRunning(TimerId::tmrSave), c.starts) << c.index;
        const auto sent = requests(h, before);
        EXPECT_EQ(sent, *c.sent ? std::vector<std::string>{c.sent} : std::vector<std::string>{})
            << c.index;
        // A running timer is not restarted by the last items.
        if (!c.starts) {
            h.app.timers.start(TimerId::tmrSave, 1000);
            h.run(600);
            h.act([&] { h.app.frmMain.RequestDataItem(c.index); });
            EXPECT_EQ(h.clock.dueAt(TimerId::tmrSave), h.clock.nowMs() + 400) << c.index;
            h.run(500);
        }
    }
}

} // namespace
} // namespace orlix
