// The client end of a Telnet connection to a serial port server that
// offers the COM port control option (a device server, ser2net). Bytes in,
// bytes out: no socket, no clock.
//
// What it does:
// - at the start, offers and asks for binary transmission and suppress-
//   go-ahead in both directions and offers COM port control; every other
//   option the server asks for or offers is refused;
// - answers each request only when it changes an option's state, as
//   RFC 1143 lays down, so that two ends can never talk each other into a
//   loop however the server behaves;
// - once the server takes COM port control, sends the line settings (baud
//   rate, data bits, parity, stop bits), flow control, DTR and RTS, and a
//   purge of both of the server's buffers, once per connection;
// - answers the server's request for our signature;
// - doubles 0xFF in data both ways; outside binary mode sends a lone CR as
//   CR NUL and drops the NUL after a received CR.
//
// What it does not do: the server's flow control suspend/resume and its
// line and modem state notices are read and dropped (the tool writes one
// short line at a time and watches the unit's answers, not the modem
// lines). Data that arrives before the server has answered the COM port
// control offer was waiting before the open and is dropped, as opening a
// serial port throws pending input away.
//
// Hostile input cannot make it grow: a subnegotiation keeps at most
// kMaxSubnegotiation bytes, and every answer is shorter than a small
// multiple of the request that caused it.
#pragma once

#include "core/ports/serial_port.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlix::net {

namespace telnet {
inline constexpr unsigned char kIac = 255;
inline constexpr unsigned char kDont = 254;
inline constexpr unsigned char kDo = 253;
inline constexpr unsigned char kWont = 252;
inline constexpr unsigned char kWill = 251;
inline constexpr unsigned char kSb = 250;
inline constexpr unsigned char kSe = 240;

inline constexpr unsigned char kBinary = 0;
inline constexpr unsigned char kEcho = 1;
inline constexpr unsigned char kSuppressGoAhead = 3;
inline constexpr unsigned char kComPort = 44;

// COM port control commands from client to server; the server's answers
// carry the same command plus kServerReply.
inline constexpr unsigned char kSignature = 0;
inline constexpr unsigned char kSetBaudRate = 1;
inline constexpr unsigned char kSetDataSize = 2;
inline constexpr unsigned char kSetParity = 3;
inline constexpr unsigned char kSetStopSize = 4;
inline constexpr unsigned char kSetControl = 5;
inline constexpr unsigned char kPurgeData = 12;
inline constexpr unsigned char kServerReply = 100;
} // namespace telnet

class TelnetClient {
public:
    static constexpr std::size_t kMaxSubnegotiation = 256;

    explicit TelnetClient(const SerialLineSettings& line, std::string signature = "Orlix6");

    // The first bytes to send once the connection is up.
    std::string start();

    // Takes bytes from the server: appends the serial data in them to
    // `data` and what must go back to the server to `reply`.
    void receive(std::string_view bytes, std::string& data, std::string& reply);

    // Appends serial data, encoded for the connection, to `out`.
    void encode(std::string_view data, std::string& out) const;

    // The server has answered the COM port control offer, either way.
    bool comPortAnswered() const { return m_us[telnet::kComPort] != Q::WantYes; }
    bool comPortAccepted() const { return m_us[telnet::kComPort] == Q::Yes; }
    // Option states: ours (we send it) and the server's.
    bool localEnabled(unsigned char option) const { return m_us[option] == Q::Yes; }
    bool remoteEnabled(unsigned char option) const { return m_him[option] == Q::Yes; }
    // Commands the server has acknowledged (bit n: command n), and the
    // baud rate it reported.
    std::uint32_t acknowledged() const { return m_acknowledged; }
    std::uint32_t reportedBaudRate() const { return m_reportedBaudRate; }

private:
    enum class Q : unsigned char { No, Yes, WantYes };
    enum class State : unsigned char { Data, Iac, Verb, Sub, SubIac };

    void command(unsigned char c);
    void negotiate(unsigned char verb, unsigned char option, std::string& reply);
    void negotiateSide(Q& q, bool enable, bool wanted, unsigned char accept, unsigned char refuse,
                       unsigned char option, std::string& reply);
    void subnegotiation(std::string& reply);
    void sendComPortSettings(std::string& reply);
    void dataByte(unsigned char c, std::string& data);

    SerialLineSettings m_line;
    std::string m_signature;
    std::array<Q, 256> m_us{};
    std::array<Q, 256> m_him{};
    State m_state = State::Data;
    unsigned char m_verb = 0;
    std::string m_sub;
    bool m_subOverflow = false;
    bool m_afterCr = false;
    bool m_settingsSent = false;
    std::uint32_t m_acknowledged = 0;
    std::uint32_t m_reportedBaudRate = 0;
};

} // namespace orlix::net
