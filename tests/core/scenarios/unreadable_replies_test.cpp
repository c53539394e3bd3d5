// Noise on the line must never become a stored value: after a clean pass of
// the data walk, a pass in which every reply carries noise between its echo
// and its data leaves the data file exactly as it was.
#include "core/data/mdv_writer.h"
#include "support/sim_harness.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

using test::SimHarness;

TEST(UnreadableReplies, NoiseBetweenEchoAndDataChangesNothingTheFileCarries) {
    SimHarness h;
    h.startWalk();
    h.run(SimHarness::kWalkPassMs);
    const std::string clean = formatMdv(h.app.data, true, DateTime{});
    ASSERT_NE(clean.find("180"), std::string::npos) << clean;

    h.unit.setGarbageEveryNthReply(1);
    h.run(SimHarness::kWalkPassMs);
    EXPECT_TRUE(h.app.link.OnlineMode);
    EXPECT_EQ(formatMdv(h.app.data, true, DateTime{}), clean);
}

} // namespace
} // namespace orlix
