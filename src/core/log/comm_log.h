// The communication log: what the unit sends, echoed into the log window
// and, while file logging is on, into a ".mcl" log file.
//
// The echo is per character but cheap: characters are appended to the
// view's text, and the window hears of the change once per event (one
// insertion per read). The window text is emptied when it passes 31500
// characters. The file is buffered and flushed at every line end, so a
// crash loses at most the current line; a failed write closes the file
// log with a message instead of losing text silently.
#pragma once

#include "core/app/views.h"
#include "core/download/download_state.h"
#include "core/ports/dialogs.h"

#include <fstream>
#include <functional>
#include <string>
#include <string_view>

namespace orlix {

class CommLog {
public:
    static constexpr std::size_t kWindowTextLimit = 31500;

    struct Deps {
        CommLogView& view;
        const DownloadState& download;
        Dialogs& dialogs;
        std::function<void()> changed;
    };

    explicit CommLog(Deps deps) : m_deps(std::move(deps)) {}
    ~CommLog();

    // A line of the tool's own (notices); window only.
    void LogLine(std::string_view text);
    // One received character other than CR and LF, and a received CR.
    void LogRxChar(char c);
    void LogRxLineEnd();

    void clearWindow();

    // The log file. openFile creates or empties the file.
    bool openFile(const std::string& path, std::string& error);
    void closeFile();
    bool LogFileOpen() const { return m_file.is_open(); }
    bool FileLogEnabled = false;

private:
    void windowAppend(std::string_view text);
    void fileWrite(std::string_view text, bool lineEnd);

    Deps m_deps;
    std::ofstream m_file;
    std::string m_path;
};

} // namespace orlix
