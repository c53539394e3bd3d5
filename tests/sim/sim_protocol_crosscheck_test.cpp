// The simulated unit's answers to the whole data request walk, taken in by
// the tool's own reception rule and reply dispatcher: what lands in the
// monitor data must be what the unit holds. A layout that only our parser
// accepts, or a parser that misreads a unit's layout, shows here.
#include "unit_driver.h"

#include "core/data/monitor_data.h"
#include "core/link/link_flags.h"
#include "core/protocol/data_request_table.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_protocol.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace orlix::sim {
namespace {

using testing::quickOptions;
using testing::Reception;
using testing::UnitDriver;

struct Events : ProtocolEvents {
    void controlModeReported(bool software) override { controlSoftware = software; }
    void firmwareVersionLabel(const std::string& text) override { firmwareLabel = text; }
    std::optional<bool> controlSoftware;
    std::string firmwareLabel;
};

// The tool and the unit joined by the virtual line.
struct Bench {
    explicit Bench(UnitOptions options) : unit(std::move(options)), protocol(data, link, events) {
        SetDefaultCountsAndNames(data);
    }
    void ask(std::string_view command) {
        for (const auto& reply : reception.feed(unit.command(command))) {
            protocol.ReplyDispatcher(reply);
        }
    }
    UnitDriver unit;
    MonitorData data;
    LinkFlags link;
    Events events;
    ReplyProtocol protocol;
    Reception reception;
};

std::string withoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
        text.pop_back();
    }
    return text;
}

std::string daysClock(std::int64_t seconds) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%lld:%02d:%02d:%02d", static_cast<long long>(seconds / 86400),
                  static_cast<int>(seconds / 3600 % 24), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return buf;
}

class SimCrossCheck : public ::testing::TestWithParam<const char*> {};

TEST_P(SimCrossCheck, TheWholeWalkLandsInTheMonitorDataAsTheUnitHoldsIt) {
    Bench b(quickOptions(GetParam()));
    const SimulatedUnit& unit = b.unit.unit;
    const UnitOptions& cfg = unit.state().config;
    // Some time into this power-on, so that the two time groups carry.
    b.unit.advance((16 * 3600 + 17 * 60 + 45) * 1000LL);

    b.ask("p");
    ASSERT_TRUE(b.link.MonitorConnected);
    EXPECT_FALSE(b.link.MonitorInBootMode);
    b.ask("df"); // as the tool does on connecting
    for (auto command : kDataItemCommands) {
        if (!command.empty()) {
            b.ask(command);
        }
    }
    EXPECT_EQ(b.reception.rejects, 0);
    EXPECT_EQ(b.reception.pending(), "");

    const auto& d = b.data;
    EXPECT_EQ(d.FirmwareVersion, "V " + std::string(GetParam()));
    EXPECT_EQ(b.events.firmwareLabel, d.FirmwareVersion);
    EXPECT_EQ(d.FirmwareVersionCode, unit.firmwareVersionCode());
    EXPECT_EQ(d.RomVersion, "V " + cfg.identity.romVersion);
    EXPECT_EQ(d.HVUpperLimit, cfg.highVoltage.upperLimit);
    EXPECT_EQ(d.HVLowerLimit, cfg.highVoltage.lowerLimit);
    EXPECT_EQ(withoutLineEnd(d.ModelNumber), cfg.identity.modelNumber);
    EXPECT_EQ(withoutLineEnd(d.SerialNumber), cfg.identity.serialNumber);
    EXPECT_EQ(d.OperatingHours, daysClock(unit.operatingSeconds(b.unit.now)));
    EXPECT_EQ(d.OperatingHours, "524:00:00:03");
    EXPECT_EQ(d.OperatingCycles, std::to_string(unit.state().operatingCycles));

    switch (unit.state().firmware.generation()) {
    case 1:
        for (int k = 0; k < 7; ++k) {
            const int raw = cfg.analog.gen1[static_cast<std::size_t>(k)];
            EXPECT_EQ(d.AnalogRaw[static_cast<std::size_t>(k)], k == 3 ? std::max(raw, 18) : raw)
                << k;
        }
        break;
    case 2:
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(d.AnalogRaw[static_cast<std::size_t>(k)],
                      cfg.analog.gen2Leading[static_cast<std::size_t>(k)]);
        }
        // The labelled readings are found by their labels: first, middle, last.
        for (const char* key :
             {"lblLV80Value.Caption", "G1Label.Caption", "lblVoltage(7).Caption"}) {
            EXPECT_FALSE(b.protocol.display().text(key).empty()) << key;
        }
        break;
    default:
        EXPECT_EQ(d.AnalogRaw, (std::array<std::int16_t, 7>{})); // stores nothing
    }

    const std::pair<GroupId, DacGroup> groups[] = {{GroupId::L, DacGroup::L},
                                                   {GroupId::B, DacGroup::B},
                                                   {GroupId::H, DacGroup::H},
                                                   {GroupId::V, DacGroup::V}};
    for (const auto& [toolGroup, unitGroup] : groups) {
        const auto& g = d.group(toolGroup);
        ASSERT_EQ(g.count, cfg.dacs.group(unitGroup).count);
        for (int k = 0; k < g.count; ++k) {
            EXPECT_EQ(g.FValue[0][k], unit.dac(unitGroup, DacSet::F, k)) << groupLetter(unitGroup);
            EXPECT_EQ(g.PValue[0][k], unit.dac(unitGroup, DacSet::P, k)) << groupLetter(unitGroup);
        }
    }
    EXPECT_EQ(d.H.FValue[0][kHorizSCapIndex], unit.dac(DacGroup::H, DacSet::F, kHorizSCapIndex));
    EXPECT_EQ(d.H.PValue[0][kHorizSCapIndex], unit.dac(DacGroup::H, DacSet::P, kHorizSCapIndex));

    // N: the F set in the short layout; the P set short on 2.24, long else.
    const int pCount = unit.firmwareVersionCode() == 224 ? 2 : 4;
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(d.N.FValue[0][k], unit.dac(DacGroup::N, DacSet::F, k)) << k;
    }
    for (int k = 0; k < pCount; ++k) {
        EXPECT_EQ(d.N.PValue[0][k], unit.dac(DacGroup::N, DacSet::P, k)) << k;
    }

    // What the tool only shows: the configuration replies read as sent.
    const auto& shown = b.protocol.display();
    EXPECT_EQ(shown.text("lblAutoBoot.Caption"), "ON");
    EXPECT_EQ(shown.text("lblScanNumber.Caption"), std::to_string(cfg.identity.configNumber));
    EXPECT_EQ(shown.text("lblScanName.Caption"), cfg.identity.configName);
    EXPECT_EQ(shown.text("lblValue(8).Caption"), "21");
}

