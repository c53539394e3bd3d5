#include "core/net/telnet_client.h"

namespace orlix::net {

using namespace telnet;

namespace {

// Options we want on, ours and the server's; everything else is refused.
bool wantLocal(unsigned char option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

bool wantRemote(unsigned char option) {
    return option == kBinary || option == kSuppressGoAhead;
}

void put(std::string& out, unsigned char c) {
    out += static_cast<char>(c);
}

void verb(std::string& out, unsigned char v, unsigned char option) {
    put(out, kIac);
    put(out, v);
    put(out, option);
}

// IAC SB COM-PORT-OPTION command value... IAC SE, with 0xFF doubled.
void comPortCommand(std::string& out, unsigned char command, std::string_view value) {
    put(out, kIac);
    put(out, kSb);
    put(out, kComPort);
    put(out, command);
    for (const char c : value) {
        put(out, static_cast<unsigned char>(c));
        if (static_cast<unsigned char>(c) == kIac) {
            put(out, kIac);
        }
    }
    put(out, kIac);
    put(out, kSe);
}

void comPortCommand(std::string& out, unsigned char command, unsigned char value) {
    comPortCommand(out, command, std::string_view(reinterpret_cast<const char*>(&value), 1));
}

} // namespace

TelnetClient::TelnetClient(const SerialLineSettings& line, std::string signature)
    : m_line(line), m_signature(std::move(signature)) {
    if (m_signature.size() > kMaxSubnegotiation / 2) {
        m_signature.resize(kMaxSubnegotiation / 2);
    }
}

std::string TelnetClient::start() {
    std::string out;
    for (const unsigned char option : {kBinary, kSuppressGoAhead}) {
        m_us[option] = Q::WantYes;
        verb(out, kWill, option);
        m_him[option] = Q::WantYes;
        verb(out, kDo, option);
    }
    m_us[kComPort] = Q::WantYes;
    verb(out, kWill, kComPort);
    return out;
}

void TelnetClient::receive(std::string_view bytes, std::string& data, std::string& reply) {
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (m_state) {
        case State::Data:
            if (c == kIac) {
                m_state = State::Iac;
            } else {
                dataByte(c, data);
            }
            break;
        case State::Iac:
            m_state = State::Data;
            if (c == kIac) {
                dataByte(c, data);
            } else {
                command(c);
            }
            break;
        case State::Verb:
            m_state = State::Data;
            negotiate(m_verb, c, reply);
            break;
        case State::Sub:
            if (c == kIac) {
                m_state = State::SubIac;
            } else if (m_sub.size() < kMaxSubnegotiation) {
                m_sub += ch;
            } else {
                m_subOverflow = true;
            }
            break;
        case State::SubIac:
            if (c == kIac) {
                m_state = State::Sub;
                if (m_sub.size() < kMaxSubnegotiation) {
                    m_sub += ch;
                } else {
                    m_subOverflow = true;
                }
            } else if (c == kSe) {
                m_state = State::Data;
                if (!m_subOverflow) {
                    subnegotiation(reply);
                }
            } else {
                // An unterminated subnegotiation: drop it and take the
                // byte as the command it would be outside one.
                m_state = State::Data;
                command(c);
            }
            break;
        }
    }
}

void TelnetClient::dataByte(unsigned char c, std::string& data) {
    if (!remoteEnabled(kBinary)) {
        const bool nulAfterCr = m_afterCr && c == 0;
        m_afterCr = c == '\r';
        if (nulAfterCr) {
            return;
        }
    }
    if (!comPortAnswered()) {
        return; // waiting before the open
    }
    put(data, c);
}

void TelnetClient::command(unsigned char c) {
    switch (c) {
    case kWill:
    case kWont:
    case kDo:
    case kDont:
        m_verb = c;
        m_state = State::Verb;
        break;
    case kSb:
        m_sub.clear();
        m_subOverflow = false;
        m_state = State::Sub;
        break;
    default:
        // NOP, data mark, go-ahead, break, stray SE and the like carry
        // nothing for a serial line.
        break;
    }
}

// One side of an option, by RFC 1143: a request for what already holds is
// never answered, so no exchange of requests can start a loop.
void TelnetClient::negotiateSide(Q& q, bool enable, bool wanted, unsigned char accept,
                                 unsigned char refuse, unsigned char option, std::string& reply) {
    if (enable) {
        if (q == Q::No) {
            verb(reply, wanted ? accept : refuse, option);
            q = wanted ? Q::Yes : Q::No;
        } else {
            q = Q::Yes; // our own request agreed to, or nothing new
        }
    } else {
        if (q == Q::Yes) {
            verb(reply, refuse, option);
        }
        q = Q::No;
    }
}

void TelnetClient::negotiate(unsigned char v, unsigned char option, std::string& reply) {
    if (v == kWill || v == kWont) {
        negotiateSide(m_him[option], v == kWill, wantRemote(option), kDo, kDont, option, reply);
        return;
    }
    negotiateSide(m_us[option], v == kDo, wantLocal(option), kWill, kWont, option, reply);
    if (option == kComPort && m_us[option] == Q::Yes) {
        sendComPortSettings(reply);
    }
}

void TelnetClient::sendComPortSettings(std::string& reply) {
    if (m_settingsSent) {
        return;
    }
    m_settingsSent = true;
    const auto baud = static_cast<std::uint32_t>(m_line.baudRate);
    const char baudBytes[4] = {static_cast<char>(baud >> 24), static_cast<char>(baud >> 16),
                               static_cast<char>(baud >> 8), static_cast<char>(baud)};
    comPortCommand(reply, kSetBaudRate, std::string_view(baudBytes, 4));
    comPortCommand(reply, kSetDataSize, static_cast<unsigned char>(m_line.dataBits));
    // 1 none, 2 odd, 3 even
    comPortCommand(reply, kSetParity, m_line.parity == 'O' ? 2 : m_line.parity == 'E' ? 3 : 1);
    comPortCommand(reply, kSetStopSize, m_line.stopBits == 2 ? 2 : 1);
    // Control values: 1 no flow control, 3 hardware; 8/9 DTR on/off;
    // 11/12 RTS on/off.
    comPortCommand(reply, kSetControl, m_line.hardwareHandshake ? 3 : 1);
    comPortCommand(reply, kSetControl, m_line.dataTerminalReady ? 8 : 9);
    comPortCommand(reply, kSetControl, m_line.requestToSend ? 11 : 12);
    // 3: both the server's receive and transmit buffers.
    comPortCommand(reply, kPurgeData, 3);
}

void TelnetClient::subnegotiation(std::string& reply) {
    if (m_sub.size() < 2 || static_cast<unsigned char>(m_sub[0]) != kComPort) {
        return;
    }
    const auto code = static_cast<unsigned char>(m_sub[1]);
    const std::string_view value = std::string_view(m_sub).substr(2);
    if (code < kServerReply) {
        return; // a client's command: not ours to answer
    }
    const unsigned command = code - kServerReply;
    if (command == kSignature) {
        // An empty signature is the server asking for ours.
        if (value.empty() && comPortAccepted()) {
            comPortCommand(reply, kSignature, m_signature);
        }
        return;
    }
    if (command < 32) {
        m_acknowledged |= 1u << command;
    }
    if (command == kSetBaudRate && value.size() == 4) {
        m_reportedBaudRate = 0;
        for (const char c : value) {
            m_reportedBaudRate = (m_reportedBaudRate << 8) | static_cast<unsigned char>(c);
        }
    }
}

void TelnetClient::encode(std::string_view data, std::string& out) const {
    const bool binary = localEnabled(kBinary);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        put(out, c);
        if (c == kIac) {
            put(out, kIac);
        } else if (c == '\r' && !binary && (i + 1 == data.size() || data[i + 1] != '\n')) {
            put(out, 0);
        }
    }
}

} // namespace orlix::net
