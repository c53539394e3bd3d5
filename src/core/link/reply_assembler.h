// Turns the unit's character stream into complete replies.
//
// Characters are collected up to a prompt: '#' or '$' ends a reply, which
// is handed to the dispatcher; '!' ends a reply that is not dispatched
// (only kept as rejectedText) and asks the transmit queue to send the
// outstanding line again. LF is dropped and
// every CR is kept as CR LF, except the CR that directly follows a prompt.
// NUL bytes are dropped here because the port layer cannot discard them.
// Every character is also echoed to the comm log while echo is enabled.
//
// Text without a prompt is dropped when the next line is written, so that
// what a glitch cut off never runs into the next reply.
// A line that never sends a prompt cannot grow the buffer without bound:
// past kMaxReplyLength the collected text is dropped, with one notice.
#pragma once

#include "core/app/timer_control.h"
#include "core/link/link_flags.h"
#include "core/link/transmit_queue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orlix {

class ReplyAssembler {
public:
    // Far above the longest reply a unit sends (a few hundred characters).
    static constexpr std::size_t kMaxReplyLength = 16 * 1024;
    static constexpr int kKeepAliveAfterPromptMs = 5000;
    static constexpr int kKeepAliveAfterRejectMs = 2000;

    struct Deps {
        const LinkFlags& link;
        TimerControl& timers;
        TransmitQueue& xmit;
        const EventGate& gate;
        std::function<void(const std::string&)> dispatch;
        // Echo to the comm log; called only while CommLogWindowEnabled.
        std::function<void(char)> logRxChar;
        std::function<void()> logRxLineEnd;
        std::function<void(std::string_view)> notice;
    };

    explicit ReplyAssembler(Deps deps) : m_deps(std::move(deps)) {}

    // Walks `bytes` in order. Returns how many were taken: fewer than all
    // when a prompt made the transmit queue begin a write pause; the caller
    // holds the rest back until the write is done.
    std::size_t receive(std::string_view bytes);

    const std::string& RxBuffer() const { return m_buffer; }
    // The text of the last reply that ended in '!', the '!' included: its
    // line's owner may want to know what the unit said.
    const std::string& rejectedText() const { return m_rejected; }
    // A line is about to be written: text collected since the last prompt
    // (a reply cut off by a glitch, noise) is no part of that line's reply.
    void dropUnfinished() { m_buffer.clear(); }

private:
    void onPrompt();
    void onReject();

    Deps m_deps;
    std::string m_buffer;
    std::string m_rejected;
    std::int16_t m_afterPrompt = 0;
    bool m_overflowNoticeGiven = false;
};

} // namespace orlix
