// A serial line carried over one TCP connection, raw or through Telnet with
// COM port control: what the tool's serial port adapter does with the bytes,
// without the socket.
//
// The line is ready for data once the connection is up (raw) or once the
// server has answered the COM port control offer, so that the line
// settings reach the server before the first byte of data. Data written
// before that is held, up to kMaxHeld bytes, and goes out in order when the
// line becomes ready; past that a write is refused (not sent).
#pragma once

#include "core/net/network_address.h"
#include "core/net/telnet_client.h"
#include "core/ports/serial_port.h"

#include <optional>
#include <string>
#include <string_view>

namespace orlix::net {

class NetworkLine {
public:
    static constexpr std::size_t kMaxHeld = 4096;

    NetworkLine(NetworkScheme scheme, const SerialLineSettings& line);

    // The connection is up: the bytes to send first.
    std::string connected();
    // Bytes from the server: returns the serial data in them; answers to
    // the server (and held data, once the line is ready) go to `toServer`.
    std::string receive(std::string_view bytes, std::string& toServer);
    // Serial data to send: its bytes for the connection go to `toServer`,
    // or are held until the line is ready. False: refused, the hold is full.
    bool send(std::string_view data, std::string& toServer);

    bool ready() const;
    // The Telnet state, for an RFC 2217 line.
    const TelnetClient* telnet() const { return m_telnet ? &*m_telnet : nullptr; }

private:
    void release(std::string& toServer);

    std::optional<TelnetClient> m_telnet;
    bool m_connected = false;
    std::string m_held;
};

} // namespace orlix::net
