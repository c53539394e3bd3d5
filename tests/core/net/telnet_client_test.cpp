// The Telnet client with COM port control, against byte sequences a server
// sends: negotiation, escaping, subnegotiations, split packets and broken
// ones (random hostile streams are the fuzz target's). Also the line that
// holds data until the server is ready.
#include "core/link/serial_line.h"
#include "core/net/network_line.h"
#include "core/net/telnet_client.h"

#include <gtest/gtest.h>

namespace orlix::net {
namespace {

using namespace telnet;

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

std::string cmd(int verb, int option) {
    return bytes({kIac, verb, option});
}

std::string sub(std::initializer_list<int> body) {
    return bytes({kIac, kSb}) + bytes(body) + bytes({kIac, kSe});
}

// The settings the tool asks for: 19200 baud, 8 data bits, no parity,
// 1 stop bit, no flow control, DTR and RTS off, then a purge of both ways.
const std::string kSettings = sub({kComPort, 1, 0, 0, 0x4b, 0}) + sub({kComPort, 2, 8}) +
                              sub({kComPort, 3, 1}) + sub({kComPort, 4, 1}) +
                              sub({kComPort, 5, 1}) + sub({kComPort, 5, 9}) +
                              sub({kComPort, 5, 12}) + sub({kComPort, 12, 3});

struct Peer {
    TelnetClient client{SerialLine::lineSettings()};
    std::string data;
    std::string reply;