TEST_P(SimCrossCheck, ControlModeFrequenciesAndCapabilityReachTheTool) {
    Bench b(quickOptions(GetParam()));
    b.ask("dy");
    EXPECT_EQ(b.events.controlSoftware, std::optional<bool>(false));
    b.ask("TAS");
    b.ask("dy");
    EXPECT_EQ(b.events.controlSoftware, std::optional<bool>(true));

    b.ask("dv");
    EXPECT_EQ(b.data.HsyncFrequencyWhole, 32); // 31.25 kHz, as the tool scales it
    b.ask("dx");
    const std::array<std::int16_t, 8> capability{1, 0, 1, 0, 0, 0, 0, 1}; // 0x85
    EXPECT_EQ(b.data.Capability, capability);
}

TEST_P(SimCrossCheck, StoredSetsReportedByDdsLandInTheirPlanes) {
    auto options = quickOptions(GetParam());
    options.ddsReports = 'P';
    Bench b(options);
    b.ask("df");
    b.ask("dds");
    const int count = b.unit.unit.firmwareVersionCode() == 224 ? 2 : 4;
    for (int k = 0; k < count; ++k) {
        EXPECT_EQ(b.data.N.PValue[0][k], b.unit.unit.dac(DacGroup::N, DacSet::P, k)) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Generations, SimCrossCheck,
                         ::testing::Values("1.39", "2.10", "2.24", "3.05"));

TEST(SimCrossCheckBoot, ThePingOfTheBootLoaderMarksBootMode) {
    auto options = quickOptions();
    options.startInBootLoader = true;
    Bench b(options);
    b.ask("p");
    EXPECT_TRUE(b.link.MonitorConnected);
    EXPECT_TRUE(b.link.MonitorInBootMode);
}

} // namespace
} // namespace orlix::sim
