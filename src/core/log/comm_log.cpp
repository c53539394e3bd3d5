#include "core/log/comm_log.h"

#include "core/log/visible_text.h"

#include <cerrno>
#include <cstring>

namespace orlix {

CommLog::~CommLog() {
    closeFile();
}

void CommLog::windowAppend(std::string_view text) {
    m_deps.view.text += text;
    m_deps.changed();
}

void CommLog::clearWindow() {
    m_deps.view.text.clear();
    ++m_deps.view.clearCount;
    m_deps.changed();
}

std::string CommLog::timeStamp(const DateTime& t) {
    // By hand: this runs for every line of a flood.
    std::string text = "00:00:00.000 ";
    const auto put = [&text](std::size_t at, int value, std::size_t digits) {
        for (std::size_t i = digits; i-- > 0; value /= 10) {
            text[at + i] = static_cast<char>('0' + (value % 10 + 10) % 10);
        }
    };
    put(0, t.hour, 2);
    put(3, t.minute, 2);
    put(6, t.second, 2);
    put(9, t.millisecond, 3);
    return text;
}

std::string CommLog::entryStart() const {
    // An entry in the middle of a received line starts a line of its own.
    std::string start = m_atLineStart ? std::string() : std::string("\r\n");
    return start + timeStamp(m_deps.clock.localNow());
}

void CommLog::LogLine(std::string_view text) {
    std::string line = m_timestamps ? entryStart() : std::string();
    line += text;
    line += "\r\n";
    windowAppend(line);
}

void CommLog::LogRxChar(char c) {
    echo(std::string_view(&c, 1), false);
}

void CommLog::LogRxLineEnd() {
    echo("\r\n", true);
}

void CommLog::echo(std::string_view text, bool lineEnd) {
    if (m_timestamps && m_atLineStart) {
        std::string stamped = timeStamp(m_deps.clock.localNow());
        stamped += text;
        m_atLineStart = lineEnd;
        put(stamped, lineEnd);
        return;
    }
    m_atLineStart = lineEnd;
    put(text, lineEnd);
}

void CommLog::put(std::string_view text, bool lineEnd) {
    if (!m_deps.download.echoSuppressed()) {
        if (m_deps.view.text.size() > kWindowTextLimit) {
            clearWindow();
        }
        windowAppend(text);
    }
    fileWrite(text, lineEnd);
}

void CommLog::logSent(std::string_view bytes) {
    if (!m_timestamps || bytes.empty()) {
        return;
    }
    // The line end of a command line is the entry's own.
    if (bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n") {
        bytes.remove_suffix(2);
    }
    std::string entry = entryStart();
    entry += "> ";
    entry += visibleText(bytes);
    entry += "\r\n";
    m_atLineStart = true;
    put(entry, true);
}

void CommLog::fileWrite(std::string_view text, bool lineEnd) {
    if (!FileLogEnabled || !m_file.is_open()) {
        return;
    }
    m_file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (lineEnd) {
        m_file.flush();
    }
    if (!m_file) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "write failed";
        const std::string path = m_path;
        closeFile();
        FileLogEnabled = false;
        m_deps.view.ckFileEnabled = false;
        m_deps.view.ckFileEnabledEnabled = false;
        m_deps.view.BtnLogFileEnabled = true;
        m_deps.view.btnEndFileLogEnabled = false;
        m_deps.changed();
        m_deps.dialogs.message("Writing the log file " + path + " failed (" + reason +
                               "). The log file has been closed.");
    }
}

bool CommLog::openFile(const std::string& path, std::string& error) {
    closeFile();
    errno = 0;
    m_file.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!m_file.is_open()) {
        error = errno != 0 ? std::strerror(errno) : "cannot be opened";
        return false;
    }
    m_path = path;
    return true;
}

void CommLog::closeFile() {
    if (m_file.is_open()) {
        m_file.flush();
        m_file.close();
    }
    m_file.clear();
}

} // namespace orlix
