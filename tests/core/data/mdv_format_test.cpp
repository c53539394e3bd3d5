// The data file's text form: fields, numbers, quoting, the date and lines.
#include "core/data/mdv_format.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orlix::mdv {
namespace {

TEST(MdvFormat, SplitsFieldsAsTheWriterWritesThemAndAsPeopleEditThem) {
    const std::pair<std::string_view, std::vector<std::string_view>> cases[] = {
        {R"("ScanSetName","Night, dimmed")", {"ScanSetName", "Night, dimmed"}},
        {"  Red Gain ,\t1 ,2", {"Red Gain", "1", "2"}},
        // A quoted text keeps its blanks; what follows the quote is dropped.
        {R"(" a ","b" tail,c)", {" a ", "b", "c"}},
        {"a,", {"a", ""}},
        {"", {""}},
        // An unclosed quote runs to the end of the line, commas and all.
        {R"("Model Number: ","XYZ,100)", {"Model Number: ", "XYZ,100"}},
        {"\"XYZ-100\r\"", {"XYZ-100\r"}},
    };
    for (const auto& [line, fields] : cases) {
        EXPECT_EQ(splitFields(line), fields) << line;
    }
}

TEST(MdvFormat, NumbersAreSixteenBitWholeNumbersRoundedHalfToEven) {
    using E = NumberError;
    struct Case {
        std::string_view text;
        bool leading; // readLeadingNumber, else readNumberField
        std::int16_t value;
        NumberError error;
    };
    const Case cases[] = {
        {" 42 ", false, 42, E::None},
        {"-32768", false, -32768, E::None},
        {"+7", false, 7, E::None},
        {"2.5", false, 2, E::None},
        {"3.5", false, 4, E::None},
        {"2.51", false, 3, E::None},
        {"-2.5", false, -2, E::None},
        {".5", false, 0, E::None},
        {"32768", false, 0, E::Overflow},
        {"-32769", false, 0, E::Overflow},
        {"32767.5", false, 0, E::Overflow},
        {"99999999999999999999", false, 0, E::Overflow},
        {"", false, 0, E::TypeMismatch},
        {"-", false, 0, E::TypeMismatch},
        {".", false, 0, E::TypeMismatch},
        {"12a", false, 0, E::TypeMismatch},
        {"1 2", false, 0, E::TypeMismatch},
        // A leading number ignores what follows; without digits it is 0.
        {"-12x", true, -12, E::None},
        {"kV", true, 0, E::None},
    };
    for (const auto& c : cases) {
        const NumberRead n = c.leading ? readLeadingNumber(c.text) : readNumberField(c.text);
        EXPECT_EQ(n.error, c.error) << c.text;
        EXPECT_EQ(n.value, c.value) << c.text;
    }
}

TEST(MdvFormat, GeneralDateIsTheUsFormAndMidnightShowsOnlyTheDate) {
    EXPECT_EQ(generalDate({2024, 12, 31, 0, 0, 1}), "12/31/2024 12:00:01 AM");
    EXPECT_EQ(generalDate({2024, 1, 1, 12, 0, 0}), "1/1/2024 12:00:00 PM");
    EXPECT_EQ(generalDate({1999, 12, 31, 0, 0, 0}), "12/31/1999");
}

TEST(MdvFormat, QuotedTextsCanNeitherEndTheirFieldNorSplitTheLine) {
    EXPECT_EQ(quotedField("say \"hi\""), R"("say 'hi'")");
    EXPECT_EQ(quotedField("a\r\nb"), "\"a  b\"");
    EXPECT_EQ(quotedField(std::string(5000, 'x')).size(), kMaxTextLength + 2);
}

// Each line as "start:text|"; a line over the cap ends the read as "start:TooLong|".
std::string readAll(const std::string& bytes, std::size_t maxLength = kMaxLineLength) {
    std::istringstream in(bytes);
    LineReader reader(in, maxLength);
    std::string result, line;
    for (;;) {
        const std::int64_t start = reader.position();
        const auto status = reader.next(line);
        if (status == LineReader::Status::End) {
            return result;
        }
        const bool ok = status == LineReader::Status::Line;
        result += std::to_string(start) + ":" + (ok ? line : "TooLong") + "|";
        if (!ok) {
            return result;
        }
    }
}

TEST(MdvFormat, ReadsOnePhysicalLineAtATimeUpToALengthCap) {
    // LF alone ends a line, a CR inside one stays, the last may lack its end.
    EXPECT_EQ(readAll("ab\r\ncd\nx\ry\r\n\r\nlast\r"), "1:ab|5:cd|8:x\ry|13:|15:last|");
    EXPECT_EQ(readAll("12345\r\n12345", 5), "1:12345|8:12345|");
    EXPECT_EQ(readAll("ok\r\n123456\r\nnext\r\n", 5), "1:ok|5:TooLong|");
    // A line far over the cap is refused without reading it all.
    std::istringstream huge(std::string(1'000'000, 'x'));
    LineReader reader(huge);
    std::string line;
    EXPECT_EQ(reader.next(line), LineReader::Status::TooLong);
    EXPECT_LT(reader.position(), static_cast<std::int64_t>(2 * kMaxLineLength));
}

} // namespace
} // namespace orlix::mdv
