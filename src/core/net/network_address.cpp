#include "core/net/network_address.h"

#include "core/protocol/text_helpers.h"

#include <algorithm>

namespace orlix::net {

namespace {

constexpr std::string_view kSeparator = "://";
constexpr std::size_t kMaxHostLength = 253;
constexpr std::size_t kMaxLabelLength = 63;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAlnum(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool fail(std::string* why, std::string_view text) {
    if (why) {
        *why = text;
    }
    return false;
}

// A dotted IPv4 address: four numbers 0..255 without leading zeros.
bool validIpv4(std::string_view host) {
    int parts = 0;
    std::size_t at = 0;
    while (true) {
        const std::size_t dot = std::min(host.find('.', at), host.size());
        const std::string_view part = host.substr(at, dot - at);
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0') ||
            !std::all_of(part.begin(), part.end(), isDigit)) {
            return false;
        }
        int value = 0;
        for (const char c : part) {
            value = value * 10 + (c - '0');
        }
        if (value > 255) {
            return false;
        }
        ++parts;
        if (dot == host.size()) {
            break;
        }
        at = dot + 1;
    }
    return parts == 4;
}

bool validHostName(std::string_view host, std::string* why) {
    if (host.size() > kMaxHostLength) {
        return fail(why, "the host name is too long");
    }
    bool allNumeric = true;
    std::size_t at = 0;
    while (true) {
        const std::size_t dot = std::min(host.find('.', at), host.size());
        const std::string_view label = host.substr(at, dot - at);
        if (label.empty() || label.size() > kMaxLabelLength) {
            return fail(why, "the host name has an empty or overlong part");
        }
        if (label.front() == '-' || label.back() == '-' ||
            !std::all_of(label.begin(), label.end(),
                         [](char c) { return isAlnum(c) || c == '-'; })) {
            return fail(why, "the host name may hold only letters, digits, '-' and '.'");
        }
        allNumeric = allNumeric && std::all_of(label.begin(), label.end(), isDigit);
        if (dot == host.size()) {
            break;
        }
        at = dot + 1;
    }
    // All-number names would be taken for an address by the resolver.
    if (allNumeric && !validIpv4(host)) {
        return fail(why, "the IPv4 address is not four numbers from 0 to 255");
    }
    return true;
}

bool validIpv6(std::string_view host) {
    if (host.size() < 2 || host.size() > 45 || host.find(':') == std::string_view::npos) {
        return false;
    }
    return std::all_of(host.begin(), host.end(),
                       [](char c) { return HexDigitValue(c) >= 0 || c == ':' || c == '.'; });
}

std::optional<std::uint16_t> parsePort(std::string_view text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), isDigit)) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

bool isNetworkAddress(std::string_view device) {
    return device.find(kSeparator) != std::string_view::npos;
}

std::optional<NetworkAddress> parseNetworkAddress(std::string_view text, std::string* why) {
    // Blanks around the address, as a settings file may hold them.
    const std::size_t first = text.find_first_not_of(" \t");
    text = first == std::string_view::npos
               ? std::string_view()
               : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const std::size_t sep = text.find(kSeparator);
    if (sep == std::string_view::npos) {
        fail(why, "it does not start with tcp:// or rfc2217://");
        return std::nullopt;
    }
    NetworkAddress address;
    const std::string scheme = LowerAscii(text.substr(0, sep));
    if (scheme == "tcp") {
        address.scheme = NetworkScheme::Raw;
    } else if (scheme == "rfc2217") {
        address.scheme = NetworkScheme::Rfc2217;
    } else {
        fail(why, "only tcp:// and rfc2217:// are known");
        return std::nullopt;
    }
    const std::string_view rest = text.substr(sep + kSeparator.size());
    const std::size_t colon = rest.rfind(':');
    if (rest.empty() || colon == std::string_view::npos || colon + 1 == rest.size()) {
        fail(why, "the port number is missing");
        return std::nullopt;
    }
    std::string_view host = rest.substr(0, colon);
    const std::string_view portText = rest.substr(colon + 1);
    const auto port = parsePort(portText);
    if (!port) {
        fail(why, "the port must be a number from 1 to 65535");
        return std::nullopt;
    }
    if (host.empty()) {
        fail(why, "the host is missing");
        return std::nullopt;
    }
    if (host.front() == '[') {
        if (host.back() != ']' || !validIpv6(host.substr(1, host.size() - 2))) {
            fail(why, "the bracketed IPv6 address is not valid");
            return std::nullopt;
        }
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string_view::npos) {
        fail(why, "an IPv6 address must stand in brackets, as in [::1]");
        return std::nullopt;
    } else if (!validHostName(host, why)) {
        return std::nullopt;
    }
    address.host = std::string(host);
    address.port = *port;
    return address;
}

std::string deviceNameProblem(std::string_view device) {
    if (!isNetworkAddress(device)) {
        return {};
    }
    std::string why;
    if (parseNetworkAddress(device, &why)) {
        return {};
    }
    // The text comes from outside: shown short and without control bytes.
    constexpr std::size_t kShown = 80;
    std::string shown(device.substr(0, kShown));
    std::replace_if(
        shown.begin(), shown.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, '?');
    if (device.size() > kShown) {
        shown += "...";
    }
    return "\"" + shown + "\" is not a network port: " + why +
           ". Write tcp://HOST:PORT or rfc2217://HOST:PORT.";
}

} // namespace orlix::net
