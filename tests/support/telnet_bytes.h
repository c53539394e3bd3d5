// Building Telnet byte sequences in tests: a server's negotiation commands
// and subnegotiations, written as numbers.
#pragma once

#include "core/net/telnet_client.h"

#include <initializer_list>
#include <string>

namespace orlix::test {

inline std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

// IAC verb option
inline std::string cmd(int verb, int option) {
    return bytes({net::telnet::kIac, verb, option});
}

// IAC SB body... IAC SE
inline std::string sub(std::initializer_list<int> body) {
    return bytes({net::telnet::kIac, net::telnet::kSb}) + bytes(body) +
           bytes({net::telnet::kIac, net::telnet::kSe});
}

} // namespace orlix::test
