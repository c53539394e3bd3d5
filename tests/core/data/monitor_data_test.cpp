// The monitor data's initial state and its guarded stores.
#include "core/data/monitor_data.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

TEST(MonitorData, DefaultsCarryTheCountsAndNames) {
    MonitorData data;
    SetDefaultCountsAndNames(data);
    EXPECT_EQ(data.NumScanSets, 6);
    EXPECT_EQ((std::array<int, 6>{data.L.count, data.B.count, data.H.count, data.V.count,
                                  data.N.count, data.DayNight.count}),
              (std::array<int, 6>{8, 2, 4, 7, 6, 6}));
    EXPECT_EQ(data.H.names[8], "Horiz S Cap");
    EXPECT_EQ(data.H.names[4], "");
    EXPECT_EQ(data.L.names[7], "Blue Offset");
    EXPECT_EQ(data.N.names[2], "North-South Phase");
    EXPECT_EQ(data.N.names[3], "");
    EXPECT_EQ(data.DayNight.names[5], "Night Lo Blu Offset");
}

TEST(MonitorData, StoresLandInTheReadingScanSetAndRefuseOutOfRangeIndexes) {
    struct Case {
        int scanSet;
        int dac;
        StoreResult result;
    };
    const Case cases[] = {{2, 3, StoreResult::Ok},
                          {6, 9, StoreResult::Ok},
                          {0, 10, StoreResult::DacIndexOutOfRange},
                          {0, -1, StoreResult::DacIndexOutOfRange},
                          {7, 0, StoreResult::ScanSetOutOfRange},
                          {-1, 0, StoreResult::ScanSetOutOfRange}};
    for (const auto& c : cases) {
        MonitorData data;
        data.ScanSetReading = static_cast<std::int16_t>(c.scanSet);
        EXPECT_EQ(StoreLDac(data, c.dac, 10, 20, 30), c.result) << c.scanSet << "," << c.dac;
        if (c.result == StoreResult::Ok) {
            const auto s = static_cast<std::size_t>(c.scanSet);
            const auto d = static_cast<std::size_t>(c.dac);
            EXPECT_EQ(data.L.Value[s][d], 10);
            EXPECT_EQ(data.L.LoadedValue[s][d], 10);
            EXPECT_EQ(data.L.FValue[s][d], 20);
            EXPECT_EQ(data.L.PValue[s][d], 30);
        } else {
            EXPECT_FALSE(describe(c.result).empty());
        }
    }
    MonitorData data;
    data.ScanSetReading = 1;
    EXPECT_EQ(StoreHDac(data, 8, 1, 2, 3), StoreResult::Ok);
    EXPECT_EQ(data.H.PValue[1][8], 3);
}

TEST(MonitorData, TextsAreKeptAsADataFileCanCarryThem) {
    EXPECT_EQ(storableText("XYZ-100"), "XYZ-100");
    EXPECT_EQ(storableText("a\"b\r\nc"), "a'b  c");
    EXPECT_EQ(storableText(std::string(5000, 'x')).size(), kMaxUnitText);
}

} // namespace
} // namespace orlix
