// Network port addresses: what is taken, what is refused and why.
#include "core/net/network_address.h"

#include <gtest/gtest.h>

namespace orlix::net {
namespace {

TEST(NetworkAddress, WellFormedAddressesAreTaken) {
    struct Case {
        const char* text;
        NetworkScheme scheme;
        const char* host;
        std::uint16_t port;
    };
    for (const Case& c : {
             Case{"tcp://127.0.0.1:4001", NetworkScheme::Raw, "127.0.0.1", 4001},
             Case{"rfc2217://localhost:2217", NetworkScheme::Rfc2217, "localhost", 2217},
             Case{"RFC2217://Unit-3.shop.example:1", NetworkScheme::Rfc2217, "Unit-3.shop.example",
                  1},
             Case{"tcp://[::1]:65535", NetworkScheme::Raw, "::1", 65535},
             Case{"tcp://[::ffff:127.0.0.1]:80", NetworkScheme::Raw, "::ffff:127.0.0.1", 80},
             Case{" \ttcp://127.0.0.1:7 ", NetworkScheme::Raw, "127.0.0.1", 7},
         }) {
        std::string why;
        const auto a = parseNetworkAddress(c.text, &why);
        ASSERT_TRUE(a) << c.text << ": " << why;
        EXPECT_EQ(a->scheme, c.scheme) << c.text;
        EXPECT_EQ(a->host, c.host) << c.text;
        EXPECT_EQ(a->port, c.port) << c.text;
        EXPECT_EQ(deviceNameProblem(c.text), "") << c.text;
    }
}

TEST(NetworkAddress, MalformedAddressesAreRefusedWithTheReason) {
    struct Case {
        const char* text;
        const char* reason; // part of the message
    };
    for (const Case& c : {
             Case{"telnet://127.0.0.1:23", "only tcp:// and rfc2217://"},
             Case{"://127.0.0.1:23", "only tcp:// and rfc2217://"},
             Case{"tcp://127.0.0.1", "port number is missing"},
             Case{"tcp://127.0.0.1:", "port number is missing"},
             Case{"tcp://", "port number is missing"},
             Case{"tcp://:4000", "host is missing"},
             Case{"tcp://host:0", "from 1 to 65535"},
             Case{"tcp://host:65536", "from 1 to 65535"},
             Case{"tcp://host:+80", "from 1 to 65535"},
             Case{"tcp://host:8 0", "from 1 to 65535"},
             Case{"tcp://host:99999999999999999999", "from 1 to 65535"},
             Case{"tcp://host:80/path", "from 1 to 65535"},
             Case{"tcp://user@host:80", "only letters, digits"},
             Case{"tcp://ho st:80", "only letters, digits"},
             Case{"tcp://host..x:80", "empty or overlong part"},
             Case{"tcp://-host:80", "only letters, digits"},
             Case{"tcp://999.1.1.1:80", "four numbers from 0 to 255"},
             Case{"tcp://127.0.0:80", "four numbers from 0 to 255"},
             Case{"tcp://::1:80", "must stand in brackets"},
             Case{"tcp://[::1:80", "bracketed IPv6"},
             Case{"tcp://[zz::1]:80", "bracketed IPv6"},
         }) {
        std::string why;
        EXPECT_FALSE(parseNetworkAddress(c.text, &why)) << c.text;
        const std::string message = deviceNameProblem(c.text);
        EXPECT_NE(message.find(c.reason), std::string::npos) << c.text << " -> " << message;
        EXPECT_NE(message.find(std::string("\"") + c.text + "\""), std::string::npos) << message;
    }
}

TEST(NetworkAddress, DevicePathsAreNotAddressesAndHostileTextIsShownSafely) {
    for (const char* device : {"/dev/ttyUSB0", "COM3", "simulator", "tcp:host:80", ""}) {
        EXPECT_FALSE(isNetworkAddress(device)) << device;
        EXPECT_EQ(deviceNameProblem(device), "") << device;
    }
    const std::string hostile = "tcp://\x1b[2J" + std::string(500, 'a') + ":1";
    const std::string message = deviceNameProblem(hostile);
    EXPECT_EQ(message.find('\x1b'), std::string::npos);
    EXPECT_LT(message.size(), 250u);
    const std::string longName = "tcp://" + std::string(254, 'a') + ":1";
    EXPECT_NE(deviceNameProblem(longName).find("too long"), std::string::npos);
}

} // namespace
} // namespace orlix::net
