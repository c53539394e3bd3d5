#include "core/protocol/text_helpers.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

namespace orlix {
namespace {

struct NumberCase {
    std::string text;
    std::int32_t expected;
};

TEST(ParseNumber, ReadsSignedDecimalsWithTheCapAt6553) {
    const NumberCase cases[] = {
        {"\r\n -12,5", -12}, {"- 12", -12}, {"6553", 6553}, {"65535", 6553}, {"65530", 6553},
        {"65529", 65529},    {"x12", -1},   {"-x", -1},     {"", 0},         {"-", 0},
        {" \t ", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

// Each pair of cases either side of a cap (6553, 8191 octal, 4095 hex) pins it.
TEST(ParseCNumber, ReadsDecimalOctalAndHexWithTheirCaps) {
    const NumberCase cases[] = {
        {"0x1f", 31},       {"0X1F", 31},     {"0", 0},          {"017", 15},
        {"08", 0},          {"-0x10", -16},   {"0x", 0},         {"x", -1},
        {"-x", -1},         {"", 0},          {"-", 0},          {" 5", -1},
        {"0x1G2", 1},       {"65535", 6553},  {"65529", 65529},  {"0177777", 8191},
        {"0177767", 65527}, {"0xFFFF", 4095}, {"0xFFEF", 65519},
    };
    for (const auto& c : cases) {
        std::string_view text = c.text;
        EXPECT_EQ(ParseCNumber(text), c.expected) << '"' << c.text << '"';
    }
    std::string_view text = "-5,6"; // the minus is taken off the caller's text
    EXPECT_EQ(ParseCNumber(text), -5);
    EXPECT_EQ(text, "5,6");
}

// The digit tests look at the first character only; all are true for "".
TEST(CharacterTests, AreTrueForEmptyText) {
    using Test = bool (*)(std::string_view);
    const std::tuple<Test, std::string_view, bool> cases[] = {
        {IsDecimalDigit, "", true}, {IsDecimalDigit, "9a", true}, {IsDecimalDigit, "a9", false},
        {IsOctalDigit, "", true},   {IsOctalDigit, "7", true},    {IsOctalDigit, "8", false},
        {IsHexDigit, "", true},     {IsHexDigit, "F", true},      {IsHexDigit, "g", false},
        {IsBase62Text, "", true},   {IsBase62Text, "9a", true},   {IsBase62Text, "ba", false},
    };
    for (const auto& [test, text, expected] : cases) {
        EXPECT_EQ(test(text), expected) << '"' << text << '"';
    }
}

TEST(GetKeyValue, ReadsTheValueUpToTheDelimiterWithoutDollarSigns) {
    const std::string cases[][3] = {
        {"a=1;b=2;", "b=", "2"}, {"a=1;b=2;", "c=", ""}, {"a=1", "a=", ""},
        {"$a=1$2;", "a=", "12"}, {"a=1;", "a=1;", ""},
    };
    for (const auto& [text, key, expected] : cases) {
        EXPECT_EQ(GetKeyValue(text, key, ";"), expected) << text << " / " << key;
    }
}

TEST(LeadingNumber, ReadsAnOptionalSignDigitsAndFraction) {
    const std::pair<std::string_view, double> cases[] = {
        {"  12.5x", 12.5}, {"-3", -3}, {"+3", 3}, {".5", 0.5}, {"1e5", 1}, {"abc", 0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(LeadingNumber(text), expected) << text;
    }
    EXPECT_EQ(LeadingNumber(std::string(400, '9')), std::numeric_limits<double>::max());
}

TEST(ParseWideNumber, HasNoDecimalCap) {
    EXPECT_EQ(ParseWideNumber("70000"), 70000);
    EXPECT_EQ(ParseWideNumber(" -70000\r\n#"), -70000);
    EXPECT_EQ(ParseWideNumber("99999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseWideNumber("x"), -1);
    EXPECT_EQ(ParseWideNumber(""), 0);
}

} // namespace
} // namespace orlix
