// The simulated unit's end of a pseudo-terminal: the master side, with the
// slave device reachable under a symbolic link chosen by the user. The tool
// opens the link as its serial port.
//
// The master stays open while the tool closes and reopens the port. While
// no one holds the slave, reads of the master fail with EIO and poll
// reports a hang-up; that is the normal "nobody there" state, not an error.
#pragma once

#include <string>
#include <string_view>

namespace orlix::sim::pty {

class PtyLine {
public:
    PtyLine() = default;
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;
    ~PtyLine();

    // Opens a new pseudo-terminal in raw mode and points linkPath at its
    // slave (replacing an earlier symbolic link there). False and a reason
    // on failure.
    bool open(const std::string& linkPath, std::string& error);
    // Closes the master: whoever holds the slave sees the line go away.
    // The symbolic link stays, dangling, until the next open.
    void close();
    bool isOpen() const { return m_master >= 0; }
    int fd() const { return m_master; }
    const std::string& slaveName() const { return m_slaveName; }

    enum class ReadResult { Data, Nothing, NoPeer, Failed };
    // Appends what is waiting to `out` without blocking.
    ReadResult read(std::string& out);

    // Writes what it can at once and keeps the rest for flush().
    void write(std::string_view bytes);
    void flush();
    bool hasPending() const { return !m_pending.empty(); }
    // Makes the terminal raw again (a slave's last close may reset it).
    void makeRaw();
    // Removes the symbolic link if it still points at this line's slave.
    void removeLink();

private:
    int m_master = -1;
    std::string m_slaveName;
    std::string m_linkPath;
    std::string m_pending;
};

} // namespace orlix::sim::pty
