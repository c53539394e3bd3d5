#include "sim/faults.h"

namespace orlix::sim {

namespace {

bool isNth(long count, int n) {
    return n > 0 && count % n == 0;
}

} // namespace

bool FaultInjector::passInput() {
    return !isNth(++m_inputChars, options.dropEveryNthInputChar);
}

bool FaultInjector::rejectLine() {
    return isNth(++m_lines, options.rejectEveryNthLine);
}

std::string FaultInjector::garbageForReply() {
    if (isNth(++m_replies, options.garbageEveryNthReply)) {
        return options.garbage;
    }
    return {};
}

std::string FaultInjector::shapeOutput(std::string_view bytes) {
    if (options.dropEveryNthOutputChar <= 0 && options.nulEveryNthOutputChar <= 0) {
        m_outputChars += static_cast<long>(bytes.size());
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        ++m_outputChars;
        if (isNth(m_outputChars, options.dropEveryNthOutputChar)) {
            continue;
        }
        out += c;
        if (isNth(m_outputChars, options.nulEveryNthOutputChar)) {
            out += '\0';
        }
    }
    return out;
}

} // namespace orlix::sim
