// Loading a data file into a data set of its own, comparing two data sets,
// and the view that marks the differences.
#include "core/dataview/data_set_compare.h"
#include "core/dataview/data_set_loader.h"
#include "core/dataview/data_view.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orlix {
namespace {

namespace fs = std::filesystem;

const fs::path kHere = fs::path(__FILE__).parent_path();
const fs::path kGolden = kHere / "golden";
const fs::path kReaderGolden = kHere.parent_path() / "data" / "golden";

MonitorData load(const fs::path& path) {
    LoadedDataSet loaded = loadDataSet(path.string());
    EXPECT_TRUE(loaded.ok) << loaded.error;
    return std::move(loaded.data);
}

std::vector<std::string> lines(const std::vector<DataSetDifference>& differences) {
    std::vector<std::string> out;
    for (const DataSetDifference& d : differences) {
        out.push_back(differenceLine(d));
    }
    return out;
}

TEST(CompareDataSets, TheServiceJobsPairGivesEachDifferenceOnALineOfItsOwn) {
    const MonitorData before = load(kGolden / "before.mdv");
    const MonitorData after = load(kGolden / "after.mdv");
    EXPECT_EQ(lines(compareDataSets(before, after)),
              (std::vector<std::string>{
                  "Operating Hours: 523:07:42:18 -> 523:09:10:02",
                  "Operating Cycles: 1873 -> 1874",
                  "Scan set 0 \"640x480 60Hz\", L Red Gain, F: 113 -> 140",
                  "Scan set 0 \"640x480 60Hz\", H Horiz S Cap, Value: 5 -> 6",
                  "Scan set 0 \"640x480 60Hz\", V Vertical Size, P: 158 -> 80",
                  "Scan set 1 name: 800x600 60Hz -> 800x600 75Hz",
                  "Scan set 1 \"800x600 60Hz\", B White Level, F: 141 -> 150",
                  "Scan set 2 \"1024x768 60Hz\": only in the first",
                  "Scan set 3 \"1280x1024 60Hz\": only in the second",
              }));
    EXPECT_TRUE(compareDataSets(before, before).empty());
    EXPECT_EQ(compareDataSets(after, before).size(), 9u);
}

TEST(CompareDataSets, AColumnOneSideNeverCarriesIsNotComparedButAMissingValueIs) {
    const MonitorData file = load(kGolden / "before.mdv");
    // As the unit gives them: no Value column, one F value not come yet.
    MonitorData live = file;
    for (const GroupId g : kDacGroups) {
        live.group(g).ValueReported = {};
    }
    live.L.FReported[0] &= static_cast<std::uint16_t>(~(1u << 7)); // Blue Offset
    live.SerialNumber.clear();
    live.ModelNumber += " "; // blanks at the ends do not count
    EXPECT_EQ(lines(compareDataSets(live, file)),
              (std::vector<std::string>{
                  "Serial Number: (none) -> SN0012345",
                  "Scan set 0 \"640x480 60Hz\", L Blue Offset, F: (none) -> 128",
              }));
}

TEST(CompareDataSets, TheViewMarksTheDifferencesAndCanShowOnlyThem) {
    const MonitorData before = load(kGolden / "before.mdv");
    const MonitorData after = load(kGolden / "after.mdv");
    const DisplayModel none;
    DataViewOptions options;
    options.compared = &after;
    options.comparedTitle = "after.mdv";
    const DataView all =
        buildDataView({before, none, nullptr, "From file before.mdv", "before.mdv"}, options);
    EXPECT_EQ(all.differences, 9);
    EXPECT_EQ(all.summary, "9 differences with after.mdv");
    EXPECT_EQ(all.scanSets[1].text, "Scan set 1: 800x600 60Hz (2 differences)");
    EXPECT_EQ(all.scanSets[2].text, "Scan set 2: 1024x768 60Hz (only in before.mdv)");
    EXPECT_EQ(all.scanSets[3].text, "Scan set 3: 1280x1024 60Hz (only in after.mdv)");

    options.onlyDifferences = true;
    const DataView only = buildDataView({before, none, nullptr, "", "before.mdv"}, options);
    std::vector<std::string> shown;
    for (const ViewGroup& g : only.groups) {
        for (const ViewTable& t : g.tables) {
            for (const ViewRow& r : t.rows) {
                std::string line = t.name + " " + r.name + ":";
                for (const ViewCell& c : r.cells) {
                    line += " " + (c.differs ? "*" + c.text : c.text);
                }
                shown.push_back(line);
            }
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "tblUnit OperatingHours: *523:07:42:18 *523:09:10:02",
                         "tblUnit OperatingCycles: *1873 *1874",
                         "tblScanSets ScanSet(1): *800x600 60Hz *800x600 75Hz",
                         "tblScanSets ScanSet(2): *1024x768 60Hz *",
                         "tblScanSets ScanSet(3): * *1280x1024 60Hz",
                         "tblL L(2): 106 *113 119 106 *140 119",
                         "tblH H(8): *5 12 18 *6 12 18",
                         "tblV V(0): 145 152 *158 145 152 *80",
                     }));
}

TEST(LoadDataSet, AFileThatCannotBeReadNamesTheFileTheLineAndTheReadersMessage) {
    struct Case {
        fs::path file;
        std::string error; // after the path
    };
    const Case cases[] = {
        {kReaderGolden / "absent.mdv", ": No such file or directory"},
        {kReaderGolden, ": Is a directory"},
        {kReaderGolden / "not_mdv.mdv", ": File not_mdv.mdv is not in .mdv format"},
        {kReaderGolden / "name_not_found.mdv",
         ", line 17: Name Not Found: Master Contrst; Line 331; ScanSetReading: 1"},
    };
    for (const Case& c : cases) {
        const LoadedDataSet loaded = loadDataSet(c.file.string());
        EXPECT_FALSE(loaded.ok) << c.file;
        EXPECT_EQ(loaded.error, c.file.string() + c.error);
    }
    const MonitorData good = load(kGolden / "after.mdv");
    EXPECT_EQ(good.FirmwareVersionCode, 224); // taken in by the reply handlers
    EXPECT_EQ(good.DataFileTitle, "after.mdv");
}

} // namespace
} // namespace orlix
