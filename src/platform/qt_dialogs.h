// Modal dialogs on Qt: message boxes titled with the application title,
// a Yes/No question, the file choosers and the beep.
//
// A dialog often opens in the middle of an event, before core has told the
// windows what the event changed; the hook that runs before each dialog
// lets the windows show that first (a progress window at 100 % behind
// "Download complete", not the record before).
#pragma once

#include "core/ports/dialogs.h"

#include <QString>

#include <functional>

class QWidget;

namespace orlix::platform {

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    // Runs before every dialog opens.
    void setBeforeModal(std::function<void()> hook) { m_beforeModal = std::move(hook); }

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

    void beforeModal() const;

    QWidget* m_parent;
    std::function<void()> m_beforeModal;
};

} // namespace orlix::platform
