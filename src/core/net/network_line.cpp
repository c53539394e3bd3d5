#include "core/net/network_line.h"

namespace orlix::net {

NetworkLine::NetworkLine(NetworkScheme scheme, const SerialLineSettings& line) {
    if (scheme == NetworkScheme::Rfc2217) {
        m_telnet.emplace(line);
    }
}

bool NetworkLine::ready() const {
    return m_connected && (!m_telnet || m_telnet->comPortAnswered());
}

std::string NetworkLine::connected() {
    std::string out;
    if (m_connected) {
        return out;
    }
    m_connected = true;
    if (m_telnet) {
        out = m_telnet->start();
    }
    release(out);
    return out;
}

std::string NetworkLine::receive(std::string_view bytes, std::string& toServer) {
    if (!m_telnet) {
        return std::string(bytes);
    }
    std::string data;
    m_telnet->receive(bytes, data, toServer);
    release(toServer);
    return data;
}

bool NetworkLine::send(std::string_view data, std::string& toServer) {
    if (!ready()) {
        if (data.size() > kMaxHeld - m_held.size()) {
            return false;
        }
        m_held.append(data);
        return true;
    }
    if (m_telnet) {
        m_telnet->encode(data, toServer);
    } else {
        toServer.append(data);
    }
    return true;
}

void NetworkLine::release(std::string& toServer) {
    if (m_held.empty() || !ready()) {
        return;
    }
    std::string held;
    held.swap(m_held);
    send(held, toServer);
}

} // namespace orlix::net
