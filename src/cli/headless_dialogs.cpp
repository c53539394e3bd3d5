#include "cli/headless_dialogs.h"

#include "cli/terminal_output.h"

namespace orlix::cli {

std::string HeadlessDialogs::terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

void HeadlessDialogs::say(std::string line) {
    if (m_holding) {
        m_held.push_back(std::move(line));
    } else {
        errorLine(line);
    }
}

void HeadlessDialogs::message(std::string_view text, std::string_view /*title*/) {
    say(terminalText(text));
}

void HeadlessDialogs::release(bool print) {
    m_holding = false;
    if (print) {
        for (const std::string& line : m_held) {
            errorLine(line);
        }
    }
    m_held.clear();
}

bool HeadlessDialogs::askYesNo(std::string_view text, std::string_view /*title*/) {
    say(terminalText(text) + " No.");
    return false;
}

int HeadlessDialogs::choose(std::string_view text, const std::vector<std::string>& buttons,
                            std::string_view /*title*/) {
    if (buttons.empty()) {
        say(terminalText(text));
        return -1;
    }
    say(terminalText(text) + " " + buttons.back() + ".");
    return static_cast<int>(buttons.size()) - 1;
}

} // namespace orlix::cli
