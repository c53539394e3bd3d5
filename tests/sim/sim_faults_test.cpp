// Faults and changes on demand, as the simulator's console sets them: each
// does what it says, and only that.
#include "unit_driver.h"

#include "sim/control_commands.h"

#include <gtest/gtest.h>

#include <ostream>

#include <utility>
#include <vector>

namespace orlix::sim {
namespace {

using testing::UnitDriver;

using namespace std::string_literals;

const std::string kControlOff = "dy\r\ncontrol=0;\r\n#\r\n";

TEST(SimFaults, ASilentOrHungUpUnitLosesWhatWasOnItsWayAndRunsNothing) {
    for (auto [fault, lifted] : {std::pair{"silent on", "silent off"}, {"hangup", "plug"}}) {
        UnitDriver d;
        d.unit.receive("df\r\n", 0);
        ASSERT_TRUE(runControlCommand(d.unit, fault, 0).ok);
        EXPECT_EQ(d.drain(), "") << fault;
        EXPECT_EQ(d.command("TAS"), "") << fault;
        ASSERT_TRUE(runControlCommand(d.unit, lifted, 0).ok);
        EXPECT_EQ(d.command("dy"), kControlOff) << fault;
    }
}

struct ConsoleCase {
    const char* name;
    const char* console;
    std::vector<std::pair<std::string, std::string>> lines; // command, what reaches the tool
};

void PrintTo(const ConsoleCase& c, std::ostream* os) {
    *os << '"' << c.console << '"';
}

class SimConsole : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(SimConsole, ShapesWhatReachesTheTool) {
    UnitDriver d;
    d.now = 3'600'000; // an hour into this power-on
    ASSERT_TRUE(runControlCommand(d.unit, GetParam().console, d.now).ok);
    for (const auto& [command, expected] : GetParam().lines) {
        EXPECT_EQ(d.command(command), expected) << command;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SimConsole,
    ::testing::Values(
        // The rejected line is not run; the next line counts on.
        ConsoleCase{"reject",
                    "reject 2",
                    {{"dy", kControlOff},
                     {"TAS", "TAS\r\n!\r\n"},
                     {"dy", kControlOff},
                     {"p", "p\r\n!\r\n"}}},
        ConsoleCase{"drop", "drop 2", {{"p", "p\n\r"}}},
        ConsoleCase{"nul", "nul 3", {{"p", "p\r\n\0#\r\n\0"s}}},
        ConsoleCase{"dropIn", "drop-in 2", {{"dy", "d\r\n?\r\n#\r\n"}}},
        ConsoleCase{"garbage",
                    "garbage 2 ~\\x01",
                    {{"df", "df\r\nV 2.24\r\n#\r\n"}, {"df", "df\r\n~\x01V 2.24\r\n#\r\n"}}},
        ConsoleCase{"inject", "inject x\\r\\n", {{"p", "x\r\np\r\n#\r\n"}}},
        ConsoleCase{"dac", "dac h p 8 9", {{"ddph", "ddph\r\n123,144,165,186,9\r\n#\r\n"}}},
        // The reset stores the operating time and counts a power cycle.
        ConsoleCase{"reboot",
                    "reboot",
                    {{"p", "Boot Loader V 1.05\r\n$\r\np\r\n$\r\n"},
                     {"g", "g\r\nNorvique Monitor Firmware V 2.24\r\n#\r\n"},
                     {"dt", "dt\r\n523,8,42,18\r\n0,0,0,0\r\n1874\r\n#\r\n"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimConsole, RefusesWhatItCannotDo) {
    SimulatedUnit unit;
    for (const char* bad :
         {"silent maybe", "reject -1", "drop x", "dac q f 1 1", "dac l f 1 256", "frobnicate"}) {
        EXPECT_FALSE(runControlCommand(unit, bad, 0).ok) << bad;
    }
}

} // namespace
} // namespace orlix::sim
