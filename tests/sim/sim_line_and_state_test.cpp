// The unit's side of the line (echo, line ends, editing, line checking, the
// raw bugeye blocks, timing) and the state that commands change.
#include "unit_driver.h"

#include <gtest/gtest.h>

#include <functional>

namespace orlix::sim {
namespace {

using testing::quickOptions;
using testing::UnitDriver;

using namespace std::string_literals;

TEST(SimLine, EchoesEachCharacterAsItArrives) {
    UnitDriver d;
    EXPECT_EQ(d.write("d"), "d");
    EXPECT_EQ(d.write("f"), "f");
    EXPECT_EQ(d.write("\r"), "\r\nV 2.24\r\n#\r\n");
    EXPECT_EQ(d.write("\n"), ""); // the LF of CR LF
}

TEST(SimLine, TakesALoneLineFeedAsLineEndAndHonoursBackspace) {
    UnitDriver d;
    EXPECT_EQ(d.write("df\n"), "df\r\nV 2.24\r\n#\r\n");
    EXPECT_EQ(d.write("dx\bf\r\n"), "dx\b \bf\r\nV 2.24\r\n#\r\n");
}

TEST(SimLine, SeveralLinesInOneWriteAreAnsweredInOrder) {
    UnitDriver d;
    EXPECT_EQ(d.write("p\r\ndy\r\n"), "p\r\n#\r\ndy\r\ncontrol=0;\r\n#\r\n");
}

TEST(SimLine, RejectsAGarbledLineUntilCheckingIsSwitchedOff) {
    UnitDriver d;
    EXPECT_EQ(d.write("d\x01y\r\n"), "d\x01y\r\n!\r\n");
    EXPECT_EQ(d.command("cz0"), "cz0\r\n#\r\n");
    EXPECT_FALSE(d.unit.lineChecking());
    EXPECT_EQ(d.write("d\x01y\r\n"), "d\x01y\r\n?\r\n#\r\n");
    d.command("cz1");
    EXPECT_TRUE(d.unit.lineChecking());
}

TEST(SimLine, BugeyeBlocksSetTheBrightnessSilentlyUntilTextComesAgain) {
    UnitDriver d;
    EXPECT_EQ(d.write("CB\r\n\xC8\x00"s), "CB\r\n#\r\n");
    EXPECT_TRUE(d.unit.bugeyeMode());
    EXPECT_EQ(d.unit.bugeyeBrightness(), 200);
    EXPECT_EQ(d.write("\x0D"s), ""); // a block split over two writes
    EXPECT_EQ(d.write("\x00"s), "");
    EXPECT_EQ(d.unit.bugeyeBrightness(), 13);
    EXPECT_EQ(d.write("\x00\x00"s), "");
    EXPECT_EQ(d.unit.bugeyeBrightness(), 0);
    EXPECT_EQ(d.command("p"), "p\r\n#\r\n");
    EXPECT_FALSE(d.unit.bugeyeMode());
}

struct StateCase {
    const char* command;
    std::function<bool(const SimulatedUnit&)> holds;
};

class SimStateCommand : public ::testing::TestWithParam<StateCase> {};

TEST_P(SimStateCommand, ChangesTheUnitAndIsAnsweredWithThePrompt) {
    UnitDriver d;
    const std::string cmd = GetParam().command;
    EXPECT_EQ(d.command(cmd), cmd + "\r\n#\r\n");
    EXPECT_TRUE(GetParam().holds(d.unit)) << cmd;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SimStateCommand,
    ::testing::Values(
        StateCase{"TYW31B100", [](const auto& u) { return u.digitalBrightness(0) == 100; }},
        StateCase{"TYW32B16383", [](const auto& u) { return u.digitalBrightness(1) == 16383; }},
        StateCase{"TYW33B0", [](const auto& u) { return u.digitalBrightness(2) == 0; }},
        StateCase{"TYW41B7", [](const auto& u) { return u.analogBrightness(0) == 7; }},
        StateCase{"TYW43B9000",
                  [](const auto& u) {
                      return u.analogBrightness(2) == 9000 && u.analogBrightness(1) == 16383;
                  }},
        StateCase{"TAS", [](const auto& u) { return u.softwareControl(); }},
        StateCase{"TAH", [](const auto& u) { return !u.softwareControl(); }},
        StateCase{"CU", [](const auto& u) { return !u.verbose(); }},
        StateCase{"CV", [](const auto& u) { return u.verbose(); }},
        StateCase{"CB", [](const auto& u) { return u.bugeyeMode(); }}));

TEST(SimState, ControlModeAndDacChangesShowInLaterReplies) {
    UnitDriver d;
    d.command("TAS");
    EXPECT_EQ(d.command("dy"), "dy\r\ncontrol=1;\r\n#\r\n");
    d.command("TAH");
    EXPECT_EQ(d.command("dy"), "dy\r\ncontrol=0;\r\n#\r\n");
    d.unit.setDac(DacGroup::B, DacSet::F, 1, 7);
    EXPECT_EQ(d.command("ddfb"), "ddfb\r\n103,7\r\n#\r\n");
}

TEST(SimState, OperatingTimeAdvancesWithTheClock) {
    UnitDriver d;
    const auto start = d.unit.operatingSeconds(0);
    EXPECT_EQ(d.unit.operatingSeconds(59'999), start + 59);
    EXPECT_EQ(d.unit.operatingSeconds(60'000), start + 60);
}

TEST(SimTiming, WireRateLetsNoMoreThan1920CharactersASecondThrough) {
    auto options = quickOptions("2.10");
    options.wireRate = true;
    UnitDriver fast(quickOptions("2.10"));
    const auto whole = fast.command("da");

    SimulatedUnit unit(options);
    unit.receive("da\r\n", 0);
    std::string got;
    std::int64_t last = 0;
    for (std::int64_t t = 0; t <= 1000 && got.size() < whole.size(); ++t) {
        got += unit.takeOutput(t);
        // A character takes 25/48 ms; the first echo also waits for its
        // own character to come in.
        if (!got.empty()) {
            EXPECT_LE(static_cast<std::int64_t>(got.size() + 1) * 25, t * 48) << t;
        }
        last = t;
    }
    EXPECT_EQ(got, whole);
    const auto chars = static_cast<std::int64_t>(whole.size());
    EXPECT_EQ(last, ((chars + 1) * 25 + 47) / 48); // the first echo waits for its character
}

TEST(SimTiming, TheAnswerWaitsForTheReplyDelayButTheEchoDoesNot) {
    auto options = quickOptions();
    options.replyDelayMs = 40;
    SimulatedUnit unit(options);
    unit.receive("df\r\n", 100);
    EXPECT_EQ(unit.takeOutput(100), "df\r\n");
    EXPECT_EQ(unit.nextOutputTime(), std::optional<std::int64_t>(140));
    EXPECT_EQ(unit.takeOutput(139), "");
    EXPECT_EQ(unit.takeOutput(140), "V 2.24\r\n#\r\n");
    EXPECT_EQ(unit.nextOutputTime(), std::nullopt);
}

TEST(SimOptions, AnUnreadableFirmwareVersionIsRefused) {
    for (const char* bad : {"", "2", "x.yy", "0.50", "2.245"}) {
        auto options = quickOptions(bad);
        EXPECT_THROW(SimulatedUnit{options}, std::invalid_argument) << bad;
    }
}

} // namespace
} // namespace orlix::sim
