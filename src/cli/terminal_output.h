// Where orlix6-cli's words go: results on standard output, messages and
// progress on standard error, each written at once (no buffering that a
// pipe would hold back).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orlix::cli {

// False when the stream could not take the text (a closed pipe).
bool writeOut(std::string_view text);
void writeErr(std::string_view text);
// "orlix6-cli: " and the message, one line on standard error.
void errorLine(std::string_view message);

bool isTerminal(std::FILE* stream);

// Progress of a long step. On a terminal one line is rewritten in place;
// into a pipe or a file each new state is a line of its own, so that a
// log shows every step and nothing depends on cursor movement.
class Progress {
public:
    Progress(std::FILE* stream, bool terminal) : m_stream(stream), m_terminal(terminal) {}
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    ~Progress() { done(); }

    // Shows `text` unless it is what is shown already.
    void show(const std::string& text);
    // Ends the line on a terminal, so that what follows starts afresh.
    void done();

private:
    std::FILE* m_stream;
    bool m_terminal;
    std::string m_shown;
    bool m_lineOpen = false;
};

} // namespace orlix::cli
