// The console's text in both directions: the lines typed or piped in, and
// the unit's characters as lines on standard output.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::cli {

// Cuts input into lines at LF, CR LF or a lone CR; the line ends are not
// part of the lines.
class LineSplitter {
public:
    std::vector<std::string> feed(std::string_view bytes);
    // End of input: the last line when it had no line end.
    std::optional<std::string> finish();

private:
    std::string m_line;
    bool m_afterCr = false;
};

// The unit's characters as text lines: CR ends a line, LF and NUL carry no
// meaning on the line and are dropped. With a stamp function, each line
// starts with the stamp taken when its first character arrived.
class ReplyPrinter {
public:
    using Stamp = std::function<std::string()>;

    explicit ReplyPrinter(Stamp stamp = nullptr) : m_stamp(std::move(stamp)) {}

    // The text to print for these characters.
    std::string take(std::string_view bytes);
    // Printing starts in the middle of the line stream: the rest of a line
    // that began before is not shown, not even its line end.
    void startHere() { m_skipRest = m_lineOpen; }
    // A line end when a line is still open (the end of the session).
    std::string finish();

private:
    Stamp m_stamp;
    bool m_lineOpen = false;
    bool m_skipRest = false;
};

} // namespace orlix::cli
