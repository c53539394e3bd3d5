#include "protocol_fixture.h"

#include <tuple>

namespace orlix::prototest {
namespace {

class AdjustmentReplies : public ProtocolTest {
protected:
    // A sentinel in every plane shows which values a reply reached.
    void resetSets() {
        for (DacGroup* g : {&data.L, &data.B, &data.H, &data.V, &data.N}) {
            for (DacPlane* plane : {&g->FValue, &g->PValue}) {
                for (auto& row : *plane) {
                    row.fill(-9);
                }
            }
        }
    }
};

TEST_F(AdjustmentReplies, SetRepliesStoreIntoTheirPlane) {
    const DacGroup &L = data.L, &B = data.B, &H = data.H, &V = data.V, &N = data.N;
    const std::tuple<std::int16_t, std::string_view, std::string_view, const DacPlane*,
                     std::vector<int>>
        cases[] = {
            {0, "ddfv", "10,20,30,40,50,60,70", &V.FValue, {10, 20, 30, 40, 50, 60, 70, -9}},
            {0, "ddpl", "1,2,3,4,5,6,7,8", &L.PValue, {1, 2, 3, 4, 5, 6, 7, 8, -9}},
            {0, "ddfb", "0,255", &B.FValue, {0, 255, -9}},
            // A short reply repeats its last field; a value out of range ends it.
            {0, "ddfv", "10,20", &V.FValue, {10, 20, 20, 20, 20, 20, 20}},
            {0, "ddfv", "10,256,30", &V.FValue, {10, -9, -9}},
            {0, "ddfv", "10,-1,30", &V.FValue, {10, -9, -9}},
            // H's extra value lands at index 8: no range check, kept when it fits 16 bits.
            {0, "ddfh", "1,2,3,4,5", &H.FValue, {1, 2, 3, 4, -9, -9, -9, -9, 5}},
            {0, "ddph", "1,2,3,4", &H.PValue, {1, 2, 3, 4, -9, -9, -9, -9, 4}},
            {0, "ddph", "1,2,3,4,999", &H.PValue, {1, 2, 3, 4, -9, -9, -9, -9, 999}},
            {0, "ddfh", "1,2,300,4,7", &H.FValue, {1, 2, -9, -9, -9, -9, -9, -9, -9}},
            {0, "ddph", "1,2,3,4,65529", &H.PValue, {1, 2, 3, 4, -9, -9, -9, -9, -9}},
            // N values come on the second line, limited to 63, laid out by firmware.
            {100, "ddfs", "N\r\n5,99,70,40", &N.FValue, {5, 63, -9, -9, -9, -9}},
            {224, "ddfs", "N\r\n5,99,70,40", &N.FValue, {5, 63, -9, -9, -9, -9}},
            {100, "ddps", "N\r\n5,99,70,40", &N.PValue, {5, 63, 63, 40, -9, -9}},
            {224, "ddps", "N\r\n5,99,70,40", &N.PValue, {5, 63, -9, -9, -9, -9}},
            {100, "ddft", "N\r\n5,99,70,40", &N.FValue, {5, 63, 63, 40, -9, -9}},
            {224, "ddft", "N\r\n5,99,70,40", &N.FValue, {-9, -9, 5, 63, 63, 40}},
            {100, "ddpt", "N\r\n5,99,70,40", &N.PValue, {5, 63, 63, 40, -9, -9}},
            {224, "ddpt", "N\r\n5,99,70,40", &N.PValue, {-9, -9, 5, 63, 63, 40}},
            {224, "ddpt", "N\r\n5,300,7,8", &N.PValue, {-9, -9, 5, -9, -9, -9}},
            // S and T replies pick the set by the first letter of their text.
            {100, "dds", "P values\r\n1,2,3,4", &N.PValue, {1, 2, 3, 4}},
            {224, "dds", "f values\r\n1,2,3,4", &N.FValue, {1, 3, -9, -9}},
            {100, "ddt", "f values\r\n6,7,8,9", &N.FValue, {-9, -9, 6, 7, 8, 9}},
        };
    for (const auto& [code, echo, line, plane, expected] : cases) {
        resetSets();
        withFirmware(code);
        reply(echo, {line});
        EXPECT_EQ(std::vector<int>((*plane)[0].begin(), (*plane)[0].begin() + expected.size()),
                  expected)
            << echo << " " << line << " " << code;
    }
    EXPECT_EQ(shown("Text3(7).Text"), "8");
    EXPECT_EQ(shown("BText2(1).Text"), "255");
    EXPECT_EQ(shown("NText5(5).Text"), "9");
}

TEST_F(AdjustmentReplies, CurrentValueRepliesStoreNothingButAreShown) {
    const std::string before = Snapshot(data);
    reply("ddl", {"128,120,100,101,102,30,31,32"});
    reply("ddb", {"5,300"});
    reply("ddh", {"140,128,90,127,40"});
    EXPECT_EQ(Snapshot(data), before);
    EXPECT_EQ(shown("HScroll_contrast.Value"), "128");
    EXPECT_EQ(shown("BText1(1).Text"), "300");
    EXPECT_FALSE(isShown("HScroll2(1).Value"));   // 300 is beyond the scroll bar
    EXPECT_EQ(shown("HHScroll1(8).Value"), "15"); // the extra value is limited to 15
}

TEST_F(AdjustmentReplies, TheFirstScrollValueOutOfRangeEndsTheScrollRunNotTheTexts) {
    reply("ddv", {"1,2,-1,4,5,6,7"});
    EXPECT_EQ(shown("HScroll1(1).Value"), "2");
    EXPECT_FALSE(isShown("HScroll1(3).Value"));
    EXPECT_EQ(shown("Text1(3).Text"), "4");
}

TEST_F(AdjustmentReplies, SAndTRepliesWithoutASetLetterShowCurrentValues) {
    withFirmware(224);
    const std::string before = Snapshot(data);
    reply("dds", {"11,12,13"});
    reply("ddt", {"21,22,23,24"});
    EXPECT_EQ(Snapshot(data), before);
    EXPECT_EQ(shown("HScroll2(1).Value"), "13"); // 224 shows fields 1 and 3
    EXPECT_EQ(shown("HScroll2(5).Value"), "24");
}

TEST_F(AdjustmentReplies, StoresStayWithinTheTables) {
    data.CurrentScanSet = 7;
    data.L.count = 12;
    const std::string before = Snapshot(data);
    reply("ddfl", {"1,2,3,4,5,6,7,8,9,10,11,12"});
    reply("ddfs", {"x", "1,2,3"});
    EXPECT_EQ(Snapshot(data), before);
    data.CurrentScanSet = 0;
    reply("ddfl", {"1,2,3,4,5,6,7,8,9,10,11,12"});
    EXPECT_EQ(data.L.FValue[0][9], 10);
}

TEST_F(AdjustmentReplies, ScanSetNamesSayWhichScanSetsTheUnitHas) {
    reply("ddn\r\n#");
    EXPECT_FALSE(data.ScanSetsReported);
    reply("ddn", {"1,1,800x600 60Hz", "2,0,1024x768 60Hz", "9,1,Bad index", "3,7,Bad flag"});
    EXPECT_TRUE(data.ScanSetsReported);
    // 9 is beyond NumScanSets and lands on 0 (the prompt after the last line
    // names no scan set); a flag other than 0 or 1 is 0.
    EXPECT_EQ(data.ScanSetNames[0], "Bad index");
    EXPECT_TRUE(data.ScanSetIncluded[0]);
    EXPECT_EQ(data.ScanSetNames[2], "1024x768 60Hz");
    EXPECT_FALSE(data.ScanSetIncluded[2]);
    EXPECT_FALSE(data.ScanSetIncluded[3]);
    EXPECT_EQ(shown("ScanName(1).Caption"), "800x600 60Hz");
    data.NumScanSets = 1; // one line per scan set the unit has
    reply("ddn", {"0,1,Only", "1,1,Second"});
    EXPECT_EQ(data.ScanSetNames[0], "Only");
    EXPECT_EQ(data.ScanSetNames[1], "800x600 60Hz");
}

} // namespace
} // namespace orlix::prototest
