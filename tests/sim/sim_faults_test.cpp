// Faults on demand: each does what it says, and only that.
#include "unit_driver.h"

#include "sim/control_commands.h"

#include <gtest/gtest.h>

namespace orlix::sim {
namespace {

using testing::quickOptions;
using testing::Reception;
using testing::UnitDriver;

using namespace std::string_literals;

TEST(SimFaults, ASilentUnitNeitherAnswersNorActsAndLosesWhatWasOnItsWay) {
    auto options = quickOptions();
    options.replyDelayMs = 50;
    UnitDriver d(options);
    d.unit.receive("dy\r\n", 0);
    d.unit.setSilent(true);
    EXPECT_EQ(d.drain(), "");
    EXPECT_EQ(d.command("TAS"), "");
    EXPECT_FALSE(d.unit.softwareControl());
    d.unit.setSilent(false);
    EXPECT_EQ(d.command("p"), "p\r\n#\r\n");
}

TEST(SimFaults, EveryNthLineIsRejectedWithoutBeingRun) {
    UnitDriver d;
    d.unit.setRejectEveryNthLine(3);
    EXPECT_EQ(d.command("p"), "p\r\n#\r\n");
    EXPECT_EQ(d.command("p"), "p\r\n#\r\n");
    EXPECT_EQ(d.command("TAS"), "TAS\r\n!\r\n");
    EXPECT_FALSE(d.unit.softwareControl());
    EXPECT_EQ(d.command("TAS"), "TAS\r\n#\r\n"); // the resend is a new line
    EXPECT_TRUE(d.unit.softwareControl());
}

struct OutputFaultCase {
    const char* name;
    FaultOptions faults;
    std::string expected; // what "p" then brings
};

class SimOutputFault : public ::testing::TestWithParam<OutputFaultCase> {};

TEST_P(SimOutputFault, ShapesWhatReachesTheTool) {
    UnitDriver d;
    d.unit.setFaults(GetParam().faults);
    EXPECT_EQ(d.command("p"), GetParam().expected);
}

FaultOptions dropOut(int n) {
    FaultOptions f;
    f.dropEveryNthOutputChar = n;
    return f;
}
FaultOptions nul(int n) {
    FaultOptions f;
    f.nulEveryNthOutputChar = n;
    return f;
}
FaultOptions dropIn(int n) {
    FaultOptions f;
    f.dropEveryNthInputChar = n;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimOutputFault,
    ::testing::Values(OutputFaultCase{"none", {}, "p\r\n#\r\n"},
                      OutputFaultCase{"dropEverySecondSent", dropOut(2), "p\n\r"},
                      OutputFaultCase{"dropEveryFourthSent", dropOut(4), "p\r\n\r\n"},
                      OutputFaultCase{"nulAfterEach", nul(1), "p\0\r\0\n\0#\0\r\0\n\0"s},
                      OutputFaultCase{"nulAfterEveryThird", nul(3), "p\r\n\0#\r\n\0"s},
                      // p, CR reach the unit; LF is lost: the line still ends.
                      OutputFaultCase{"dropEveryThirdReceived", dropIn(3), "p\r\n#\r\n"},
                      // p is lost: an empty line.
                      OutputFaultCase{"dropEachReceived", dropIn(1), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimFaults, NulBytesAreHarmlessToTheToolsReception) {
    UnitDriver d;
    d.unit.setNulEveryNthOutputChar(1);
    Reception rx;
    EXPECT_EQ(rx.feed(d.command("df")), std::vector<std::string>{"df\r\nV 2.24\r\n#"});
}

TEST(SimFaults, GarbageGoesBetweenEchoAndDataOfEveryNthReply) {
    UnitDriver d;
    auto faults = d.unit.faults();
    faults.garbageEveryNthReply = 2;
    faults.garbage = "~\x01"s;
    d.unit.setFaults(faults);
    EXPECT_EQ(d.command("df"), "df\r\nV 2.24\r\n#\r\n");
    EXPECT_EQ(d.command("df"), "df\r\n~\x01V 2.24\r\n#\r\n");
    EXPECT_EQ(d.command("df"), "df\r\nV 2.24\r\n#\r\n");
}

TEST(SimFaults, InjectedNoiseGoesOutAtOnce) {
    UnitDriver d;
    d.unit.injectGarbage("\x00\xff%"s, 7);
    EXPECT_EQ(d.unit.takeOutput(7), "\x00\xff%"s);
}

TEST(SimFaults, AHangUpClosesTheLineUntilItIsReconnected) {
    auto options = quickOptions();
    options.replyDelayMs = 10;
    UnitDriver d(options);
    d.unit.receive("df\r\n", 0);
    d.unit.hangUp();
    EXPECT_TRUE(d.unit.hungUp());
    EXPECT_EQ(d.unit.nextOutputTime(), std::nullopt);
    EXPECT_EQ(d.command("p"), "");
    d.unit.reconnectLine();
    EXPECT_FALSE(d.unit.hungUp());
    EXPECT_EQ(d.command("p"), "p\r\n#\r\n");
}

TEST(SimFaults, ARebootLandsInTheBootLoaderAndCountsAPowerCycle) {
    UnitDriver d;
    d.advance(3600 * 1000);
    const auto before = d.unit.operatingSeconds(d.now);
    const auto cycles = d.unit.state().operatingCycles;
    d.unit.receive("df\r\n", d.now); // its answer is lost in the reset
    d.unit.rebootIntoBootLoader(d.now);
    EXPECT_EQ(d.drain(), "Boot Loader V 1.05\r\n$\r\n");
    EXPECT_TRUE(d.unit.inBootLoader());
    EXPECT_EQ(d.unit.state().operatingCycles, cycles + 1);
    EXPECT_EQ(d.unit.operatingSeconds(d.now), before);
    EXPECT_EQ(d.command("p"), "p\r\n$\r\n");
    EXPECT_EQ(d.command("g"), "g\r\nNorvique Monitor Firmware V 2.24\r\n#\r\n");
}

struct ControlCase {
    const char* command;
    bool ok;
};

class SimControlCommand : public ::testing::TestWithParam<ControlCase> {};

TEST_P(SimControlCommand, IsAcceptedOrRefused) {
    SimulatedUnit unit(quickOptions());
    EXPECT_EQ(runControlCommand(unit, GetParam().command, 0).ok, GetParam().ok)
        << GetParam().command;
}

INSTANTIATE_TEST_SUITE_P(
    Console, SimControlCommand,
    ::testing::Values(ControlCase{"silent on", true}, ControlCase{"silent maybe", false},
                      ControlCase{"reject 3", true}, ControlCase{"reject -1", false},
                      ControlCase{"drop x", false}, ControlCase{"garbage 2 \\x00~", true},
                      ControlCase{"dac h f 8 9", true}, ControlCase{"dac q f 1 1", false},
                      ControlCase{"dac l f 1 256", false}, ControlCase{"wire off", true},
                      ControlCase{"delay 20", true}, ControlCase{"status", true},
                      ControlCase{"", true}, ControlCase{"frobnicate", false}));

TEST(SimControlCommands, ChangeTheUnitAsTheySay) {
    SimulatedUnit unit(quickOptions());
    runControlCommand(unit, "reject 4", 0);
    runControlCommand(unit, "drop 5", 0);
    runControlCommand(unit, "drop-in 6", 0);
    runControlCommand(unit, "nul 7", 0);
    runControlCommand(unit, "garbage 2 A\\x42\\0", 0);
    runControlCommand(unit, "dac h p 8 9", 0);
    const auto& f = unit.faults();
    EXPECT_EQ(f.rejectEveryNthLine, 4);
    EXPECT_EQ(f.dropEveryNthOutputChar, 5);
    EXPECT_EQ(f.dropEveryNthInputChar, 6);
    EXPECT_EQ(f.nulEveryNthOutputChar, 7);
    EXPECT_EQ(f.garbageEveryNthReply, 2);
    EXPECT_EQ(f.garbage, "AB\0"s);
    EXPECT_EQ(unit.dac(DacGroup::H, DacSet::P, kHorizSCapIndex), 9);

    runControlCommand(unit, "inject x\\r\\n", 5);
    EXPECT_EQ(unit.takeOutput(5), "x\r\n");
    runControlCommand(unit, "hangup", 5);
    EXPECT_TRUE(unit.hungUp());
    runControlCommand(unit, "plug", 5);
    EXPECT_FALSE(unit.hungUp());
    runControlCommand(unit, "reboot", 5);
    EXPECT_TRUE(unit.inBootLoader());
}

} // namespace
} // namespace orlix::sim
