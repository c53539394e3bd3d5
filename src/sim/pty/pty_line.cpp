#include "sim/pty/pty_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace orlix::sim::pty {

namespace {

std::string systemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Points `link` at `target`, replacing an earlier symbolic link but never
// another kind of file.
bool relink(const std::string& link, const std::string& target, std::string& error) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = link + " exists and is not a symbolic link";
        return false;
    }
    const std::string temp = link + ".tmp" + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (::symlink(target.c_str(), temp.c_str()) != 0) {
        error = systemError(("symlink " + link).c_str());
        return false;
    }
    if (::rename(temp.c_str(), link.c_str()) != 0) {
        error = systemError(("rename to " + link).c_str());
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

PtyLine::~PtyLine() {
    close();
}

bool PtyLine::open(const std::string& linkPath, std::string& error) {
    close();
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        error = systemError("grantpt/unlockpt");
        ::close(master);
        return false;
    }
    const char* name = ::ptsname(master);
    if (name == nullptr) {
        error = systemError("ptsname");
        ::close(master);
        return false;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_master = master;
    m_slaveName = name;
    m_linkPath = linkPath;
    m_pending.clear();
    makeRaw();
    if (!relink(linkPath, m_slaveName, error)) {
        close();
        return false;
    }
    return true;
}

void PtyLine::makeRaw() {
    if (m_master < 0) {
        return;
    }
    // Termios requests on the master act on the slave's settings.
    termios tio{};
    if (::tcgetattr(m_master, &tio) != 0) {
        return;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio, B19200);
    ::cfsetospeed(&tio, B19200);
    ::tcsetattr(m_master, TCSANOW, &tio);
}

void PtyLine::close() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    m_pending.clear();
}

void PtyLine::removeLink() {
    if (m_linkPath.empty()) {
        return;
    }
    char target[512];
    const auto n = ::readlink(m_linkPath.c_str(), target, sizeof target - 1);
    if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == m_slaveName) {
        ::unlink(m_linkPath.c_str());
    }
}

PtyLine::ReadResult PtyLine::read(std::string& out) {
    if (m_master < 0) {
        return ReadResult::Failed;
    }
    char buf[4096];
    const auto n = ::read(m_master, buf, sizeof buf);
    if (n > 0) {
        out.append(buf, static_cast<std::size_t>(n));
        return ReadResult::Data;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return ReadResult::Nothing;
    }
    if (n < 0 && errno == EIO) {
        return ReadResult::NoPeer;
    }
    return n == 0 ? ReadResult::NoPeer : ReadResult::Failed;
}

void PtyLine::write(std::string_view bytes) {
    m_pending.append(bytes);
    flush();
}

void PtyLine::flush() {
    while (m_master >= 0 && !m_pending.empty()) {
        const auto n = ::write(m_master, m_pending.data(), m_pending.size());
        if (n > 0) {
            m_pending.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            return; // the tool is not reading: try again when writable
        }
        // No one at the other end: what the unit says is lost, as on a
        // line with nothing attached.
        m_pending.clear();
    }
}

} // namespace orlix::sim::pty
