// Lines that get no prompt: a glitch costs no reconnect and no wrong value;
// a unit that stays silent or rejects everything is judged lost.
#include "core/data/mdv_writer.h"
#include "support/sim_harness.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orlix {
namespace {

using test::SimHarness;

// Whether the link stayed Online through `ms` of the run, looked at every 10 ms.
bool stayedOnline(SimHarness& h, int ms) {
    for (int t = 0; t < ms; t += 10) {
        h.run(10);
        if (!h.app.link.OnlineMode) {
            return false;
        }
    }
    return true;
}

// The fields of the data file the tool would write now, comma by comma.
std::vector<std::string> fileFields(const SimHarness& h) {
    std::vector<std::string> fields;
    std::stringstream text(formatMdv(h.app.data, true, DateTime{}));
    for (std::string field; std::getline(text, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

// A silence of 3 s starting anywhere in the walk's first seconds, on a unit
// with real line timing, so that it also cuts replies off half-way.
TEST(LostLines, AThreeSecondGlitchAnywhereInTheWalkCostsNoReconnectAndNoWrongValue) {
    auto options = SimHarness::quickUnit();
    options.wireRate = true;
    std::vector<std::string> before, truth;
    {
        SimHarness h(options);
        h.startWalk();
        before = fileFields(h);
        h.run(SimHarness::kWalkPassMs);
        truth = fileFields(h);
        ASSERT_EQ(truth.size(), before.size());
    }
    // Steps of 7 ms against the walk's 1.1 s cycle land in every reply.
    for (int start = 0; start < 12'000; start += 7) {
        SCOPED_TRACE("silence from " + std::to_string(start) + " ms into the walk");
        SimHarness h(options);
        h.startWalk();
        h.run(start);
        const std::size_t linesBefore = h.linesWritten().size();
        h.unit.setSilent(true);
        ASSERT_TRUE(stayedOnline(h, 3000));
        h.unit.setSilent(false);
        ASSERT_TRUE(stayedOnline(h, 8000));
        ASSERT_EQ(h.app.commLogView.text.find("given up"), std::string::npos);
        ASSERT_GT(h.linesWritten().size() - linesBefore, 6u) << "the walk goes on";
        const auto now = fileFields(h);
        ASSERT_EQ(now.size(), truth.size());
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i] != before[i]) {
                ASSERT_EQ(now[i], truth[i]) << "field " << i << " of the data file";
            }
        }
    }
}

TEST(LostLines, WithoutAutoReConnectASilentUnitIsToldAndNotLeftGreen) {
    SimHarness h;
    h.startWalk();
    h.run(10'000);
    h.act([&] { h.app.frmConnect.ckAutoReConnect_Click(false); });
    h.unit.setSilent(true);
    // The next walk line within 1 s, once more after 3 s, given up 3 s later.
    h.run(7200);
    const App& app = h.app;
    EXPECT_NE(app.commLogView.text.find("given up"), std::string::npos);
    EXPECT_NE(app.commLogView.text.find("Link lost: the unit does not answer"), std::string::npos);
    EXPECT_TRUE(app.link.OfflineMode);
    EXPECT_EQ(app.connectView.btnInd, kColourRed);
    EXPECT_EQ(app.commLogView.btnInd, kColourRed);
    EXPECT_TRUE(app.isVisible(WindowId::frmConnect));
    h.run(12'000); // the attempt's five tries
    EXPECT_TRUE(app.isVisible(WindowId::frmTimedOut)) << "the unit is not responding";
    EXPECT_EQ(app.connectView.lbl1.substr(0, 29), "Unable to connect to monitor.");
}

TEST(LostLines, AUnitThatRejectsEveryLineIsToldAndNotLeftGreen) {
    SimHarness h;
    h.startWalk();
    h.run(10'000);
    h.unit.setRejectEveryNthLine(1);
    const std::size_t before = h.port.writes().size();
    h.run(3000);
    const App& app = h.app;
    EXPECT_NE(app.commLogView.text.find("Rejected 5 times in a row"), std::string::npos);
    EXPECT_NE(app.commLogView.text.find("Link lost: the unit rejects every line"),
              std::string::npos);
    EXPECT_TRUE(app.link.OfflineMode);
    EXPECT_EQ(app.connectView.btnInd, kColourRed);
    EXPECT_TRUE(app.isVisible(WindowId::frmTrying)) << "Auto ReConnect keeps trying";
    h.run(60'000);
    const auto log = app.commLogView.text;
    EXPECT_EQ(log.find("Rejected 5 times"), log.rfind("Rejected 5 times")) << "said once";
    EXPECT_LT(h.port.writes().size() - before, 60u * 3) << "no storm while the attempt tries";

    h.unit.setRejectEveryNthLine(0);
    h.run(4000);
    EXPECT_TRUE(app.link.OnlineMode) << "back as soon as the unit takes lines again";
}

} // namespace
} // namespace orlix
