// The simulated unit's answers to the whole data request walk, taken in by
// the tool's reception rule and its own reply dispatcher: what lands in the
// monitor data must be what the unit holds. A layout that only our parser
// accepts, or a parser that misreads a unit's layout, shows here.
#include "unit_driver.h"

#include "core/data/monitor_data.h"
#include "core/link/link_flags.h"
#include "core/protocol/data_request_table.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_protocol.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace orlix::sim {
namespace {

using testing::quickOptions;
using testing::UnitDriver;

struct Events : ProtocolEvents {
    void controlModeReported(bool software) override { controlSoftware = software; }
    std::optional<bool> controlSoftware;
};

// The tool and the unit joined by the virtual line.
struct Bench {
    explicit Bench(UnitOptions options) : unit(std::move(options)), protocol(data, link, events) {
        SetDefaultCountsAndNames(data);
    }
    // Every command brings one answer: echo, data, the prompt and its line
    // end, with no prompt character or '!' before the end. The tool's
    // reception hands the text up to the prompt to the dispatcher.
    void ask(std::string_view command) {
        const std::string out = unit.command(command);
        ASSERT_TRUE(out.ends_with("#\r\n")) << out;
        ASSERT_EQ(out.find_first_of("#$!"), out.size() - 3) << out;
        protocol.ReplyDispatcher(out.substr(0, out.size() - 2));
    }
    UnitDriver unit;
    MonitorData data;
    LinkFlags link;
    Events events;
    ReplyProtocol protocol;
};

class SimCrossCheck : public ::testing::TestWithParam<const char*> {};

TEST_P(SimCrossCheck, TheWholeWalkLandsInTheMonitorDataAsTheUnitHoldsIt) {
    Bench b(quickOptions(GetParam()));
    const SimulatedUnit& unit = b.unit.unit;
    const UnitOptions& cfg = unit.state().config;
    // Some time into this power-on, so that the two time groups carry.
    b.unit.now = (16 * 3600 + 17 * 60 + 45) * 1000LL;

    b.ask("p");
    EXPECT_TRUE(b.link.MonitorConnected && !b.link.MonitorInBootMode);
    b.ask("df"); // as the tool does on connecting
    b.ask("TAS");
    for (auto command : kDataItemCommands) {
        if (!command.empty()) {
            b.ask(command);
        }
    }
    for (const char* command : {"dy", "dv", "dx", "dz", "ddn"}) {
        b.ask(command);
    }

    const auto& d = b.data;
    EXPECT_EQ(d.FirmwareVersion, "V " + std::string(GetParam()));
    EXPECT_EQ(d.FirmwareVersionCode, unit.firmwareVersionCode());
    EXPECT_EQ(d.RomVersion, "V " + cfg.identity.romVersion);
    EXPECT_EQ(d.HVUpperLimit, cfg.highVoltage.upperLimit);
    EXPECT_EQ(d.HVLowerLimit, cfg.highVoltage.lowerLimit);
    EXPECT_EQ(d.ModelNumber, cfg.identity.modelNumber);
    EXPECT_EQ(d.SerialNumber, cfg.identity.serialNumber);
    EXPECT_EQ(d.OperatingHours, "524:00:00:03");
    EXPECT_EQ(d.OperatingCycles, std::to_string(unit.state().operatingCycles));
    EXPECT_EQ(b.events.controlSoftware, std::optional<bool>(true));
    EXPECT_EQ(d.HsyncFrequencyWhole, 32); // 31.25 kHz, as the tool scales it
    EXPECT_EQ(d.Capability, (std::array<std::int16_t, 8>{1, 0, 1, 0, 0, 0, 0, 1})); // 0x85

    switch (unit.state().firmware.generation()) {
    case 1:
        for (std::size_t k = 0; k < 7; ++k) {
            const int raw = cfg.analog.gen1[k];
            EXPECT_EQ(d.AnalogRaw[k], k == 3 ? std::max(raw, 18) : raw) << k;
        }
        break;
    case 2:
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(d.AnalogRaw[k], cfg.analog.gen2Leading[k]);
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
    for (int k = 0; k < pCount; ++k) {
        EXPECT_EQ(d.N.PValue[0][k], unit.dac(DacGroup::N, DacSet::P, k)) << k;
        if (k < 2) {
            EXPECT_EQ(d.N.FValue[0][k], unit.dac(DacGroup::N, DacSet::F, k)) << k;
        }
    }

    // What the tool only shows: the configuration replies read as sent.
    const auto& shown = b.protocol.display();
    EXPECT_EQ(shown.text("lblAutoBoot.Caption"), "ON");
    EXPECT_EQ(shown.text("lblScanNumber.Caption"), std::to_string(cfg.identity.configNumber));
    EXPECT_EQ(shown.text("lblScanName.Caption"), cfg.identity.configName);
    EXPECT_EQ(shown.text("lblValue(8).Caption"), "21");
    if (const int code = unit.firmwareVersionCode(); code >= 216 && code <= 299) {
        // Option pairs 4/3 and 2/1 from the two characters of the "BC" line.
        EXPECT_EQ(shown.text(cfg.panel.bcFirst == '0' ? "Option4.Value" : "Option3.Value"), "True");
        EXPECT_EQ(shown.text(cfg.panel.bcSecond == '0' ? "Option2.Value" : "Option1.Value"),
                  "True");
    }
}

TEST_P(SimCrossCheck, StoredSetsReportedByDdsLandInTheirPlanes) {
    auto options = quickOptions(GetParam());
    options.ddsReports = 'P';
    Bench b(options);
    b.ask("df");
    b.ask("dds");
    for (int k = 0; k < (b.unit.unit.firmwareVersionCode() == 224 ? 2 : 4); ++k) {
        EXPECT_EQ(b.data.N.PValue[0][k], b.unit.unit.dac(DacGroup::N, DacSet::P, k)) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Generations, SimCrossCheck,
                         ::testing::Values("1.39", "2.10", "2.24", "3.05"),
                         [](const auto& info) { return "firmware" + testing::nameOf(info.param); });

} // namespace
} // namespace orlix::sim
