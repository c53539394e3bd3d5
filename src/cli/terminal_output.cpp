#include "cli/terminal_output.h"

#include <unistd.h>

namespace orlix::cli {

namespace {

bool write(std::FILE* stream, std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stream) != text.size()) {
        return false;
    }
    return std::fflush(stream) == 0;
}

} // namespace

bool writeOut(std::string_view text) {
    return write(stdout, text);
}

void writeErr(std::string_view text) {
    write(stderr, text);
}

void errorLine(std::string_view message) {
    std::string line = "orlix6-cli: ";
    line += message;
    line += '\n';
    writeErr(line);
}

bool isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

void Progress::show(const std::string& text) {
    if (text == m_shown) {
        return;
    }
    if (m_terminal) {
        // Blanks wipe what is left of a longer earlier text.
        std::string line = "\r" + text;
        if (m_shown.size() > text.size()) {
            line += std::string(m_shown.size() - text.size(), ' ');
            line += "\r" + text;
        }
        write(m_stream, line);
        m_lineOpen = true;
    } else {
        write(m_stream, text + "\n");
    }
    m_shown = text;
}

void Progress::done() {
    if (m_lineOpen) {
        write(m_stream, "\n");
        m_lineOpen = false;
    }
}

} // namespace orlix::cli
