// The dialogs port with no display: a message box becomes a line on
// standard error, a question is answered No or with its last button
// (nothing is written that the command line did not ask for), and a file
// choice is a cancel. The beep is silent.
#pragma once

#include "core/ports/dialogs.h"

#include <optional>
#include <string>
#include <vector>

namespace orlix::cli {

class HeadlessDialogs : public Dialogs {
public:
    void message(std::string_view text, std::string_view title = kAppTitle) override;
    bool askYesNo(std::string_view text, std::string_view title = kAppTitle) override;
    // Answered with the last button (the one that declines).
    int choose(std::string_view text, const std::vector<std::string>& buttons,
               std::string_view title = kAppTitle) override;
    std::optional<FileChoice> chooseOpenFile(const FileDialogRequest& /*request*/) override {
        return std::nullopt;
    }
    std::optional<FileChoice> chooseSaveFile(const FileDialogRequest& /*request*/) override {
        return std::nullopt;
    }
    void beep(int /*frequencyHz*/, int /*durationMs*/) override {}

    // Messages and questions (with their answers) are kept instead of
    // printed until release(); the driver then prints them or, when it
    // reports the outcome itself, drops them.
    void hold() { m_holding = true; }
    void release(bool print);

    // A message box's text as lines for a terminal: its CR LF and lone CR
    // line breaks become LF.
    static std::string terminalText(std::string_view text);

private:
    void say(std::string line);

    bool m_holding = false;
    std::vector<std::string> m_held;
};

} // namespace orlix::cli
