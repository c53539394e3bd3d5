// Network ports: a Com mapping may name, instead of a device path, a serial
// port served over TCP:
//
//   tcp://HOST:PORT       raw bytes both ways
//   rfc2217://HOST:PORT   Telnet with the COM port control option
//
// HOST is a DNS name, a dotted IPv4 address or a bracketed IPv6 address;
// PORT is 1..65535. Anything else that contains "://" is refused with a
// message naming it, so that a typing error is never taken for a device
// path or sent to an address the user did not mean.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlix::net {

enum class NetworkScheme { Raw, Rfc2217 };

struct NetworkAddress {
    NetworkScheme scheme = NetworkScheme::Raw;
    std::string host; // without the brackets of an IPv6 address
    std::uint16_t port = 0;
};

// True for a device name that names a network port rather than a local
// device (it holds "://"), well formed or not.
bool isNetworkAddress(std::string_view device);

// The address, or nullopt with the reason in `why` (a short phrase).
// Blanks around the text are ignored.
std::optional<NetworkAddress> parseNetworkAddress(std::string_view text, std::string* why);

// Empty for a device name that is fine to use; otherwise the message to
// show, naming the text: a malformed network address.
std::string deviceNameProblem(std::string_view device);

} // namespace orlix::net
