#include "core/log/comm_log.h"

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

void CommLog::LogLine(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    windowAppend(line);
}

void CommLog::LogRxChar(char c) {
    if (!m_deps.download.echoSuppressed()) {
        if (m_deps.view.text.size() > kWindowTextLimit) {
            clearWindow();
        }
        windowAppend(std::string_view(&c, 1));
    }
    fileWrite(std::string_view(&c, 1), false);
}

void CommLog::LogRxLineEnd() {
    if (!m_deps.download.echoSuppressed()) {
        if (m_deps.view.text.size() > kWindowTextLimit) {
            clearWindow();
        }
        windowAppend("\r\n");
    }
    fileWrite("\r\n", true);
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
