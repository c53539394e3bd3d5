// What a stored window placement gives, and what a damaged one falls back to.
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
    const Placement normal{0, 0, 14400, 8100, WindowState::Normal};
    // clang-format off
    const std::vector<Case> cases = {
        {{}, normal},
        {{{"Top", "120"}, {"Left", "240.5"}, {"Width", "9000"}, {"Height", "6000"}, {"Windowstate", "2"}},
         {120, 240.5, 9000, 6000, WindowState::Maximized}},
        {{{"Windowstate", "1"}}, {0, 0, 14400, 8100, WindowState::Minimized}},
        {{{"Top", "abc"}, {"Width", "-5"}, {"Height", "0"}, {"Windowstate", "7"}}, normal},
        {{{"Left", "1e400"}, {"Width", "nan"}, {"Height", "1e39"}}, normal},
        {{{"Top", "-300"}}, {-300, 0, 14400, 8100, WindowState::Normal}},
        // Larger than the screen: the default size, one dimension at a time.
        {{{"Width", "100000000"}, {"Height", "100000000"}}, normal},
        {{{"Width", "200000"}, {"Height", "6000"}}, {0, 0, 14400, 6000, WindowState::Normal}},
        {{{"Width", "28800"}, {"Height", "16200"}}, {0, 0, 28800, 16200, WindowState::Normal}},
        // Too little of the window on the screen to grab it: the default position.
        {{{"Left", "10000000"}, {"Top", "100"}}, normal},
        {{{"Left", "-14000"}}, normal},
        {{{"Left", "28500"}}, normal},
        {{{"Top", "-50000"}}, normal},
        {{{"Top", "16000"}}, normal},
        {{{"Left", "-13000"}, {"Top", "15000"}}, {15000, -13000, 14400, 8100, WindowState::Normal}},
    };
    // clang-format on
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

TEST(Placement, WindowsWithKeysOfTheirOwnFallBackTheSameWay) {
    const FixedPlacementKeys keys{&keys::TimedOutWindowState,
                                  &keys::TimedOutTop,
                                  &keys::TimedOutLeft,
                                  &keys::TimedOutWidth,
                                  &keys::TimedOutHeight,
                                  4800,
                                  2475};
    const std::pair<std::vector<std::pair<const char*, const char*>>, Placement> cases[] = {
        {{{"TimedOutWidth", "6000"}, {"TimedOutLeft", "900"}}, {0, 900, 6000, 2475}},
        {{{"TimedOutWidth", "100000000"}, {"TimedOutTop", "-90000"}}, {0, 0, 4800, 2475}},
        {{{"TimedOutHeight", "200000"}, {"TimedOutLeft", "1e9"}}, {0, 0, 4800, 2475}},
    };
    for (const auto& [stored, expected] : cases) {
        test::FakeSettingsStore store;
        for (const auto& [key, value] : stored) {
            store.set("Configs", key, value);
        }
        Settings settings(store);
        WindowPlacement placement(settings);
        EXPECT_EQ(placement.restoreFixed(keys), expected) << stored[0].second;
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
