#include "protocol_fixture.h"

namespace orlix::prototest {
namespace {

class AdjustmentReplies : public ProtocolTest {
protected:
    AdjustmentReplies() {
        // A sentinel in every plane shows which values a reply reached.
        for (DacGroup* g : {&data.L, &data.B, &data.H, &data.V, &data.N}) {
            for (auto& row : g->FValue) {
                row.fill(-9);
            }
            for (auto& row : g->PValue) {
                row.fill(-9);
            }
        }
    }
    static std::vector<int> row(const DacPlane& plane, int from, int to) {
        return {plane[0].begin() + from, plane[0].begin() + to};
    }
};

TEST_F(AdjustmentReplies, SetRepliesStoreEachGroupIntoItsPlane) {
    reply("ddfv", {"10,20,30,40,50,60,70"});
    EXPECT_EQ(row(data.V.FValue, 0, 8), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, -9}));
    reply("ddpl", {"1,2,3,4,5,6,7,8"});
    EXPECT_EQ(row(data.L.PValue, 0, 9), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, -9}));
    reply("ddfb", {"0,255"});
    EXPECT_EQ(row(data.B.FValue, 0, 3), (std::vector<int>{0, 255, -9}));
    EXPECT_EQ(shown("Label33.Caption"), ""); // FL was not sent
    EXPECT_EQ(shown("Label31.Caption"), "2");
    EXPECT_EQ(shown("Text3(7).Text"), "8");
    EXPECT_EQ(shown("Text2(6).Text"), "70");
    EXPECT_EQ(shown("BText2(1).Text"), "255");
}

TEST_F(AdjustmentReplies, AValueOutOfRangeEndsTheReply) {
    const std::pair<std::string_view, std::vector<int>> cases[] = {
        {"10,300,30", {10, -9, -9}},
        {"10,-1,30", {10, -9, -9}},
        {"x,20,30", {-9, -9, -9}},
        {"10,256,30", {10, -9, -9}},
    };
    for (const auto& [line, expected] : cases) {
        for (auto& r : data.V.FValue) {
            r.fill(-9);
        }
        reply("ddfv", {line});
        EXPECT_EQ(row(data.V.FValue, 0, 3), expected) << line;
    }
}

TEST_F(AdjustmentReplies, ShortRepliesRepeatTheirLastField) {
    reply("ddfv", {"10,20"});
    EXPECT_EQ(row(data.V.FValue, 0, 7), (std::vector<int>{10, 20, 20, 20, 20, 20, 20}));
}

TEST_F(AdjustmentReplies, HGroupCarriesAnExtraValueAtIndex8) {
    reply("ddfh", {"1,2,3,4,5"});
    EXPECT_EQ(row(data.H.FValue, 0, 9), (std::vector<int>{1, 2, 3, 4, -9, -9, -9, -9, 5}));
    reply("ddph", {"1,2,3,4"});
    EXPECT_EQ(data.H.PValue[0][3], 4);
    EXPECT_EQ(data.H.PValue[0][8], 4);
    reply("ddph", {"1,2,3,4,999"}); // the extra value has no range check
    EXPECT_EQ(data.H.PValue[0][8], 999);
    EXPECT_EQ(shown("HText3(8).Text"), "999");
    reply("ddfh", {"1,2,300,4,7"}); // ended early: the extra value is not read
    EXPECT_EQ(data.H.FValue[0][8], 5);
}

TEST_F(AdjustmentReplies, AnExtraHValueTooLargeFor16BitsKeepsThePreviousOne) {
    reply("ddfh", {"1,2,3,4,40000"});
    EXPECT_EQ(data.H.FValue[0][8], -9);
    EXPECT_EQ(data.H.FValue[0][3], 4);
    reply("ddph", {"1,2,3,4,65529"});
    EXPECT_EQ(data.H.PValue[0][8], -9);
}

TEST_F(AdjustmentReplies, CurrentValueRepliesStoreNothingButAreShown) {
    const std::string before = Snapshot(data);
    reply("ddl", {"128,120,100,101,102,30,31,32"});
    reply("ddb", {"5,300"});
    reply("ddh", {"140,128,90,127,40"});
    reply("ddv", {"150,128,110,60,128,128,128"});
    EXPECT_EQ(Snapshot(data), before);
    EXPECT_EQ(shown("HScroll_contrast.Value"), "128");
    EXPECT_EQ(shown("Label18.Caption"), "120");
    EXPECT_EQ(shown("HScroll2(0).Value"), "5");
    EXPECT_EQ(shown("BText1(1).Text"), "300");
    EXPECT_FALSE(isShown("HScroll2(1).Value"));   // 300 is beyond the scroll bar
    EXPECT_EQ(shown("HHScroll1(8).Value"), "15"); // the extra value is limited to 15
    EXPECT_EQ(shown("HText1(8).Text"), "15");
    EXPECT_EQ(shown("Text1(6).Text"), "128");
}

