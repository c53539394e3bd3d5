// Window placement between runs: what a stored placement gives, and what
// a damaged one falls back to.
#include "core/app/placement.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

TEST(Placement, StoredValuesAndTheirFallbacks) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> stored;
        Placement expected;
    };
    const std::vector<Case> cases = {
        {{}, {0, 0, 14400, 8100, WindowState::Normal}},
        {{{"Top", "120"},
          {"Left", "240.5"},
          {"Width", "9000"},
          {"Height", "6000"},
          {"Windowstate", "2"}},
         {120, 240.5, 9000, 6000, WindowState::Maximized}},
        {{{"Windowstate", "1"}}, {0, 0, 14400, 8100, WindowState::Minimized}},
        {{{"Top", "abc"}, {"Width", "-5"}, {"Height", "0"}, {"Windowstate", "7"}},
         {0, 0, 14400, 8100, WindowState::Normal}},
        {{{"Left", "1e400"}, {"Width", "nan"}, {"Height", "1e39"}},
         {0, 0, 14400, 8100, WindowState::Normal}},
        {{{"Top", "-300"}}, {-300, 0, 14400, 8100, WindowState::Normal}},
    };
    for (const auto& c : cases) {
        test::FakeSettingsStore store;
        for (const auto& [suffix, value] : c.stored) {
            store.set("Locations", "frmConnect" + suffix, value);
        }
        Settings settings(store);
        WindowPlacement placement(settings);
        placement.setScreen({28800, 16200});
        const Placement p = placement.restore("frmConnect");
        EXPECT_EQ(p, c.expected) << (c.stored.empty() ? "" : c.stored[0].second);
    }
}

TEST(Placement, SaveWritesAllFiveKeysAndReadsBack) {
    test::FakeSettingsStore store;
    Settings settings(store);
    WindowPlacement placement(settings);
    const Placement p{15, 30, 4800.5, 2475, WindowState::Minimized};
    placement.save("frmBugeyeMode", p);
    EXPECT_EQ(store.values.size(), 5u);
    EXPECT_EQ(store.get("Locations", "frmBugeyeModeWindowstate"), "1");
    EXPECT_EQ(placement.restore("frmBugeyeMode"), p);
}

} // namespace
} // namespace orlix