    // Feeds the server's bytes; returns what went back.
    std::string feed(std::string_view in) {
        reply.clear();
        client.receive(in, data, reply);
        return reply;
    }
};

// What ser2net sends first, and the answer that makes the line ready.
const std::string kServerHello = cmd(kWill, kSuppressGoAhead) + cmd(kDo, kSuppressGoAhead) +
                                 cmd(kWill, kEcho) + cmd(kDont, kEcho) + cmd(kDo, kBinary) +
                                 cmd(kWill, kBinary) + cmd(kDo, kComPort);

TEST(TelnetClient, OffersBinarySuppressGoAheadAndComPortControl) {
    Peer p;
    EXPECT_EQ(p.client.start(), cmd(kWill, kBinary) + cmd(kDo, kBinary) +
                                    cmd(kWill, kSuppressGoAhead) + cmd(kDo, kSuppressGoAhead) +
                                    cmd(kWill, kComPort));
    EXPECT_FALSE(p.client.comPortAnswered());
    // Our offers crossed the server's: only ECHO needs an answer, then the
    // line settings follow the server's DO COM-PORT-OPTION.
    EXPECT_EQ(p.feed(kServerHello), cmd(kDont, kEcho) + kSettings);
    EXPECT_TRUE(p.client.comPortAccepted());
    EXPECT_TRUE(p.client.localEnabled(kBinary));
    EXPECT_TRUE(p.client.remoteEnabled(kBinary));
    EXPECT_FALSE(p.client.remoteEnabled(kEcho));
    // Said again, nothing changes and nothing is answered: no loops.
    EXPECT_EQ(p.feed(kServerHello.substr(0, 3 * 2) + cmd(kDo, kBinary) + cmd(kDo, kComPort)), "");
}

TEST(TelnetClient, AnswersEachRequestAsItChangesTheOptionState) {
    struct Case {
        const char* name;
        std::string before; // after start() and the server's hello
        std::string request;
        std::string answer;
        bool binaryOut; // our binary transmission afterwards
    };
    const std::vector<Case> cases = {
        {"unknown option asked of us is refused", "", cmd(kDo, 24), cmd(kWont, 24), true},
        {"unknown option offered is refused", "", cmd(kWill, 31), cmd(kDont, 31), true},
        {"refused again when asked again", cmd(kDo, 24), cmd(kDo, 24), cmd(kWont, 24), true},
        {"a refusal of a refused option is not answered", "", cmd(kDont, 24), "", true},
        {"binary withdrawn by the server is acknowledged", "", cmd(kDont, kBinary),
         cmd(kWont, kBinary), false},
        {"server stops sending binary", "", cmd(kWont, kBinary), cmd(kDont, kBinary), true},
        {"binary asked for again after a withdrawal", cmd(kDont, kBinary), cmd(kDo, kBinary),
         cmd(kWill, kBinary), true},
        {"COM port control withdrawn", "", cmd(kDont, kComPort), cmd(kWont, kComPort), true},
        {"settings go once per connection", cmd(kDont, kComPort), cmd(kDo, kComPort),
         cmd(kWill, kComPort), true},
    };
    for (const Case& c : cases) {
        Peer p;
        p.client.start();
        p.feed(kServerHello);
        p.feed(c.before);
        EXPECT_EQ(p.feed(c.request), c.answer) << c.name;
        EXPECT_EQ(p.client.localEnabled(kBinary), c.binaryOut) << c.name;
    }
}

TEST(TelnetClient, ARefusedOrSilentComPortOfferDecidesWhenDataFlows) {
    Peer refused;
    refused.client.start();
    refused.feed("stale" + cmd(kDont, kComPort) + "fresh");
    EXPECT_TRUE(refused.client.comPortAnswered());
    EXPECT_FALSE(refused.client.comPortAccepted());
    EXPECT_EQ(refused.data, "fresh") << "what came before the answer was waiting before the open";

    Peer silent;
    silent.client.start();
    EXPECT_EQ(silent.feed(cmd(kWill, kBinary) + "text"), "");
    EXPECT_FALSE(silent.client.comPortAnswered());
    EXPECT_EQ(silent.data, "");
}

TEST(TelnetClient, EscapesIacAndCarriageReturnBothWays) {
    struct Case {
        const char* name;
        bool binary; // negotiated both ways
        std::string out, outWire;
        std::string inWire, in;
    };
    const std::vector<Case> cases = {
        {"0xFF doubled", true,
         "a\xff"
         "b\xff\xff",
         "a\xff\xff"
         "b\xff\xff\xff\xff",
         "x\xff\xffy\xff\xff\xff\xff", "x\xffy\xff\xff"},
        {"bugeye block", true, std::string("\xff\0", 2), std::string("\xff\xff\0", 3),
         std::string("\xff\xff\0", 3), std::string("\xff\0", 2)},
        {"binary CR alone", true, "a\r", "a\r", std::string("a\r\0", 3), std::string("a\r\0", 3)},
        {"NVT CR alone gets NUL", false, "a\rb\r", std::string("a\r\0b\r\0", 6),
         std::string("a\r\0b\r\n", 6), "a\rb\r\n"},
        {"NVT CR LF stays", false, "da\r\n", "da\r\n", "da\r\n#", "da\r\n#"},
    };
    for (const Case& c : cases) {
        Peer p;
        p.client.start();
        p.feed(c.binary ? kServerHello
                        : cmd(kDont, kBinary) + cmd(kWont, kBinary) + cmd(kDo, kComPort));
        ASSERT_EQ(p.client.localEnabled(kBinary), c.binary) << c.name;
        std::string wire;
        p.client.encode(c.out, wire);
        EXPECT_EQ(wire, c.outWire) << c.name;
        p.data.clear();
        p.feed(c.inWire);
        EXPECT_EQ(p.data, c.in) << c.name;
    }
}

TEST(TelnetClient, AnyPacketSplitGivesTheSameDataAndAnswers) {
    const std::string stream = kServerHello + "ab\xff\xff" + sub({kComPort, 101, 0, 0, 0x4b, 0}) +
                               cmd(kDo, 24) + "c" + sub({kComPort, 100}) + "\r\n#" +
                               sub({kComPort, 107, 0x30}) + "\xff\xff" + bytes({kIac, 241});
    Peer whole;
    whole.client.start();
    const std::string wholeReply = whole.feed(stream);
    // Cut in two at every place, and fed byte by byte.
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        std::vector<std::string_view> pieces{std::string_view(stream).substr(0, cut),
                                             std::string_view(stream).substr(cut)};
        if (cut == stream.size()) {
            pieces.clear();
            for (std::size_t at = 0; at < stream.size(); ++at) {
                pieces.push_back(std::string_view(stream).substr(at, 1));
            }
        }
        Peer p;
        p.client.start();
        std::string replies;
        for (const std::string_view piece : pieces) {
            replies += p.feed(piece);
        }
        ASSERT_EQ(p.data, whole.data) << "cut at " << cut;
        ASSERT_EQ(replies, wholeReply) << "cut at " << cut;
    }
    EXPECT_EQ(whole.data, "ab\xff"
                          "c\r\n#\xff");
    EXPECT_EQ(whole.client.reportedBaudRate(), 19200u);
    EXPECT_EQ(wholeReply, cmd(kDont, kEcho) + kSettings + cmd(kWont, 24) +
                              bytes({kIac, kSb, kComPort, kSignature}) + "Orlix6" +
                              bytes({kIac, kSe}));
}

TEST(TelnetClient, SubnegotiationsAreBoundedAndBrokenOnesEndCleanly) {
    struct Case {
        const char* name;
        std::string stream;
        std::string data;
        std::string reply;
    };
    const std::string endless(TelnetClient::kMaxSubnegotiation * 4, 'x');
    const std::vector<Case> cases = {
        {"an overlong signature request is dropped whole",
         bytes({kIac, kSb, kComPort, 100}) + endless + bytes({kIac, kSe}) + "ok", "ok", ""},
        {"IAC IAC inside is one 0xFF, and the subnegotiation ends",
         sub({kComPort, 101, kIac, kIac, 0, 0, 1}) + "ok", "ok", ""},
        {"a command inside ends it and is obeyed",
         bytes({kIac, kSb, kComPort, 100, kIac, kDo, 24}) + "ok", "ok", cmd(kWont, 24)},
        {"an empty or foreign subnegotiation is ignored",
         sub({}) + sub({24, 1}) + sub({kComPort}) + sub({kComPort, 5, 1}) + "ok", "ok", ""},
        {"a stray SE and other commands carry nothing",
         bytes({kIac, kSe, kIac, 241, kIac, 242, kIac, 249, kIac, 200}) + "ok", "ok", ""},
    };
    for (const Case& c : cases) {
        Peer p;
        p.client.start();
        p.feed(kServerHello);
        p.data.clear();
        EXPECT_EQ(p.feed(c.stream), c.reply) << c.name;
        EXPECT_EQ(p.data, c.data) << c.name;
    }
}

TEST(NetworkLine, HoldsDataUntilTheServerAnswersThenSendsItAfterTheSettings) {
    NetworkLine line(NetworkScheme::Rfc2217, SerialLine::lineSettings());
    std::string out;
    EXPECT_TRUE(line.send("p\r\n", out));
    EXPECT_EQ(out, "") << "not connected yet";
    out = line.connected();
    EXPECT_EQ(out.size(), 15u) << "only the offers";
    EXPECT_FALSE(line.ready());
    EXPECT_TRUE(line.send("\xff", out));
    out.clear();
    EXPECT_EQ(line.receive(kServerHello, out), "");
    EXPECT_TRUE(line.ready());
    EXPECT_EQ(out, cmd(kDont, kEcho) + kSettings + "p\r\n\xff\xff");
    out.clear();
    EXPECT_TRUE(line.send("da\r\n", out));
    EXPECT_EQ(out, "da\r\n");
}

TEST(NetworkLine, RawPassesBytesUnchangedAndRefusesWhatItCannotHold) {
    NetworkLine line(NetworkScheme::Raw, SerialLine::lineSettings());
    std::string out;
    EXPECT_TRUE(line.send(std::string(NetworkLine::kMaxHeld - 1, 'a'), out));
    EXPECT_FALSE(line.send("bc", out)) << "past the hold";
    EXPECT_TRUE(line.send("b", out));
    EXPECT_EQ(line.connected(), std::string(NetworkLine::kMaxHeld - 1, 'a') + "b");
    EXPECT_TRUE(line.ready());
    const std::string any = bytes({0, 255, 13, 10, 250, 240});
    EXPECT_EQ(line.receive(any, out), any);
    out.clear();
    EXPECT_TRUE(line.send(any, out));
    EXPECT_EQ(out, any);
}

} // namespace
} // namespace orlix::net
