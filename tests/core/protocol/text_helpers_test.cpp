#include "core/protocol/text_helpers.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace orlix {
namespace {

struct NumberCase {
    std::string text;
    std::int32_t expected;
};

TEST(ParseNumber, ReadsSignedDecimalsWithTheCapAt6553) {
    const NumberCase cases[] = {
        {" -12,5", -12},  {"- 12", -12},       {"007x", 7},    {"65535", 6553},
        {"65529", 65529}, {"65530", 6553},     {"6553", 6553}, {"99999999999", 9999},
        {"x12", -1},      {"-x", -1},          {"12", 12},     {"", 0},
        {"-", 0},         {"\r\n42\r\n#", 42}, {"#", -1},      {" \t ", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ParseCNumber, ReadsDecimalOctalAndHexWithTheirCaps) {
    struct Case {
        std::string text;
        std::int32_t expected;
        std::string textAfter; // what the caller's text holds afterwards
    };
    const Case cases[] = {
        {"0x1f", 31, "0x1f"},   {"0X1F", 31, "0X1F"},
        {"0", 0, "0"},          {"0xFFFF", 4095, ""},
        {"0xffe", 4094, ""},    {"-5", -5, "5"},
        {"017", 15, ""},        {"08", 0, ""},
        {"-0x10", -16, "0x10"}, {"0x", 0, ""},
        {"0xg", 0, ""},         {"x", -1, "x"},
        {"-x", -1, "x"},        {"", 0, ""},
        {"-", 0, ""},           {" 5", -1, " 5"},
        {"65535", 6553, ""},    {"0777777", 32767, ""},
        {"0x1G2", 1, ""},       {"12,34", 12, "12,34"},
    };
    for (const auto& c : cases) {
        std::string_view text = c.text;
        EXPECT_EQ(ParseCNumber(text), c.expected) << '"' << c.text << '"';
        if (!c.textAfter.empty() || c.text.empty()) {
            EXPECT_EQ(text, c.textAfter) << '"' << c.text << '"';
        }
    }
}

TEST(DigitTests, LookAtTheFirstCharacterAndAreTrueForEmptyText) {
    EXPECT_TRUE(IsDecimalDigit(""));
    EXPECT_TRUE(IsDecimalDigit("9a"));
    EXPECT_FALSE(IsDecimalDigit("a9"));
    EXPECT_TRUE(IsOctalDigit(""));
    EXPECT_TRUE(IsOctalDigit("7"));
    EXPECT_FALSE(IsOctalDigit("8"));
    EXPECT_TRUE(IsHexDigit(""));
    EXPECT_TRUE(IsHexDigit("f"));
    EXPECT_TRUE(IsHexDigit("F"));
    EXPECT_FALSE(IsHexDigit("g"));
}

TEST(IsBase62Text, IsTrueForRunsOfTheDigitAndLetterSequence) {
    EXPECT_TRUE(IsBase62Text("ab"));
    EXPECT_TRUE(IsBase62Text("9a"));
    EXPECT_TRUE(IsBase62Text("Z"));
    EXPECT_TRUE(IsBase62Text(""));
    EXPECT_FALSE(IsBase62Text("a-"));
    EXPECT_FALSE(IsBase62Text("ba"));
    EXPECT_FALSE(IsBase62Text("\r"));
}

TEST(FieldWalkers, MoveToTheNextFieldOrLineOrStayPut) {
    EXPECT_EQ(AfterComma("1,2,3"), "2,3");
    EXPECT_EQ(AfterComma("3"), "3");
    EXPECT_EQ(AfterComma("3,"), "");
    EXPECT_EQ(AfterLineFeed("a\r\nb"), "b");
    EXPECT_EQ(AfterLineFeed("ab"), "ab");
    EXPECT_EQ(SkipWhiteSpace(" \t\r\nx \r\n"), "x \r\n");
    EXPECT_EQ(SkipWhiteSpace(" \t"), "");
}

TEST(GetKeyValue, ReadsTheValueUpToTheDelimiterWithoutDollarSigns) {
    struct Case {
        std::string text, key, expected;
    };
    const Case cases[] = {
        {"a=1;b=2;", "b=", "2"}, {"a=1;b=2;", "c=", ""}, {"a=1", "a=", ""},
        {"a=1$2;", "a=", "12"},  {"a=;", "a=", ""},      {"$a$=5;", "a=", "5"},
        {"x;a=7;", "a=", "7"},   {"a=1;", "a=1;", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetKeyValue(c.text, c.key, ";"), c.expected) << c.text << " / " << c.key;
    }
}

TEST(HexValueAfter, CollectsUpperCasedHexDigitsAfterTheMarker) {
    EXPECT_EQ(HexValueAfter("Addr = 0x1f2G", "Addr = 0x"), "0x1F2");
    EXPECT_EQ(HexValueAfter("Addr = 0x", "Addr = 0x"), "0x");
    EXPECT_EQ(HexValueAfter("B 0x1234 := 0x3f\r\n#", ":= 0x"), "0x3F");
    EXPECT_FALSE(HexValueAfter("Addr = 1f", "Addr = 0x").has_value());
}

TEST(LeadingNumber, ReadsAnOptionalSignDigitsAndFraction) {
    EXPECT_DOUBLE_EQ(LeadingNumber("  12.5x"), 12.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("-3"), -3);
    EXPECT_DOUBLE_EQ(LeadingNumber("+3"), 3);
    EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("1e5"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber(""), 0);
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
