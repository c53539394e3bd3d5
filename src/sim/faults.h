// Line faults that the simulated unit produces on demand: a unit that stops
// answering, rejects lines, or a line that loses characters and picks up
// noise. Counting is deterministic so that a test knows which byte suffers.
#pragma once

#include <string>
#include <string_view>

namespace orlix::sim {

struct FaultOptions {
    // The unit neither reads nor answers (hung firmware, power off).
    bool silent = false;
    // Every Nth command line is answered with '!' instead of being run
    // (0 = never). The resend counts as a new line.
    int rejectEveryNthLine = 0;
    // Every Nth character the unit sends is lost on the line (0 = never).
    int dropEveryNthOutputChar = 0;
    // Every Nth character the tool sends is lost before the unit sees it.
    int dropEveryNthInputChar = 0;
    // A NUL byte follows every Nth character the unit sends (0 = never).
    int nulEveryNthOutputChar = 0;
    // `garbage` goes out between the echo and the data of every Nth reply.
    int garbageEveryNthReply = 0;
    std::string garbage = std::string("\x00\xfe~\x7f\x00%&", 7);
};

// Applies FaultOptions to the traffic and keeps the counters.
class FaultInjector {
public:
    FaultOptions options;

    // One character from the tool: false when the line loses it.
    bool passInput();
    // One completed command line: true when it is to be rejected.
    bool rejectLine();
    // The noise to send before a reply's data ("" for most replies).
    std::string garbageForReply();
    // The unit's bytes as they reach the other end of the line.
    std::string shapeOutput(std::string_view bytes);

private:
    long m_inputChars = 0;
    long m_lines = 0;
    long m_replies = 0;
    long m_outputChars = 0;
};

} // namespace orlix::sim
