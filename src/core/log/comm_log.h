// The communication log: what the unit sends, echoed into the log window
// and, while file logging is on, into a ".mcl" log file.
//
// The echo is per character but cheap: characters are appended to the
// view's text, and the window hears of the change once per event (one
// insertion per read). The window text is emptied when it passes 31500
// characters. The file is buffered and flushed at every line end, so a
// crash loses at most the current line; a failed write closes the file
// log with a message instead of losing text silently.
//
// With timestamps on, every received line starts with the local time to
// the millisecond ("12:34:56.789 "), and each write to the line is logged
// as a line of its own, stamped and marked "> ". The tool's notices carry
// the time too. Off, nothing of this is written.
#pragma once

#include "core/app/views.h"
#include "core/download/download_state.h"
#include "core/ports/clock.h"
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
        const Clock& clock;
        std::function<void()> changed;
    };

    explicit CommLog(Deps deps) : m_deps(std::move(deps)) {}
    ~CommLog();

    // A line of the tool's own (notices); window only.
    void LogLine(std::string_view text);
    // One received character other than CR and LF, and a received CR.
    void LogRxChar(char c);
    void LogRxLineEnd();
    // Bytes the tool wrote to the line; logged only with timestamps on.
    void logSent(std::string_view bytes);

    void setTimestamps(bool on) { m_timestamps = on; }
    bool timestamps() const { return m_timestamps; }
    // "12:34:56.789 "
    static std::string timeStamp(const DateTime& t);

    void clearWindow();

    // The log file. openFile creates or empties the file.
    bool openFile(const std::string& path, std::string& error);
    void closeFile();
    bool LogFileOpen() const { return m_file.is_open(); }
    bool FileLogEnabled = false;

private:
    void windowAppend(std::string_view text);
    // A stamped entry of the tool's own (timestamps on).
    std::string entryStart() const;
    void echo(std::string_view text, bool lineEnd);
    // To the window (unless a download holds the echo back) and the file.
    void put(std::string_view text, bool lineEnd);
    void fileWrite(std::string_view text, bool lineEnd);

    Deps m_deps;
    std::ofstream m_file;
    std::string m_path;
    bool m_timestamps = false;
    bool m_atLineStart = true; // of the received text
};

} // namespace orlix
