#include "core/protocol/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace orlix {
namespace {

struct FormatCase {
    double value;
    std::string pattern;
    std::string expected;
};

TEST(FormatNumber, ShowsEveryPatternOfTheReadings) {
    const FormatCase cases[] = {
        {7.256, "#0", "7"},
        {-7.28, "#0", "-7"},
        {7.256, "#0.0", "7.3"},
        {-7.28, "#0.0", "-7.3"},
        {7.256, "#0.00", "7.26"},
        {-7.28, "#0.00", "-7.28"},
        {7.256, "#00.0", "07.3"},
        {-7.28, "#00.0", "-07.3"},
        {7.256, "#000.0", "007.3"},
        {-7.28, "#000.0", "-007.3"},
        {7.256, "0.00", "7.26"},
        {-7.28, "0.00", "-7.28"},
        {7.256, "00.0", "07.3"},
        {-7.28, "00.0", "-07.3"},
        {7.256, "000", "007"},
        {-7.28, "000", "-007"},
        {7, "0", "7"},
        {-1, "00", "-01"},
        {1234.5, "#0", "1235"},
        {208.984375, "#000.0", "209.0"},
        {0, "000", "000"},
        {0, "#0.00", "0.00"},
        {65529, "0", "65529"},
        {1e20, "0", "100000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    }
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    const FormatCase cases[] = {
        {0.5, "#0", "1"},           {-0.5, "#0", "-1"},      {2.5, "#0", "3"},
        {0.125, "0.00", "0.13"},    {1.005, "0.00", "1.01"}, {99.95, "#0.0", "100.0"},
        {-0.031, "#0.00", "-0.03"}, {0.004, "0.00", "0.00"}, {9.96, "#0.0", "10.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    }
}

TEST(FormatGeneral, WritesUpTo15SignificantDigits) {
    EXPECT_EQ(FormatGeneral(32), "32");
    EXPECT_EQ(FormatGeneral(307.2), "307.2");
    EXPECT_EQ(FormatGeneral(31.25 * 1.024), "32");
    EXPECT_EQ(FormatGeneral(0.5), "0.5");
    EXPECT_EQ(FormatGeneral(-2.5), "-2.5");
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(1e15), "1E+15");
    EXPECT_EQ(FormatGeneral(1e-5), "1E-05");
}

} // namespace
} // namespace orlix
