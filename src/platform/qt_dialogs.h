// Modal dialogs on Qt: message boxes titled with the application title,
// a Yes/No question, the file choosers and the beep.
#pragma once

#include "core/ports/dialogs.h"

#include <QString>

class QWidget;

namespace orlix::platform {

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(std::string_view text, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
    int choose(std::string_view text, const std::vector<std::string>& buttons,
               std::string_view title) override;
    std::optional<FileChoice> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> chooseSaveFile(const FileDialogRequest& request) override;
    void beep(int frequencyHz, int durationMs) override;

    // "desc|pattern|desc|pattern" to Qt's "desc (pattern);;desc (pattern)".
    static QString qtFilter(const std::string& filter);

private:
    std::optional<FileChoice> chooseFile(const FileDialogRequest& request, bool save);

    QWidget* m_parent;
};

} // namespace orlix::platform