TEST_F(AdjustmentReplies, TheFirstScrollValueOutOfRangeEndsTheScrollRun) {
    reply("ddv", {"1,2,-1,4,5,6,7"});
    EXPECT_EQ(shown("HScroll1(1).Value"), "2");
    EXPECT_FALSE(isShown("HScroll1(2).Value"));
    EXPECT_FALSE(isShown("HScroll1(3).Value"));
    EXPECT_EQ(shown("Text1(2).Text"), "-1");
    EXPECT_EQ(shown("Text1(3).Text"), "4");
}

TEST_F(AdjustmentReplies, NGroupSetsFollowTheFirmwareLayout) {
    struct Case {
        std::int16_t code;
        std::string_view echo;
        bool pPlane;
        std::vector<int> expected; // plane (0, 0..5)
    };
    const Case cases[] = {
        {100, "ddfs", false, {5, 63, -9, -9, -9, -9}},
        {224, "ddfs", false, {5, 63, -9, -9, -9, -9}},
        {100, "ddps", true, {5, 63, 63, 40, -9, -9}},
        {224, "ddps", true, {5, 63, -9, -9, -9, -9}},
        {100, "ddft", false, {5, 63, 63, 40, -9, -9}},
        {224, "ddft", false, {-9, -9, 5, 63, 63, 40}},
        {100, "ddpt", true, {5, 63, 63, 40, -9, -9}},
        {224, "ddpt", true, {-9, -9, 5, 63, 63, 40}},
    };
    for (const auto& c : cases) {
        for (auto& r : data.N.FValue) {
            r.fill(-9);
        }
        for (auto& r : data.N.PValue) {
            r.fill(-9);
        }
        withFirmware(c.code);
        reply(c.echo, {"N values", "5,99,70,40"});
        const DacPlane& plane = c.pPlane ? data.N.PValue : data.N.FValue;
        EXPECT_EQ(row(plane, 0, 6), c.expected) << c.echo << " " << c.code;
    }
}

TEST_F(AdjustmentReplies, NGroupValuesStopAtTheFirstOutOfRangeField) {
    withFirmware(224);
    reply("ddps", {"N values", "5,99,70"});
    EXPECT_EQ(row(data.N.PValue, 0, 2), (std::vector<int>{5, 63}));
    reply("ddpt", {"N values", "5,300,7,8"});
    EXPECT_EQ(row(data.N.PValue, 0, 6), (std::vector<int>{5, 63, 5, -9, -9, -9}));
}

TEST_F(AdjustmentReplies, SAndTRepliesChooseBySetLetterOrShowCurrentValues) {
    withFirmware(100);
    reply("dds", {"P values", "1,2,3,4"});
    EXPECT_EQ(row(data.N.PValue, 0, 4), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(shown("NText6(0).Text"), "2"); // fields 2 to 4 are shown
    EXPECT_EQ(shown("NText6(2).Text"), "4");
    withFirmware(224);
    reply("ddt", {"f values", "6,7,8,9"});
    EXPECT_EQ(row(data.N.FValue, 0, 6), (std::vector<int>{-9, -9, 6, 7, 8, 9}));
    EXPECT_EQ(shown("NText5(5).Text"), "9");

    const std::string before = Snapshot(data);
    reply("dds", {"11,12,13"});
    reply("ddt", {"21,22,23,24"});
    EXPECT_EQ(Snapshot(data), before);
    EXPECT_EQ(shown("HScroll2(0).Value"), "11");
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
    reply("ddn", {"0,1,640x480 60Hz", "1,1,800x600 60Hz", "2,0,1024x768 60Hz", "9,1,Bad index",
                  "3,7,Bad flag"});
    EXPECT_TRUE(data.ScanSetsReported);
    // 9 is beyond NumScanSets and lands on 0; a flag other than 0 or 1 is 0.
    EXPECT_EQ(data.ScanSetNames[0], "Bad index");
    EXPECT_TRUE(data.ScanSetIncluded[0]);
    EXPECT_EQ(data.ScanSetNames[1], "800x600 60Hz");
    EXPECT_EQ(data.ScanSetNames[2], "1024x768 60Hz");
    EXPECT_FALSE(data.ScanSetIncluded[2]);
    EXPECT_EQ(data.ScanSetNames[3], "Bad flag");
    EXPECT_FALSE(data.ScanSetIncluded[3]);
    // Only the five complete lines count: the prompt names no scan set.
    EXPECT_EQ(data.ScanSetNames[4], "");
    EXPECT_EQ(shown("ScanName(1).Caption"), "800x600 60Hz");
    EXPECT_EQ(shown("Check1(2).Value"), "0");
}

TEST_F(AdjustmentReplies, AScanSetNameReplyWithoutLinesReportsNothing) {
    reply("ddn\r\n#");
    EXPECT_FALSE(data.ScanSetsReported);
    data.NumScanSets = 1;
    reply("ddn", {"0,1,Only", "1,1,Second"});
    EXPECT_EQ(data.ScanSetNames[0], "Only");
    EXPECT_EQ(data.ScanSetNames[1], "");
}

} // namespace
} // namespace orlix::prototest
