// The Monitor Data view built from the display model and the monitor data:
// each reply's values in their group, table and cell; replies that share
// control names kept apart; nothing reported shown as empty; scan sets.
#include "core/dataview/data_set_loader.h"
#include "core/dataview/data_view.h"
#include "core/protocol/protocol_fixture.h"

#include <filesystem>

namespace orlix {
namespace {

using prototest::ProtocolTest;
using prototest::Reply;

const std::filesystem::path kGolden = std::filesystem::path(__FILE__).parent_path() / "golden";

// "group/table: text" of the cell `name`; "missing" when the view has none.
std::string where(const DataView& view, std::string_view name) {
    for (const ViewGroup& g : view.groups) {
        for (const ViewTable& t : g.tables) {
            for (const ViewRow& r : t.rows) {
                for (const ViewCell& c : r.cells) {
                    if (c.name == name) {
                        return g.name + "/" + t.name + ": " + c.text;
                    }
                }
            }
        }
    }
    return "missing";
}

std::string text(const DataView& view, std::string_view name) {
    const ViewCell* c = findCell(view, name);
    return c ? c->text : "missing";
}

class DataViewTest : public ProtocolTest {
protected:
    void feed(std::string_view text) {
        reply(text);
        last.afterReply(text, data);
    }
    DataView view() const {
        return buildDataView({data, protocol.display(), &last, "source", "This data"});
    }
    std::string cell(std::string_view name) const { return text(view(), name); }

