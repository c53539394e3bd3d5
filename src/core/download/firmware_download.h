// The firmware download to the unit's boot loader: choosing and checking
// the image, the start command, one record per reply, the progress window,
// and one way to end, whatever ends it.
//
// Theory of operation. The download has no loop or timer of its own; the
// unit's replies drive it, each through the reply dispatcher:
//
//   phase     entered by                       left by
//   Idle      start-up; any end                 the menu item sends bf3 or bs -> Starting;
//                                               a bf3/bs reply with an image prepared -> Sending
//   Starting  bf3 or bs sent for the image     its reply with a prompt -> Sending (first record
//                                               sent); a refusal, no answer, Cancel -> Idle
//   Sending   the first record sent            each record's reply: the next record, stays;
//                                               EOF in the reply to the end record -> Idle, done;
//                                               every failure and Cancel -> Idle, stopped
//
// Every end goes through one routine (fail / the success step): the
// download is marked inactive, the image is closed, the window tells how it
// ended, and a message says where the unit was left and what to do next.
//
// The download owns its own lines on the transmit queue (policyFor): the
// start command may take an erase's time before it counts as lost, and a
// rejected record or start command is written exactly once more per
// rejection, up to RecordRetryLimit. While it runs, nothing else talks to
// the boot loader: allowsCommand, allowsRawBytes and allowsQueueClear refuse
// other lines, typed bytes and bugeye blocks, and say so in the comm log.
//
// What it does not do: parse the unit's replies beyond its own steps, or
// change the link state (the link leaves the mode alone while
// DownloadActive is set).
#pragma once

#include "core/app/timer_control.h"
#include "core/app/views.h"
#include "core/download/download_state.h"
#include "core/download/hex_image.h"
#include "core/link/transmit_queue.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

class FirmwareDownload : public DownloadState {
public:
    // The reply time of a line on which the boot loader may work for long:
    // an erase, or checking the image after its end record.
    static constexpr int kLongReplyMs = 30000;
    // Any other record has half of DownloadKeepAliveMs, which the queue
    // gives it twice once the unit has begun to answer (its echo): so an
    // echoing unit has as long as the keep-alive allows a record (a boot
    // loader may erase a page when the first record for it comes) before
    // the record is written once more.

    enum class StartCommand { Erase, ErasedFlash }; // bf3, bs
    enum class Outcome { None, Done, Stopped };

    struct Deps {
        TimerControl& timers; // tmrKeepAlive
        const Clock& clock;
        Dialogs& dialogs;
        DownloadView& view;
        TransmitQueue& xmit;
        std::function<void(std::string_view)> notice; // one line in the comm log
        std::function<void(bool visible)> showWindow; // the progress window
        std::function<void()> changed;                // the view changed
        std::function<bool()> unitConnected;          // a unit answers on an open port
        // The text of the reply the unit last ended with '!' (optional).
        std::function<std::string_view()> rejectedReply = {};
    };

    explicit FirmwareDownload(Deps deps) : m_deps(std::move(deps)) {}

    // --- starting -------------------------------------------------------------
    // Monitor, "Do&wnload Firmware ...": the image is chosen and checked,
    // then the user picks erase and download (bf3) or download into erased
    // flash (bs); nothing is sent before the image has passed its check.
    void mnuMonitorDownload_Click();
    // Reads and checks an image; when sound it becomes the prepared image.
    HexImageCheck prepare(const std::string& path, const std::string& name);
    // Sends the start command for the prepared image and opens the window.
    // False (with a message) when there is no image or a download runs.
    bool start(StartCommand command);
    bool imagePrepared() const { return m_image.has_value(); }
    const HexImage* image() const { return m_image ? &*m_image : nullptr; }
    // A start command or a record is on its way.
    bool busy() const { return m_phase != Phase::Idle; }
    Outcome outcome() const { return m_outcome; }

    // --- reply steps (from the reply dispatcher) -----------------------------
    void cmd_b(std::string_view rest);
    void cmd_b_erase(std::string_view text);
    void cmd_b_start(std::string_view text);
    void cmd_colon(std::string_view text);
    void cmd_a(std::string_view text);
    // After each reply from the line: an answer to the download's own line
    // that none of its steps took (its echo garbled on the way in or out)
    // counts as a rejection, and the line is written once more.
    void afterReply(std::string_view reply);

    // Cancel (and the window's close button): stops after the unit's reply
    // to the line on the wire; once the download has ended, closes.
    void btnCancel_Click();

    // Ends a running download or start at once (the link was lost, the
    // port went away, the tool went offline); nothing when idle.
    void abort(std::string_view reason);
    // The tool is about to close: while a download runs, the user is asked
    // first, since quitting leaves the unit without a whole firmware.
    bool mayQuit();

    // --- the line -------------------------------------------------------------
    // The queue's policy for a line about to be written: an erase command
    // (typed or the download's own) and the image's end record may take an
    // erase's time, so that the boot loader's long work is not taken for a
    // lost link; the download's own lines are counted and ended by it.
    LinePolicy policyFor(std::string_view line);
    // While a download runs: whether a command line of anyone else may be
    // queued (the address query "a" may); says so in the log when not.
    bool allowsCommand(std::string_view line);
    // Bytes written around the queue (typing bypass, bugeye blocks).
    bool allowsRawBytes(std::string_view what);
    bool allowsQueueClear();

private:
    enum class Phase { Idle, Starting, Sending };
    // Whether the queue still waits for the download's line (an outside
    // end) or the line is settled (its reply came, or the queue dropped it).
    enum class LineState { Outstanding, Settled };

    // Whether a reply to `command` (bf3, bs) may start a download; says
    // in the log why not.
    bool mayStartOn(std::string_view command);
    void beginRecords(StartCommand command);
    void sendRecord();
    void recordStep();
    void showCounts();
    void succeed();
    void fail(std::string_view reason, std::string_view title, LineState line);
    std::string whereTheUnitIsLeft() const;
    // The unit answered the line on the wire with '!' (`reply`, its whole
    // answer), or with a reply that does not echo it: the line is written
    // once more, up to RecordRetryLimit.
    RejectVerdict rejectedByUnit(std::string_view reply);
    RejectVerdict rejected(std::string_view reply);
    void refuseImage(const std::string& name, const HexImageCheck& check);
    void resetView(std::string_view status);
    void touch();
    void refusedOnce(std::string_view what);
    std::int64_t elapsedMs() const;

    Deps m_deps;
    Phase m_phase = Phase::Idle;
    Outcome m_outcome = Outcome::None;
    std::optional<HexImage> m_image;
    StartCommand m_startCommand = StartCommand::Erase;
    std::size_t m_next = 0; // index of the record on the wire
    std::string m_lineOnWire;
    std::uint32_t m_sentChars = 0; // DownloadSentChars
    std::uint32_t m_confirmedRecords = 0;
    std::uint32_t m_confirmedBytes = 0;
    std::int64_t m_startMs = 0; // DownloadStartTime, on the monotonic clock
    bool m_cancelRequested = false;
    bool m_stepTook = false;            // a step took the reply being handled
    std::vector<std::string> m_refused; // said in the log during this download
};

} // namespace orlix
