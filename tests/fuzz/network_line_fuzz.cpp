// Feeds arbitrary bytes from a server to a serial line over the network, as
// a hostile or broken server would send them, split into reads where the
// input says.
//
// Input: one setup byte (bit 0: raw or RFC 2217; the rest: the read size),
// then the server's stream.
//
// Besides the sanitizers, it checks that the data handed on is never longer
// than what came in, that the answers stay within a small multiple of the
// input (no amplification, no growth), that the held data stays bounded,
// and that whatever state the stream left behind, data written afterwards
// reaches the server with its escaping intact.
#include "core/link/serial_line.h"
#include "core/net/network_line.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace orlix;
using namespace orlix::net;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// How a server reads what the client wrote: 0xFF doubled, and outside
// binary mode a CR followed by NUL.
std::string serverReads(std::string_view wire, bool binary) {
    std::string out;
    for (std::size_t i = 0; i < wire.size(); ++i) {
        const auto c = static_cast<unsigned char>(wire[i]);
        out += wire[i];
        if (c == telnet::kIac) {
            require(i + 1 < wire.size() && static_cast<unsigned char>(wire[i + 1]) == telnet::kIac);
            ++i;
        } else if (c == '\r' && !binary && i + 1 < wire.size() && wire[i + 1] == '\0') {
            ++i;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool telnetLine = (bytes[0] & 1) != 0;
    const std::size_t readSize = 1 + (bytes[0] >> 1);
    const std::string_view stream(reinterpret_cast<const char*>(bytes + 1), size - 1);

    NetworkLine line(telnetLine ? NetworkScheme::Rfc2217 : NetworkScheme::Raw,
                     SerialLine::lineSettings());
    std::string toServer = line.connected();
    std::size_t data = 0;
    for (std::size_t at = 0; at < stream.size(); at += readSize) {
        data += line.receive(stream.substr(at, readSize), toServer).size();
    }
    require(data <= stream.size());
    // Offers, the settings and one signature at most, then at most two
    // bytes of answer per byte of request.
    require(toServer.size() <= 512 + 2 * stream.size());

    const std::string payload("da\r\n\xff\r\0x\xff", 9);
    std::string out;
    const bool taken = line.send(payload, out);
    if (!line.ready()) {
        require(taken && out.empty());
        return 0;
    }
    require(taken);
    const TelnetClient* t = line.telnet();
    require(t == nullptr ? out == payload
                         : serverReads(out, t->localEnabled(telnet::kBinary)) == payload);
    return 0;
}
