// The unit's side of the line (echo, line ends, editing, line checking, the
// raw bugeye blocks, timing) and the state that commands change.
#include "unit_driver.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <tuple>

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

// A unit without a check (`holds` empty) only has its answer checked.
struct LineCase {
    const char* name;
    std::string written;
    std::string answer;
    std::function<bool(const SimulatedUnit&)> holds = nullptr;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class SimLineInput : public ::testing::TestWithParam<LineCase> {};

TEST_P(SimLineInput, IsEchoedAnsweredAndActedOn) {
    UnitDriver d;
    EXPECT_EQ(d.write(GetParam().written), GetParam().answer);
    EXPECT_TRUE(!GetParam().holds || GetParam().holds(d.unit));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SimLineInput,
    ::testing::Values(
        LineCase{"loneLineFeed", "df\n", "df\r\nV 2.24\r\n#\r\n"},
        LineCase{"backspace", "dx\bf\r\n", "dx\b \bf\r\nV 2.24\r\n#\r\n"},
        LineCase{"garbledUncheckedThenChecked", "cz0\r\nd\x01y\r\ncz1\r\nd\x01y\r\n",
                 "cz0\r\n#\r\nd\x01y\r\n?\r\n#\r\ncz1\r\n#\r\nd\x01y\r\n!\r\n"},
        LineCase{"controlMode", "TAS\r\ndy\r\nTAH\r\ndy\r\n",
                 "TAS\r\n#\r\ndy\r\ncontrol=1;\r\n#\r\nTAH\r\n#\r\ndy\r\ncontrol=0;\r\n#\r\n"},
        LineCase{"digitalMax", "TYW31B16383\r\n", "TYW31B16383\r\n#\r\n",
                 [](const auto& u) { return u.digitalBrightness(0) == 16383; }},
        LineCase{"digitalMin", "TYW33B0\r\n", "TYW33B0\r\n#\r\n",
                 [](const auto& u) { return u.digitalBrightness(2) == 0; }},
        LineCase{"maximumLevel", "TYW43B9000\r\n", "TYW43B9000\r\n#\r\n",
                 [](const auto& u) {
                     return u.analogBrightness(2) == 9000 && u.analogBrightness(1) == 16383;
                 }},
        LineCase{"quiet", "CU\r\n", "CU\r\n#\r\n", [](const auto& u) { return !u.verbose(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimLine, BugeyeBlocksSetTheBrightnessSilentlyUntilTextComesAgain) {
    UnitDriver d;
    EXPECT_EQ(d.write("CB\r\n\xC8\x00"s), "CB\r\n#\r\n");
    EXPECT_EQ(d.unit.bugeyeBrightness(), 200);
    EXPECT_EQ(d.write("\x0D"s), ""); // a block split over two writes
    EXPECT_EQ(d.write("\x00"s), "");
    EXPECT_EQ(d.unit.bugeyeBrightness(), 13);
    EXPECT_EQ(d.command("p"), "p\r\n#\r\n");
    EXPECT_FALSE(d.unit.bugeyeMode());
}

TEST(SimTiming, WireRateLetsNoMoreThan1920CharactersASecondThrough) {
    auto options = quickOptions("2.10");
    const auto whole = UnitDriver(options).command("da");
    options.wireRate = true;
    SimulatedUnit unit(options);
    unit.receive("da\r\n", 0);
    // A character takes 25/48 ms; the first echo also waits for its own
    // character to come in.
    const auto done = ((static_cast<std::int64_t>(whole.size()) + 1) * 25 + 47) / 48;
    std::string got = unit.takeOutput(done / 2);
    EXPECT_LE(static_cast<std::int64_t>(got.size() + 1) * 25, done / 2 * 48);
    got += unit.takeOutput(done - 1);
    EXPECT_LT(got.size(), whole.size());
    EXPECT_EQ(got + unit.takeOutput(done), whole);
}

// The echo goes out at once; the answer waits for the reply delay, and the
// boot loader's for its flash erase.
TEST(SimTiming, TheAnswerWaitsButTheEchoDoesNot) {
    auto delayed = quickOptions();
    delayed.replyDelayMs = 40;
    auto erasing = quickOptions();
    erasing.startInBootLoader = true;
    erasing.eraseTimeMs = 40;
    for (const auto& [options, command, answer] :
         {std::tuple{delayed, "df", "V 2.24\r\n#\r\n"},
          std::tuple{erasing, "bf3", "Flash block 3 erased\r\n$\r\n"}}) {
        SimulatedUnit unit(options);
        unit.receive(std::string(command) + "\r\n", 100);
        EXPECT_EQ(unit.takeOutput(139), std::string(command) + "\r\n");
        EXPECT_EQ(unit.nextOutputTime(), std::optional<std::int64_t>(140));
        EXPECT_EQ(unit.takeOutput(140), answer);
        EXPECT_EQ(unit.nextOutputTime(), std::nullopt);
    }
}

TEST(SimOptions, AnUnreadableFirmwareVersionIsRefused) {
    for (const char* bad : {"", "2", "x.yy", "0.50", "2.245"}) {
        EXPECT_THROW(SimulatedUnit{quickOptions(bad)}, std::invalid_argument) << bad;
    }
}

} // namespace
} // namespace orlix::sim
