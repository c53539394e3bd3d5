#include "cli/console_text.h"

#include <utility>

namespace orlix::cli {

std::vector<std::string> LineSplitter::feed(std::string_view bytes) {
    std::vector<std::string> lines;
    for (const char c : bytes) {
        if (c == '\n' && m_afterCr) {
            m_afterCr = false; // the LF of a CR LF
            continue;
        }
        m_afterCr = c == '\r';
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(m_line));
            m_line.clear();
        } else {
            m_line += c;
        }
    }
    return lines;
}

std::optional<std::string> LineSplitter::finish() {
    m_afterCr = false;
    if (m_line.empty()) {
        return std::nullopt;
    }
    return std::exchange(m_line, std::string());
}

std::string ReplyPrinter::take(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        if (c == '\n' || c == '\0') {
            continue;
        }
        if (c == '\r') {
            if (!m_skipRest) {
                out += '\n';
            }
            m_skipRest = false;
            m_lineOpen = false;
            continue;
        }
        const bool firstOfLine = !m_lineOpen;
        m_lineOpen = true;
        if (m_skipRest) {
            continue;
        }
        if (firstOfLine && m_stamp) {
            out += m_stamp();
        }
        out += c;
    }
    return out;
}

std::string ReplyPrinter::finish() {
    if (!m_lineOpen || m_skipRest) {
        m_lineOpen = false;
        return {};
    }
    m_lineOpen = false;
    return "\n";
}

} // namespace orlix::cli
