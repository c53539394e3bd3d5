#include "cli/headless_dialogs.h"

#include "cli/terminal_output.h"

#include <utility>

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

void HeadlessDialogs::message(std::string_view text, std::string_view /*title*/) {
    std::string line = terminalText(text);
    if (m_holding) {
        m_held.push_back(std::move(line));
    } else {
        errorLine(line);
    }
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
    errorLine(terminalText(text) + " No.");
    return false;
}

std::optional<FileChoice> HeadlessDialogs::chooseOpenFile(const FileDialogRequest& /*request*/) {
    return std::exchange(m_open, std::nullopt);
}

std::optional<FileChoice> HeadlessDialogs::chooseSaveFile(const FileDialogRequest& /*request*/) {
    return std::exchange(m_save, std::nullopt);
}

} // namespace orlix::cli