    LastReplyTexts last;
};

struct CellCase {
    const char* name;
    std::vector<std::string> replies;
    const char* cell;
    const char* expected;
};

void PrintTo(const CellCase& c, std::ostream* out) {
    *out << c.name;
}

class EachReplyShowsInItsCell : public DataViewTest,
                                public ::testing::WithParamInterface<CellCase> {};

TEST_P(EachReplyShowsInItsCell, WithTheHandlersFormat) {
    for (const std::string& text : GetParam().replies) {
        feed(text);
    }
    EXPECT_EQ(where(view(), GetParam().cell), GetParam().expected);
}

const std::string kGen1 = Reply("df", {"V 1.39"});
const std::string kGen2 = Reply("df", {"V 2.24"});
const std::string kAnalog1 = Reply("da", {"200,100,50,10,128,200,250"});

// clang-format off
INSTANTIATE_TEST_SUITE_P(Replies, EachReplyShowsInItsCell, ::testing::Values(
    CellCase{"AnodeVoltageOfGeneration1", {kGen1, kAnalog1}, "VAnodeValue", "grpReadings/tblAnalog: 07.5 kV"},
    CellCase{"AnodeCurrentRaisedToItsFloor", {kGen1, kAnalog1}, "IAnodeValue", "grpReadings/tblAnalog: 0 uA"},
    CellCase{"LabelledRailOfGeneration2", {kGen2, Reply("da", {"210,96,80,12", "+5V 160"})}, "lblVoltage(5)",
             "grpReadings/tblAnalog: +3.92V"},
    CellCase{"ChannelOfGeneration3", {Reply("df", {"V 3.10"}), Reply("da", {"10,20,30,40,50,60,70,80,90,100,110,120"})},
             "lblACH7", "grpReadings/tblAnalog: 0.16 V"},
    CellCase{"ModelNumber", {Reply("dms", {"Model Number = XYZ-100"})}, "ModelNumber", "grpUnit/tblUnit: XYZ-100"},
    CellCase{"FirmwareGeneration", {kGen2}, "FirmwareGeneration", "grpUnit/tblUnit: 2 (2.24 layouts)"},
    CellCase{"HvControlValueOf224", {kGen2, Reply("dh", {"HV Control Value = 120, 35"})}, "Text2(0)",
             "grpReadings/tblHighVoltage: 035"},
    CellCase{"SyncFrequency", {Reply("dv", {"Vsync Frequency = 60.0", "Hsync Frequency = 31.25"})}, "HsyncFrequency",
             "grpReadings/tblSync: 32.00"},
    CellCase{"ModelTypeAsWords", {Reply("dw", {"Model Type = 0x21"})}, "UserContrastEnabledOption",
             "grpReadings/tblModelType: Disabled"},
    CellCase{"CapabilityFlag", {Reply("dx", {"Capability = 0x85"})}, "Capability(7)", "grpReadings/tblCapability: Set"},
    CellCase{"DeviceStatusColour", {Reply("pi48", {"Device 0x48 OK"})}, "btnU513", "grpReadings/tblDevices: OK (green)"},
    CellCase{"ByteRead", {Reply("rb 0x1234", {"B 0x1234 := 0x3f"})}, "DataByteBox", "grpReadings/tblRegisters: 0x3F"},
    CellCase{"BootValue", {Reply("db", {"R = 0x1A", "R = 0x2B", "R = 0x3C", "auto boot ON"})}, "lblValue(2)",
             "grpReadings/tblBoot: 3C"},
    CellCase{"ParameterOptionChosenBy255", {Reply("dz", {"sig_line_type=255;"})}, "sig_line_type",
             "grpReadings/tblParameters: 2"},
    CellCase{"FSetValue", {Reply("ddfv", {"151,127,111,61,127,129,127"})}, "V(0).F", "grpAdjustments/tblV: 151"},
    CellCase{"ExtraHValueAtHorizSCap", {Reply("ddph", {"1,2,3,4,5"})}, "H(8).P", "grpAdjustments/tblH: 5"},
    CellCase{"CurrentValueOfN", {Reply("dds", {"20,30,40"})}, "N(2).Current", "grpAdjustments/tblN: 40"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(DataViewTest, RepliesThatShareControlNamesKeepTheirOwnValues) {
    // All of these name Text1(k) or Text2(k) in the display model.
    feed(kGen2);
    feed(Reply("dh", {"HV Control Value = 120, 35", "Focus Control Value = 80, 20"}));
    feed(Reply("ddfv", {"151,127,111,61,127,129,127"}));
    feed(Reply("dz", {"hor_width=640;hor_long=800;"}));
    feed(Reply("ddl", {"128,120,100,101,102,30,31,32"}));
    feed(Reply("ddv", {"150,128,110,60,128,128,128"}));
    const std::pair<const char*, const char*> expected[] = {
        {"Text2(0)", "035"},     {"Text2(1)", "020"},     {"V(1).F", "127"},
        {"hor_width", "640"},    {"hor_long", "800"},     {"L(2).Current", "100"},
        {"V(2).Current", "110"}, {"L(0).Current", "128"},
    };
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(cell(name), text) << name;
    }
}

TEST_F(DataViewTest, WhatNobodyReportedIsEmptyAndAReportedZeroIsZero) {
    const DataView empty = view();
    for (const char* name :
         {"B(0).F", "B(0).P", "H(8).Value", "HVUpperLimit", "ModelNumber", "ScanSet(0)"}) {
        EXPECT_EQ(text(empty, name), "") << name;
    }
    EXPECT_EQ(text(empty, "VAnodeValue"), "missing");

    feed(Reply("ddfb", {"0,0"}));
    feed(Reply("dh", {"Upper Limit = 0"}));
    const std::pair<const char*, const char*> expected[] = {
        {"B(0).F", "0"},       {"B(1).F", "0"},      {"B(0).P", ""},
        {"HVUpperLimit", "0"}, {"HVLowerLimit", ""}, {"ScanSet(0)", "(no name)"},
    };
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(cell(name), text) << name;
    }
}

TEST_F(DataViewTest, ScanSetsShowTheirNamesAndTheChosenOnesValues) {
    const LoadedDataSet file = loadDataSet((kGolden / "before.mdv").string());
    ASSERT_TRUE(file.ok) << file.error;
    const DisplayModel none;
    const auto build = [&](int scanSet) {
        DataViewOptions options;
        options.scanSet = scanSet;
        return buildDataView({file.data, none, nullptr, ""}, options);
    };
    const DataView first = build(0);
    const DataView second = build(1);
    EXPECT_EQ(text(first, "L(0).Value"), "100");
    EXPECT_EQ(text(second, "L(0).Value"), "110");
    EXPECT_EQ(text(second, "L(0).F"), "117");
    EXPECT_EQ(text(second, "ScanSet(1)"), "800x600 60Hz");
    ASSERT_EQ(second.scanSets.size(), 3u);
    EXPECT_EQ(second.scanSets[1].text, "Scan set 1: 800x600 60Hz");
    EXPECT_EQ(second.scanSet, 1);

    // The unit's name reply: named scan sets, one without values yet.
    feed(Reply("ddn", {"0,1,640x480 60Hz", "1,1,800x600 60Hz"}));
    feed(Reply("ddfl", {"1,2,3,4,5,6,7,8"}));
    const DataView live = view();
    EXPECT_EQ(live.scanSets[0].text, "Scan set 0: 640x480 60Hz");
    EXPECT_EQ(live.scanSets[2].text, "Scan set 2 (no values)");
    EXPECT_EQ(text(live, "ScanSet(1)"), "800x600 60Hz");
}

} // namespace
} // namespace orlix
