// The download's say over the line: the policy of its own lines on the
// transmit queue, and the guards that keep everything else off the line
// while it runs.
#include "core/download/firmware_download.h"

#include "core/log/visible_text.h"
#include "core/protocol/text_helpers.h"

#include <algorithm>

namespace orlix {

namespace {

// The command of a line: without its line end and blanks, lower case.
std::string commandOf(std::string_view line) {
    while (!line.empty() && IsWhiteSpace(line.back())) {
        line.remove_suffix(1);
    }
    return LowerAscii(SkipWhiteSpace(line));
}

// Commands after which the boot loader works for a while before its prompt.
bool takesAnEraseTime(const std::string& command) {
    return command == "bf1" || command == "bf2" || command == "bf3" || command == "be" ||
           command == "bs";
}

// Enough distinct refusals to name; more are only counted out.
constexpr std::size_t kMaxRefusalsNamed = 32;

} // namespace

LinePolicy FirmwareDownload::policyFor(std::string_view line) {
    LinePolicy policy;
    const bool ours = busy() && line == m_lineOnWire;
    const bool endRecord = ours && DownloadActive && m_next + 1 == m_image->recordCount();
    // The unit may work on these for long, and would do it all again for a
    // second copy: one write, and its time.
    const bool longWork = takesAnEraseTime(commandOf(line)) || endRecord;
    if (longWork) {
        policy.replyTimeoutMs = kLongReplyMs;
        policy.writeAgainWhenLate = false;
    } else if (ours) {
        policy.replyTimeoutMs = DownloadKeepAliveMs / 2;
    }
    if (ours) {
        policy.rejected = [this](int) {
            return rejectedByUnit(m_deps.rejectedReply ? m_deps.rejectedReply()
                                                       : std::string_view());
        };
        policy.lost = [this, longWork] {
            const std::string what = DownloadActive
                                         ? "record " + std::to_string(DownloadRecordCount)
                                         : commandOf(m_lineOnWire);
            fail("No answer from the unit to " + what + (longWork ? "." : ", written twice."),
                 "Download Error", LineState::Settled);
        };
    }
    return policy;
}

void FirmwareDownload::afterReply(std::string_view reply) {
    const bool took = m_stepTook;
    m_stepTook = false;
    if (took || !busy() || !m_deps.xmit.AwaitingPrompt() ||
        m_deps.xmit.LastSentLine() != m_lineOnWire) {
        return;
    }
    m_deps.notice("The unit's answer to " + visibleText(m_lineOnWire) +
                  " does not echo it: written again");
    if (rejected(reply) == RejectVerdict::Resend) {
        m_deps.xmit.SendCommand(m_lineOnWire);
    }
}

void FirmwareDownload::refusedOnce(std::string_view what) {
    if (std::find(m_refused.begin(), m_refused.end(), what) != m_refused.end() ||
        m_refused.size() >= kMaxRefusalsNamed) {
        return;
    }
    m_refused.emplace_back(what);
    m_deps.notice("Not sent during the firmware download: " + std::string(what));
}

bool FirmwareDownload::allowsCommand(std::string_view line) {
    // The address query only reads where the boot loader stands.
    if (!busy() || commandOf(line) == "a") {
        return true;
    }
    refusedOnce(visibleText(line));
    return false;
}

bool FirmwareDownload::allowsRawBytes(std::string_view what) {
    if (!busy()) {
        return true;
    }
    refusedOnce(what);
    return false;
}

bool FirmwareDownload::allowsQueueClear() {
    if (!busy()) {
        return true;
    }
    refusedOnce("the transmit queue stays as it is (Cancel in the download window stops the "
                "download)");
    return false;
}

} // namespace orlix
