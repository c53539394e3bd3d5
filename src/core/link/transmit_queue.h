// The stop-and-wait transmit queue: every command line leaves through
// SendCommand, one line is on the wire at a time, and the next is written
// only when the unit's prompt for the previous one has come.
//
// States (AwaitingPrompt, ResendPending):
//
//   state      AP  RP   left by
//   Idle        0   -   SendCommand or a kick tick with lines queued: write one -> Waiting
//   Waiting     1   0   '#'/'$': -> Idle, and at once the next line if any
//                       '!': write LastSentLine again -> Resending
//                       no prompt in time: written once more; still none: given up -> Idle
//                       ClearXmitQueue: -> Idle, queue empty
//   Resending   1   1   '#'/'$': -> Idle (next line if any); ClearXmitQueue: -> Idle
//                       the kMaxRejections-th '!' in a row: given up -> Idle
//
// Each write is preceded by a 100 ms pause (WritePause) during which other
// events are held back (EventGate), and re-arms tmrKickXmitQueue (2000 ms).
//
// Beyond the plain design: a write that fails does not leave the queue
// blocked (and is told once until a write goes out again); the queue holds
// at most kMaxQueuedLines lines; ClearXmitQueue also drops a pending resend
// so a reconnect starts with the new ping; a sender that has ended takes
// back its line if it is not yet written (withdraw).
// No line can hold the queue for ever: a line whose prompt does not come
// within its reply time is written once more and then given up (a write
// whose reply began and stopped gets the reply time once more first, so
// that the second write does not go out while the unit is still quiet),
// and a line the unit rejects kMaxRejections times in a row is given up,
// each with a notice (said once until a prompt comes; a second such line in
// a row means the unit takes nothing, which the owner of the queue judges).
// The owner of a line (the firmware download for its records) may set its
// own reply time and decide on each rejection itself (LinePolicy).
#pragma once

#include "core/app/event_gate.h"
#include "core/app/timer_control.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orlix {

enum class RejectVerdict {
    Resend, // write the line once more now
    GiveUp, // drop it; the owner says why
};

// How one line is treated beyond plain stop-and-wait.
struct LinePolicy {
    // How long its prompt may take before the line counts as lost.
    int replyTimeoutMs = 3000;
    // Each '!' for the line, with the count of rejections in a row; empty:
    // the queue's own rule (resend, give up after kMaxRejections).
    std::function<RejectVerdict(int rejections)> rejected;
    // No prompt after the line was written twice (once, without
    // writeAgainWhenLate): it is given up. Empty: the queue's Deps::lineLost.
    std::function<void()> lost;
    // Whether a line whose prompt is late is written once more; not for a
    // line the unit would act on twice at length (an erase).
    bool writeAgainWhenLate = true;
};

class TransmitQueue {
public:
    static constexpr int kWritePauseMs = 100;
    static constexpr int kKickIntervalMs = 2000;
    static constexpr int kKickAfterRejectMs = 1000;
    static constexpr std::size_t kMaxQueuedLines = 256;
    static constexpr int kMaxRejections = 5;

    struct Deps {
        TimerControl& timers;
        EventGate& gate;
        std::function<bool(std::string_view)> write; // false: not sent
        std::function<void(int hz, int ms)> beep;
        std::function<void(std::string_view)> notice; // one line in the comm log
        // The policy of a line about to be written for the first time;
        // empty: the defaults.
        std::function<LinePolicy(std::string_view line)> policyFor = {};
        // A line was given up for want of a prompt (after the notice).
        std::function<void(std::string_view line)> lineLost = {};
        // A second line in a row was given up for rejections, with no
        // prompt between: the unit takes no line at all.
        std::function<void()> unitRefuses = {};
    };

    explicit TransmitQueue(Deps deps) : m_deps(std::move(deps)) {}

    // Queue one command line ("da\r\n") and send it at once if the link is idle.
    void SendCommand(std::string_view text);
    // Write the next line (or LastSentLine again) if the link is free to send.
    void KickXmitQueue();
    void tmrKickXmitQueue_Timer();
    // Drop everything queued and outstanding (connection retry).
    void ClearXmitQueue();
    // The "Clear Xmit Queue" button: empties XmitQueue only.
    void clearQueuedLines();
    // Stops waiting for the outstanding line's prompt, without a beep or a
    // notice (its sender has ended); the lines queued behind it go on.
    void abandonOutstanding();
    // Takes back a line that is queued or waiting for its write, not yet
    // written (its sender has ended): the first such copy of exactly
    // `line`. False when no copy waits.
    bool withdraw(std::string_view line);

    // Reception's queue step at a prompt: '#' or '$', and '!'.
    void onPrompt();
    // Called while a reply is handled: its owner tells by the echo that it
    // answers an earlier line (a late second answer to a line written
    // twice), so the outstanding line keeps waiting for its own.
    void notItsAnswer() { m_notItsAnswer = m_awaitingPrompt; }
    void onReject();

    // The write pause is over: write the chosen line. The caller then
    // replays the events held back during the pause.
    void onWritePause();
    // ReplyTimeout fired: the outstanding line's prompt is overdue.
    void replyTimeout_Timer();
    // Reply text (not a prompt) arrived: the outstanding line is being
    // answered, so a reply that stops half-way gets one more reply time
    // before the line counts as lost (the unit may be quiet for that long).
    void onReplyText() { m_heard = true; }

    // Forget every flag (start-up).
    void reset();

    const std::string& XmitQueue() const { return m_queue; }
    const std::string& LastSentLine() const { return m_lastSentLine; }
    bool AwaitingPrompt() const { return m_awaitingPrompt; }
    bool ResendPending() const { return m_resendPending; }
    std::size_t queuedLines() const;
    // Lines given up so far for want of a prompt or after rejections (not
    // those abandoned by their sender), so a caller can tell a complete
    // exchange from one with gaps.
    std::size_t linesGivenUp() const { return m_linesGivenUp; }

private:
    // The outstanding line is dropped; the queue goes on with the next.
    void giveUp();
    // Rejected kMaxRejections times in a row: given up.
    void refused();
    void stopWaiting();

    Deps m_deps;
    LinePolicy m_policy;
    int m_rejections = 0;
    // Lines given up for rejections since the last prompt.
    int m_refusedInARow = 0;
    bool m_overdueOnce = false;
    // Reply text came for the current write; its reply time was extended.
    bool m_heard = false;
    bool m_extended = false;
    // Write LastSentLine once more at the next kick (an owner's resend or a
    // late prompt), without the lasting ResendPending of a plain '!'.
    bool m_resendOnce = false;
    std::string m_queue;
    std::string m_lastSentLine;
    std::string m_pendingLine;
    bool m_awaitingPrompt = false;
    bool m_resendPending = false;
    bool m_writePending = false;
    bool m_fullNoticeGiven = false;
    bool m_notItsAnswer = false;
    bool m_withdrawn = false;          // the pending write is taken back
    bool m_notSentNoticeGiven = false; // until a write goes out again
    std::size_t m_linesGivenUp = 0;
};

} // namespace orlix
