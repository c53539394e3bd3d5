// Port: modal dialogs. Each call returns the user's answer synchronously,
// as a modal dialog would.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix {

inline constexpr std::string_view kAppTitle = "Orlix6";

struct FileDialogRequest {
    // Entries as "description|pattern|description|pattern...".
    std::string filter;
    std::string initialDir;  // empty: the dialog's own choice
    std::string initialName; // may be a pattern such as "*.mdv"
    bool mustExist = false;
    bool promptOverwrite = false;
};

struct FileChoice {
    std::string path; // full path
    std::string name; // file name without folder
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Message box with an OK button.
    virtual void message(std::string_view text, std::string_view title = kAppTitle) = 0;
    // Yes/No question; true for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view title = kAppTitle) = 0;
    // A question answered by one of a few buttons: the index of the button
    // chosen, or -1 when the box was closed without a choice.
    virtual int choose(std::string_view text, const std::vector<std::string>& buttons,
                       std::string_view title = kAppTitle) = 0;
    // nullopt when the user cancelled.
    virtual std::optional<FileChoice> chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> chooseSaveFile(const FileDialogRequest& request) = 0;
    virtual void beep(int frequencyHz, int durationMs) = 0;
};

} // namespace orlix
