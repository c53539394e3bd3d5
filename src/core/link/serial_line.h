// The serial port the tool talks through: which device each of Com1..Com8
// stands for, opening it with the fixed line settings, and writing.
//
// Device names come from settings section "Ports" ("Com1".."Com8"), with
// the platform's usual names as defaults; a command-line override
// (--port N=DEVICE) wins for one run and is never saved. A device name may
// also be a network port (tcp://HOST:PORT, rfc2217://HOST:PORT); a
// malformed one is refused at the open with a message naming it.
#pragma once

#include "core/app/settings.h"
#include "core/ports/serial_port.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 8;

// "COM1" on Windows, "/dev/ttyS0" elsewhere.
std::string defaultDeviceName(int port);

class SerialLine {
public:
    SerialLine(SerialPort& port, Settings& settings) : m_port(port), m_settings(settings) {}

    // The device that ComN stands for; empty for a number outside 1..8.
    std::string deviceFor(int port) const;
    void setOverride(int port, std::string device);
    // Saves the device names of Com1..Com8; an empty name keeps the saved
    // one. A malformed network address saves nothing: the problem comes
    // back ("ComN: ..."), empty when all were saved.
    std::string saveDevices(const std::array<std::string, kLastPort>& devices);

    // Closes the port if open, opens ComN with 19200 8N1, no handshaking,
    // DTR and RTS off, pending input thrown away. False when the system
    // refused; the reason is then in lastError().
    bool open(int port);
    void close();
    bool isOpen() const { return m_port.isOpen(); }
    bool write(std::string_view bytes);
    // Told of every write that went out (the comm log's sent lines).
    void setWriteObserver(std::function<void(std::string_view)> observer) {
        m_onWritten = std::move(observer);
    }

    const std::string& lastError() const { return m_lastError; }
    // The last open still goes on (a network connection); a failure comes
    // later, through openFailed.
    bool openPending() const { return m_openPending; }
    // The pending open failed ("DEVICE: reason"): the port is closed and
    // the reason becomes lastError().
    void openFailed(std::string reason);
    static SerialLineSettings lineSettings();

private:
    SerialPort& m_port;
    Settings& m_settings;
    std::array<std::optional<std::string>, kLastPort + 1> m_overrides{};
    std::string m_lastError;
    bool m_openPending = false;
    std::function<void(std::string_view)> m_onWritten;
};

} // namespace orlix
