#include "core/link/transmit_queue.h"

#include "core/log/visible_text.h"

#include <algorithm>
#include <utility>

namespace orlix {

std::size_t TransmitQueue::queuedLines() const {
    const auto lfs = static_cast<std::size_t>(std::count(m_queue.begin(), m_queue.end(), '\n'));
    // A last line without its LF still counts.
    return (!m_queue.empty() && m_queue.back() != '\n') ? lfs + 1 : lfs;
}

void TransmitQueue::SendCommand(std::string_view text) {
    if (text.empty()) {
        return;
    }
    // A silent unit that nobody notices would otherwise collect a line a
    // second here and get them all at once when it comes back.
    if (queuedLines() >= kMaxQueuedLines) {
        if (!m_fullNoticeGiven) {
            m_fullNoticeGiven = true;
            m_deps.notice("Transmit queue full: commands are dropped until the unit answers");
        }
        return;
    }
    m_queue += text;
    if (text.find('\n') == std::string_view::npos) {
        m_queue += '\n';
    }
    if (!m_awaitingPrompt) {
        KickXmitQueue();
    }
}

void TransmitQueue::KickXmitQueue() {
    const bool resend = m_resendPending || m_resendOnce;
    if (m_awaitingPrompt && !resend) {
        return; // a line is outstanding
    }
    // One write at a time: a kick during the pause would only pick the
    // same outstanding line again.
    if (m_writePending) {
        return;
    }
    std::string line;
    if (resend) {
        line = m_lastSentLine;
        m_resendOnce = false;
    } else {
        if (m_queue.empty()) {
            // Nothing to send; do not mark a line outstanding.
            return;
        }
        const auto lf = m_queue.find('\n');
        if (lf == std::string::npos || lf + 1 >= m_queue.size()) {
            line.swap(m_queue);
        } else {
            line = m_queue.substr(0, lf + 1);
            m_queue.erase(0, lf + 1);
        }
        if (m_queue.empty()) {
            m_fullNoticeGiven = false;
        }
        m_policy = m_deps.policyFor ? m_deps.policyFor(line) : LinePolicy{};
        m_rejections = 0;
        m_overdueOnce = false;
    }
    m_awaitingPrompt = true;
    m_pendingLine = std::move(line);
    m_writePending = true;
    m_deps.gate.hold();
    m_deps.timers.start(TimerId::WritePause, kWritePauseMs);
}

void TransmitQueue::onWritePause() {
    m_deps.timers.stop(TimerId::WritePause);
    if (!m_writePending) {
        return;
    }
    m_writePending = false;
    m_deps.gate.endHold();
    std::string line = std::move(m_pendingLine);
    m_pendingLine.clear();
    if (std::exchange(m_withdrawn, false)) {
        // Nothing went out, as when the port fails: the queue goes on.
        stopWaiting();
    } else if (m_deps.write(line)) {
        m_notSentNoticeGiven = false;
        m_lastSentLine = std::move(line);
        m_heard = false;
        m_extended = false;
        m_deps.timers.start(TimerId::ReplyTimeout, m_policy.replyTimeoutMs);
    } else {
        // Nothing went out, so no prompt will come: free the link so the
        // queue goes on instead of blocking every later command.
        stopWaiting();
        // Once per outage: the attempt's ping every 2 s would otherwise
        // push the reason the port went away out of sight.
        if (!m_notSentNoticeGiven) {
            m_notSentNoticeGiven = true;
            m_deps.notice("Not sent, the port is not open: " + visibleText(line));
        }
    }
    m_deps.timers.start(TimerId::tmrKickXmitQueue, kKickIntervalMs);
    // The held-back events run next, when the event that called this ends.
    m_deps.timers.applyHeld();
}

void TransmitQueue::tmrKickXmitQueue_Timer() {
    m_deps.timers.stop(TimerId::tmrKickXmitQueue);
    if (!m_queue.empty()) {
        KickXmitQueue();
    }
}

void TransmitQueue::replyTimeout_Timer() {
    m_deps.timers.stop(TimerId::ReplyTimeout);
    if (!m_awaitingPrompt || m_writePending) {
        return;
    }
    if (m_heard && !m_extended) {
        // The reply began and stopped: wait once more from here.
        m_extended = true;
        m_deps.timers.start(TimerId::ReplyTimeout, m_policy.replyTimeoutMs);
        return;
    }
    if (!m_overdueOnce && m_policy.writeAgainWhenLate) {
        // A glitch on the line may have eaten the line or its prompt:
        // one more try costs a line, not a reconnect.
        m_overdueOnce = true;
        m_resendOnce = true;
        KickXmitQueue();
        return;
    }
    const std::string line = m_lastSentLine;
    const LinePolicy policy = m_policy;
    m_deps.notice("No answer to " + visibleText(line) + ": line given up");
    ++m_linesGivenUp;
    giveUp();
    if (policy.lost) {
        policy.lost();
    } else if (m_deps.lineLost) {
        m_deps.lineLost(line);
    }
}

void TransmitQueue::stopWaiting() {
    m_awaitingPrompt = false;
    m_resendPending = false;
    m_resendOnce = false;
    m_rejections = 0;
    m_overdueOnce = false;
    m_notItsAnswer = false;
    m_deps.timers.stop(TimerId::ReplyTimeout);
}

void TransmitQueue::giveUp() {
    stopWaiting();
    if (!m_queue.empty()) {
        KickXmitQueue();
    }
}

void TransmitQueue::abandonOutstanding() {
    if (m_awaitingPrompt && !m_writePending) {
        giveUp();
    }
}

bool TransmitQueue::withdraw(std::string_view line) {
    if (line.empty()) {
        return false;
    }
    if (m_writePending && !m_withdrawn && m_pendingLine == line) {
        // The pause runs its course (held events wait for it), then
        // nothing is written.
        m_withdrawn = true;
        return true;
    }
    for (std::size_t at = 0; at < m_queue.size();) {
        const std::size_t lf = m_queue.find('\n', at);
        const std::size_t end = lf == std::string::npos ? m_queue.size() : lf + 1;
        if (std::string_view(m_queue).substr(at, end - at) == line) {
            m_queue.erase(at, end - at);
            return true;
        }
        at = end;
    }
    return false;
}

void TransmitQueue::ClearXmitQueue() {
    if (m_awaitingPrompt) {
        m_deps.beep(250, 250);
    }
    m_queue.clear();
    // A stale resend would make the next write the old line (perhaps "g"
    // or a firmware record) instead of the new ping.
    stopWaiting();
    m_fullNoticeGiven = false;
}

void TransmitQueue::clearQueuedLines() {
    m_queue.clear();
    m_fullNoticeGiven = false;
}

void TransmitQueue::refused() {
    // One notice per run of refusals: a unit that rejects everything would
    // otherwise fill the log with one line per command.
    if (m_refusedInARow++ == 0) {
        m_deps.notice("Rejected " + std::to_string(m_rejections) +
                      " times in a row, line given up: " + visibleText(m_lastSentLine));
    }
    ++m_linesGivenUp;
    giveUp();
    if (m_refusedInARow >= 2 && m_deps.unitRefuses) {
        m_deps.unitRefuses();
    }
}

void TransmitQueue::onPrompt() {
    m_refusedInARow = 0;
    if (m_notItsAnswer) {
        // Nothing of the outstanding line's own answer has come yet.
        m_notItsAnswer = false;
        m_heard = false;
        return;
    }
    stopWaiting();
    if (!m_queue.empty()) {
        KickXmitQueue();
    }
}

void TransmitQueue::onReject() {
    if (m_awaitingPrompt) {
        ++m_rejections;
        m_overdueOnce = false;
        if (m_policy.rejected) {
            // The owner counts and reports; each rejection writes the line
            // exactly once more, so no lasting ResendPending.
            if (m_policy.rejected(m_rejections) == RejectVerdict::Resend) {
                m_resendOnce = true;
                KickXmitQueue();
            } else {
                ++m_linesGivenUp;
                giveUp();
            }
        } else if (m_rejections >= kMaxRejections) {
            refused();
        } else {
            m_resendPending = true;
            KickXmitQueue();
        }
    }
    if (m_queue.empty()) {
        m_deps.timers.start(TimerId::tmrKickXmitQueue, kKickAfterRejectMs);
    }
}

void TransmitQueue::reset() {
    stopWaiting();
}

} // namespace orlix
