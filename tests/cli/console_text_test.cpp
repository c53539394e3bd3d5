// The console's text: input cut into lines whatever the line ends, and the
// unit's characters printed as lines, stamped when a line's first
// character arrives, however the characters are split into reads.
#include "cli/console_text.h"

#include <gtest/gtest.h>

namespace orlix::cli {
namespace {

using namespace std::string_literals;

struct SplitCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> lines; // including the unterminated last one
};

// The case's name in test listings, not its bytes.
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class LineSplitterTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitterTest, GivesEveryLineOnceWithoutItsEnd) {
    LineSplitter splitter;
    std::vector<std::string> lines;
    for (const auto& chunk : GetParam().chunks) {
        for (auto& line : splitter.feed(chunk)) {
            lines.push_back(line);
        }
    }
    if (auto last = splitter.finish()) {
        lines.push_back(*last);
    }
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Input, LineSplitterTest,
    ::testing::Values(SplitCase{"LfEnds", {"df\nde\n"}, {"df", "de"}},
                      SplitCase{"CrLfSplitAcrossReads", {"df\r", "\nde\r\n"}, {"df", "de"}},
                      SplitCase{"LoneCrEnds", {"df\rde\r"}, {"df", "de"}},
                      SplitCase{"EmptyLinesKept", {"\n\r\n"}, {"", ""}},
                      SplitCase{"LastLineWithoutEnd", {"df\nd", "e"}, {"df", "de"}},
                      SplitCase{"NothingAtAll", {""}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PrintCase {
    const char* name;
    std::vector<std::string> chunks;
    bool startLate; // printing starts after the first chunk
    std::string printed;
};

// The case's name in test listings, not its bytes.
void PrintTo(const PrintCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplyPrinterTest : public ::testing::TestWithParam<PrintCase> {};

TEST_P(ReplyPrinterTest, PrintsLinesAsTheyCome) {
    int stamps = 0;
    ReplyPrinter printer([&stamps] { return "[" + std::to_string(++stamps) + "] "; });
    std::string printed;
    for (std::size_t i = 0; i < GetParam().chunks.size(); ++i) {
        const std::string text = printer.take(GetParam().chunks[i]);
        if (i == 0 && GetParam().startLate) {
            printer.startHere();
            continue;
        }
        printed += text;
    }
    printed += printer.finish();
    EXPECT_EQ(printed, GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Output, ReplyPrinterTest,
    ::testing::Values(
        PrintCase{"Reply", {"df\r\nV 2.24\r\n#\r\n"}, false, "[1] df\n[2] V 2.24\n[3] #\n"},
        PrintCase{"StampOncePerLineAcrossReads", {"d", "f\r", "\n#"}, false, "[1] df\n[2] #\n"},
        PrintCase{"LfAndNulDropped", {"a\n\0b\r"s}, false, "[1] ab\n"},
        PrintCase{"EmptyLineHasNoStamp", {"\r\n\r\n"}, false, "\n\n"},
        PrintCase{"OpenLineClosedAtTheEnd", {"#"}, false, "[1] #\n"},
        PrintCase{"RestOfAnEarlierLineNotShown", {"df\r\n#", "\r\nde\r\n"}, true, "[3] de\n"},
        PrintCase{"LateStartOnALineBoundary", {"#\r\n", "de\r\n"}, true, "[2] de\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orlix::cli
