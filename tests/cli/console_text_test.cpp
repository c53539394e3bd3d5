// The console's text: input cut into lines whatever the line ends, and the
// unit's characters printed as lines, stamped when a line's first
// character arrives, however the characters are split into reads.
#include "cli/console_text.h"

#include <gtest/gtest.h>

namespace orlix::cli {
namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

TEST(LineSplitter, GivesEveryLineOnceWithoutItsEnd) {
    struct Case {
        const char* name;
        Strings chunks;
        Strings lines; // including the unterminated last one
    };
    for (const Case& c : {Case{"LfEnds", {"df\nde\n"}, {"df", "de"}},
                          Case{"CrLfSplitAcrossReads", {"df\r", "\nde\r\n"}, {"df", "de"}},
                          Case{"LoneCrEnds", {"df\rde\r"}, {"df", "de"}},
                          Case{"EmptyLinesKept", {"\n\r\n"}, {"", ""}},
                          Case{"LastLineWithoutEnd", {"df\nd", "e"}, {"df", "de"}},
                          Case{"NothingAtAll", {""}, {}}}) {
        SCOPED_TRACE(c.name);
        LineSplitter splitter;
        Strings lines;
        for (const auto& chunk : c.chunks) {
            for (auto& line : splitter.feed(chunk)) {
                lines.push_back(line);
            }
        }
        if (auto last = splitter.finish()) {
            lines.push_back(*last);
        }
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(ReplyPrinter, PrintsLinesAsTheyCome) {
    struct Case {
        const char* name;
        Strings chunks;
        bool startLate; // printing starts after the first chunk
        std::string printed;
    };
    for (const Case& c :
         {Case{"Reply", {"df\r\nV 2.24\r\n#\r\n"}, false, "[1] df\n[2] V 2.24\n[3] #\n"},
          Case{"StampOncePerLineAcrossReads", {"d", "f\r", "\n#"}, false, "[1] df\n[2] #\n"},
          Case{"LfAndNulDropped", {"a\n\0b\r"s}, false, "[1] ab\n"},
          Case{"EmptyLineHasNoStamp", {"\r\n\r\n"}, false, "\n\n"},
          Case{"OpenLineClosedAtTheEnd", {"#"}, false, "[1] #\n"},
          Case{"RestOfAnEarlierLineNotShown", {"df\r\n#", "\r\nde\r\n"}, true, "[3] de\n"},
          Case{"LateStartOnALineBoundary", {"#\r\n", "de\r\n"}, true, "[2] de\n"}}) {
        SCOPED_TRACE(c.name);
        int stamps = 0;
        ReplyPrinter printer([&stamps] { return "[" + std::to_string(++stamps) + "] "; });
        std::string printed;
        for (std::size_t i = 0; i < c.chunks.size(); ++i) {
            const std::string text = printer.take(c.chunks[i]);
            if (i == 0 && c.startLate) {
                printer.startHere();
                continue;
            }
            printed += text;
        }
        EXPECT_EQ(printed + printer.finish(), c.printed);
    }
}

} // namespace
} // namespace orlix::cli
