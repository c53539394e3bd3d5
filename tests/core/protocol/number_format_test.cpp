#include "core/protocol/number_format.h"

#include <gtest/gtest.h>

#include <string>

namespace orlix {
namespace {

TEST(FormatNumber, ShowsEveryPatternRoundingHalfAwayFromZeroOnTheDecimalValue) {
    struct Case {
        double value;
        std::string pattern, expected;
    };
    const Case cases[] = {
        {7.256, "#0", "7"},
        {-7.28, "#00.0", "-07.3"},
        {7.256, "#000.0", "007.3"},
        {-7.28, "000", "-007"},
        {0, "#0.00", "0.00"},
        {65529, "0", "65529"},
        {1e20, "0", "100000000000000000000"},
        {-0.5, "#0", "-1"},
        {2.5, "#0", "3"},
        {1.005, "0.00", "1.01"},
        {99.95, "#0.0", "100.0"},
        {-0.031, "#0.00", "-0.03"},
        {0.004, "0.00", "0.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    }
}

TEST(FormatGeneral, WritesUpTo15SignificantDigits) {
    const std::pair<double, std::string> cases[] = {
        {307.2, "307.2"}, {31.25 * 1.024, "32"}, {-2.5, "-2.5"}, {1.0 / 3, "0.333333333333333"},
        {1e15, "1E+15"},  {1e-5, "1E-05"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(FormatGeneral(value), expected) << value;
    }
}

} // namespace
} // namespace orlix
