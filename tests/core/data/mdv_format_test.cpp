// The data file's text form: lines, fields, numbers, quoting and the date.
#include "core/data/mdv_format.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orlix::mdv {
namespace {

using Fields = std::vector<std::string>;

Fields fieldsOf(std::string_view line) {
    Fields result;
    for (const auto f : splitFields(line)) {
        result.emplace_back(f);
    }
    return result;
}

TEST(MdvFormat, SplitsFieldsAsTheWriterWritesThemAndAsPeopleEditThem) {
    struct Case {
        std::string_view line;
        Fields fields;
    };
    const Case cases[] = {
        {R"("Red Gain",1,2,3)", {"Red Gain", "1", "2", "3"}},
        {R"("ScanSetName","Night, dimmed")", {"ScanSetName", "Night, dimmed"}},
        {R"(  Red Gain ,  1 ,2)", {"Red Gain", "1", "2"}},
        {"\tNumLDacs\t,\t8\t", {"NumLDacs", "8"}},
        // A quoted text keeps its blanks; what follows the quote is dropped.
        {R"(" a ","b" tail,c)", {" a ", "b", "c"}},
        {R"("",10,11,12)", {"", "10", "11", "12"}},
        {R"(a,)", {"a", ""}},
        {R"(,)", {"", ""}},
        {"", {""}},
        // An unclosed quote runs to the end of the line, commas and all.
        {R"("Model Number: ","XYZ,100)", {"Model Number: ", "XYZ,100"}},
        {R"(a"b,c)", {"a\"b", "c"}},
        {"\"XYZ-100\r\"", {"XYZ-100\r"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldsOf(c.line), c.fields) << c.line;
    }
}

TEST(MdvFormat, NumberFieldsAreSixteenBitWholeNumbersRoundedHalfToEven) {
    struct Case {
        std::string_view field;
        std::int16_t value;
        NumberError error;
    };
    const Case cases[] = {
        {"0", 0, NumberError::None},
        {" 42 ", 42, NumberError::None},
        {"-32768", -32768, NumberError::None},
        {"32767", 32767, NumberError::None},
        {"+7", 7, NumberError::None},
        {"2.5", 2, NumberError::None},
        {"3.5", 4, NumberError::None},
        {"2.51", 3, NumberError::None},
        {"-2.5", -2, NumberError::None},
        {".5", 0, NumberError::None},
        {"5.", 5, NumberError::None},
        {"32768", 0, NumberError::Overflow},
        {"-32769", 0, NumberError::Overflow},
        {"32767.5", 0, NumberError::Overflow},
        {"99999999999999999999", 0, NumberError::Overflow},
        {"", 0, NumberError::TypeMismatch},
        {"-", 0, NumberError::TypeMismatch},
        {"12a", 0, NumberError::TypeMismatch},
        {"1 2", 0, NumberError::TypeMismatch},
        {"0x10", 0, NumberError::TypeMismatch},
        {".", 0, NumberError::TypeMismatch},
    };
    for (const auto& c : cases) {
        const NumberRead n = readNumberField(c.field);
        EXPECT_EQ(n.error, c.error) << c.field;
        EXPECT_EQ(n.value, c.value) << c.field;
    }
}

TEST(MdvFormat, LeadingNumbersIgnoreWhatFollowsAndReadZeroWithoutDigits) {
    struct Case {
        std::string_view text;
        std::int16_t value;
        NumberError error;
    };
    const Case cases[] = {
        {"230", 230, NumberError::None},
        {" 230.5 kV", 230, NumberError::None},
        {"\r\n181.5", 182, NumberError::None},
        {"-12x", -12, NumberError::None},
        {"", 0, NumberError::None},
        {"kV", 0, NumberError::None},
        {"40000", 0, NumberError::Overflow},
    };
    for (const auto& c : cases) {
        const NumberRead n = readLeadingNumber(c.text);
        EXPECT_EQ(n.error, c.error) << c.text;
        EXPECT_EQ(n.value, c.value) << c.text;
    }
}

TEST(MdvFormat, GeneralDateIsTheUsFormAndMidnightShowsOnlyTheDate) {
    struct Case {
        DateTime when;
        std::string_view text;
    };
    const Case cases[] = {
        {{2024, 3, 7, 14, 5, 9}, "3/7/2024 2:05:09 PM"},
        {{2024, 12, 31, 0, 0, 1}, "12/31/2024 12:00:01 AM"},
        {{2024, 1, 1, 12, 0, 0}, "1/1/2024 12:00:00 PM"},
        {{2024, 1, 1, 11, 59, 59}, "1/1/2024 11:59:59 AM"},
        {{1999, 12, 31, 0, 0, 0}, "12/31/1999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(generalDate(c.when), c.text);
    }
}

TEST(MdvFormat, QuotedTextsCanNeitherEndTheirFieldNorSplitTheLine) {
    EXPECT_EQ(quotedField("640x480, 60Hz"), R"("640x480, 60Hz")");
    EXPECT_EQ(quotedField("say \"hi\""), R"("say 'hi'")");
    EXPECT_EQ(quotedField("a\r\nb"), "\"a  b\"");
    EXPECT_EQ(quotedField(std::string(5000, 'x')).size(), kMaxTextLength + 2);
}

struct ReadLine {
    LineReader::Status status;
    std::string line;
    std::int64_t start;
};

std::vector<ReadLine> readAll(const std::string& bytes, std::size_t maxLength = kMaxLineLength) {
    std::istringstream in(bytes);
    LineReader reader(in, maxLength);
    std::vector<ReadLine> result;
    for (;;) {
        const std::int64_t start = reader.position();
        std::string line;
        const auto status = reader.next(line);
        if (status == LineReader::Status::End) {
            return result;
        }
        result.push_back({status, line, start});
        if (status != LineReader::Status::Line) {
            return result;
        }
    }
}

TEST(MdvFormat, LinesEndAtLineFeedAndStartPositionsCountBytesFromOne) {
    const auto lines = readAll("ab\r\ncd\nx\ry\r\n\r\nlast\r");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].line, "ab");
    EXPECT_EQ(lines[0].start, 1);
    EXPECT_EQ(lines[1].line, "cd"); // LF alone ends a line too
    EXPECT_EQ(lines[1].start, 5);
    EXPECT_EQ(lines[2].line, "x\ry"); // a CR inside a line stays
    EXPECT_EQ(lines[2].start, 8);
    EXPECT_EQ(lines[3].line, "");
    EXPECT_EQ(lines[4].line, "last"); // no line end at the end of the file
    EXPECT_EQ(lines[4].start, 15);
}

TEST(MdvFormat, ALineLongerThanTheCapIsRefusedWithoutReadingItAll) {
    EXPECT_EQ(readAll("12345\r\n", 5)[0].status, LineReader::Status::Line);
    EXPECT_EQ(readAll("12345", 5)[0].status, LineReader::Status::Line);
    const auto lines = readAll("ok\r\n123456\r\nnext\r\n", 5);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].status, LineReader::Status::TooLong);
    EXPECT_EQ(lines[1].start, 5);
    EXPECT_EQ(readAll(std::string(1'000'000, 'x'))[0].status, LineReader::Status::TooLong);
}

} // namespace
} // namespace orlix::mdv
