#include "core/download/firmware_download.h"

#include "core/download/download_progress.h"
#include "core/protocol/reply_protocol.h"
#include "core/protocol/text_helpers.h"

namespace orlix {

namespace {

constexpr std::string_view kTitle = "Firmware Download";
constexpr std::string_view kErrorTitle = "Download Error";
constexpr std::string_view kFormatErrorTitle = "File Format Error";
constexpr std::string_view kEraseFailedTitle = "Flash Block Erase Failed";
constexpr std::string_view kFilter = "Hex Images (*.hex)|*.hex|All Files (*.*)|*.*";
constexpr std::string_view kEraseButton = "Erase and download";
constexpr std::string_view kErasedFlashButton = "Download into erased flash";
constexpr std::string_view kCancelButton = "Cancel";
constexpr std::string_view kBadBs = "Bad response to bs command";
constexpr std::string_view kBadBf3 = "Bad response to bf3 erase command";
constexpr std::string_view kCancelled = "Download cancelled.";
constexpr std::string_view kBusy =
    "A firmware download is running. Wait for it to end, or press Cancel in its window.";
constexpr std::string_view kHowToRetry =
    "To retry: once the unit answers in its boot loader (Monitor, Go Online), choose Monitor, "
    "Download Firmware ... and Erase and download.";

constexpr std::string_view kCrLf = "\r\n";

bool endsWithPrompt(std::string_view text) {
    return !text.empty() && (text.back() == '#' || text.back() == '$');
}

std::string firstLine(std::string_view text) {
    return std::string(CutAtLineEnd(text));
}

std::string quoted(std::string_view name) {
    return "'" + std::string(name) + "'";
}

// Whether a record reply (the text after its ':') echoes `record`; hex
// digits in either case.
bool echoes(std::string_view text, std::string_view record) {
    const std::string_view digits = DropFront(record, 1);
    if (text.size() < digits.size()) {
        return false;
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (UpperAscii(text[i]) != UpperAscii(digits[i])) {
            return false;
        }
    }
    return text.size() == digits.size() || IsWhiteSpace(text[digits.size()]) ||
           text[digits.size()] == '#' || text[digits.size()] == '$';
}

// What a reply step is given: the text after the echo's first letter.
std::string_view afterLetter(std::string_view reply) {
    return SkipWhiteSpace(DropFront(SkipWhiteSpace(reply), 1));
}

std::string capitalised(std::string text) {
    if (!text.empty()) {
        text[0] = UpperAscii(text[0]);
    }
    return text;
}

std::string commandText(FirmwareDownload::StartCommand command) {
    return command == FirmwareDownload::StartCommand::Erase ? "bf3" : "bs";
}

} // namespace

// --- starting -------------------------------------------------------------------

void FirmwareDownload::mnuMonitorDownload_Click() {
    if (busy()) {
        m_deps.dialogs.message(kBusy, kTitle);
        return;
    }
    FileDialogRequest request;
    request.filter = std::string(kFilter);
    request.mustExist = true;
    const auto choice = m_deps.dialogs.chooseOpenFile(request);
    if (!choice) {
        return;
    }
    const HexImageCheck check = prepare(choice->path, choice->name);
    if (!check.ok) {
        refuseImage(choice->name, check);
        return;
    }
    const HexImage& image = *m_image;
    const std::string size = std::to_string(image.recordCount()) + " records, " +
                             std::to_string(image.dataBytes) + " data bytes";
    if (!m_deps.unitConnected()) {
        m_deps.dialogs.message(
            quoted(image.name) + " is a sound image: " + size + "." + std::string(kCrLf) +
                "No unit answers on the serial port, so nothing was sent. Connect to the unit in "
                "its boot loader, then choose Download Firmware again.",
            kTitle);
        return;
    }
    const int answer = m_deps.dialogs.choose(
        "Download " + quoted(image.name) + " (" + size + ") to the unit?" + std::string(kCrLf) +
            std::string(kCrLf) + std::string(kEraseButton) +
            ": erases the flash (bf3, up to 30 s), then writes the image." + std::string(kCrLf) +
            std::string(kErasedFlashButton) + ": writes the image into flash erased before (bs).",
        {std::string(kEraseButton), std::string(kErasedFlashButton), std::string(kCancelButton)},
        kTitle);
    if (answer == 0) {
        start(StartCommand::Erase);
    } else if (answer == 1) {
        start(StartCommand::ErasedFlash);
    } else {
        m_deps.notice("Image " + quoted(image.name) +
                      " is prepared: type bf3 or bs in this log to start it, or choose Download "
                      "Firmware again.");
    }
}

void FirmwareDownload::refuseImage(const std::string& name, const HexImageCheck& check) {
    const std::string crLf(kCrLf);
    if (check.readError) {
        m_deps.dialogs.beep(250, 250);
        m_deps.dialogs.message("Error Reading " + quoted(name) + ". " + crLf +
                               "Please try a different file, or something." + crLf +
                               capitalised(check.reason) + ".");
        return;
    }
    std::string text = "Bad record format in " + quoted(name) + crLf;
    if (check.lineNumber != 0 && !check.lineStart.starts_with(':')) {
        text += "First record start " + quoted(check.lineStart) + crLf +
                "Should start with ':NNNNNNN'" + crLf + "Giving up." + crLf + "Line " +
                std::to_string(check.lineNumber) + " of the file; nothing was sent to the unit.";
    } else {
        text += capitalised(check.describe()) + "." + crLf + "Giving up." + crLf +
                "Nothing was sent to the unit.";
    }
    m_deps.dialogs.message(text, kFormatErrorTitle);
}

HexImageCheck FirmwareDownload::prepare(const std::string& path, const std::string& name) {
    if (busy()) {
        HexImageCheck refused;
        refused.reason = "a download is running";
        return refused;
    }
    HexImage image;
    image.name = name;
    const HexImageCheck check = loadHexImage(path, image);
    if (check.ok) {
        m_image = std::move(image);
    } else {
        m_image.reset();
    }
    return check;
}

bool FirmwareDownload::start(StartCommand command) {
    if (busy()) {
        m_deps.dialogs.message(kBusy, kTitle);
        return false;
    }
    if (!m_image) {
        m_deps.dialogs.message("No firmware image is prepared: choose one with Monitor, Download "
                               "Firmware ...",
                               kTitle);
        return false;
    }
    if (!m_deps.unitConnected()) {
        m_deps.dialogs.message("No unit answers on the serial port, so nothing was sent.", kTitle);
        return false;
    }
    m_phase = Phase::Starting;
    m_startCommand = command;
    DownloadRecordCount = 0;
    RecordRetries = 0;
    resetView(command == StartCommand::Erase ? "Erasing the flash (bf3, up to 30 s) ..."
                                             : "Waiting for the boot loader's go-ahead (bs) ...");
    m_deps.showWindow(true);
    m_lineOnWire = commandText(command) + std::string(kCrLf);
    m_deps.notice("Firmware download of " + quoted(m_image->name) + ": " + commandText(command) +
                  " sent");
    m_deps.xmit.SendCommand(m_lineOnWire);
    return true;
}

void FirmwareDownload::resetView(std::string_view status) {
    DownloadView& v = m_deps.view;
    v.caption = std::string(kTitle);
    v.Gauge1 = 0;
    v.lblTimeRemaining.clear();
    v.RetryLabel = "Retries:";
    v.AddressBox.clear();
    v.lblImage = "Image: " + m_image->name;
    v.lblStatus = std::string(status);
    v.btnCancel = "Cancel";
    v.btnCancelEnabled = true;
    m_cancelRequested = false;
    m_outcome = Outcome::None;
    m_refused.clear();
    m_confirmedRecords = 0;
    m_confirmedBytes = 0;
    m_sentChars = 0;
    m_startMs = m_deps.clock.nowMs();
    showCounts();
}

// --- reply steps ---------------------------------------------------------------

void FirmwareDownload::cmd_b(std::string_view rest) {
    const char letter = FirstUpper(rest);
    if (letter == 'F') {
        if (FirstUpper(SkipWhiteSpace(DropFront(rest, 1))) == '3') {
            cmd_b_erase(rest);
        }
    } else if (letter == 'S') {
        cmd_b_start(rest);
    }
    // 'E' (be), bf1, bf2 and every other b reply change nothing.
}

bool FirmwareDownload::mayStartOn(std::string_view command) {
    m_stepTook = m_phase == Phase::Starting;
    if (m_phase == Phase::Sending) {
        m_deps.notice(std::string(command) + " answered while a download runs: ignored");
        return false;
    }
    if (!m_image) {
        m_deps.notice(std::string(command) +
                      " answered; no firmware image is prepared, so no download starts. "
                      "Choose one with Monitor, Download Firmware ...");
        return false;
    }
    return true;
}

void FirmwareDownload::cmd_b_erase(std::string_view text) {
    if (!mayStartOn("bf3")) {
        return;
    }
    if (!endsWithPrompt(text)) {
        m_deps.dialogs.beep(250, 250);
        fail(kBadBf3, kAppTitle, LineState::Settled);
        return;
    }
    if (m_cancelRequested) {
        fail(kCancelled, kTitle, LineState::Settled);
        return;
    }
    beginRecords(StartCommand::Erase);
}

void FirmwareDownload::cmd_b_start(std::string_view text) {
    if (!mayStartOn("bs")) {
        return;
    }
    if (Contains(text, "#")) {
        if (m_cancelRequested) {
            fail(kCancelled, kTitle, LineState::Settled);
            return;
        }
        beginRecords(StartCommand::ErasedFlash);
        return;
    }
    if (!text.empty() && text.back() == '$') {
        m_deps.dialogs.beep(250, 250);
        if (m_phase == Phase::Starting) {
            fail(kBadBs, kAppTitle, LineState::Settled);
        } else {
            m_deps.dialogs.message(kBadBs);
        }
    }
}

void FirmwareDownload::beginRecords(StartCommand command) {
    if (m_phase == Phase::Idle) {
        // Typed by hand: the window opens with the reply.
        resetView("");
    }
    m_startCommand = command;
    m_phase = Phase::Sending;
    DownloadRecordCount = 1;
    RecordRetries = 0;
    m_sentChars = 0;
    m_next = 0;
    m_deps.view.RetryLabel = "Retries:";
    m_deps.view.lblStatus = "Sending records ...";
    m_deps.showWindow(true);
    // bs leaves the keep-alive as the prompt set it; the first record's
    // reply sets it.
    if (command == StartCommand::Erase) {
        m_deps.timers.start(TimerId::tmrKeepAlive, DownloadKeepAliveMs);
    }
    DownloadActive = true;
    sendRecord();
    m_startMs = m_deps.clock.nowMs();
    showCounts();
}

void FirmwareDownload::sendRecord() {
    m_lineOnWire = m_image->records[m_next].text + std::string(kCrLf);
    m_deps.xmit.SendCommand(m_lineOnWire);
}

void FirmwareDownload::cmd_colon(std::string_view text) {
    if (m_phase != Phase::Sending) {
        return; // a record reply means something only while a download runs
    }
    if (!echoes(text, m_image->records[m_next].text)) {
        if (m_next > 0 && echoes(text, m_image->records[m_next - 1].text)) {
            // The previous record was written twice (no answer in time) and
            // both copies were answered: this is the second answer.
            m_stepTook = true;
            m_deps.xmit.notItsAnswer();
            m_deps.notice("A second answer to record " + std::to_string(DownloadRecordCount - 1) +
                          ": ignored");
        }
        return; // a damaged echo: afterReply writes the record again
    }
    m_stepTook = true;
    const bool lastRecord = m_next + 1 >= m_image->recordCount();
    if (Contains(text, "EOF")) {
        if (!endsWithPrompt(text)) {
            fail("EOF error, result neither fish nor fowl." + std::string(kCrLf) + "Result was '" +
                     std::string(text) + "'" + std::string(kCrLf) +
                     "Try again, check connection & power.",
                 kErrorTitle, LineState::Settled);
        } else if (!lastRecord) {
            fail("The unit reported EOF in its reply to record " +
                     std::to_string(DownloadRecordCount) +
                     ", before the image's end-of-file record: the image in its flash is "
                     "incomplete.",
                 kErrorTitle, LineState::Settled);
        } else {
            ++m_confirmedRecords;
            succeed();
        }
        return;
    }
    if (!endsWithPrompt(text)) {
        m_deps.dialogs.beep(250, 250);
        m_deps.dialogs.beep(125, 250);
        m_deps.dialogs.beep(250, 125);
        m_deps.dialogs.beep(125, 250);
        fail("Record was unrecognized type, quitting." + std::string(kCrLf) + "Record = '" +
                 std::string(text) + "'",
             kErrorTitle, LineState::Settled);
        return;
    }
    recordStep();
}

void FirmwareDownload::recordStep() {
    ++m_confirmedRecords;
    m_confirmedBytes += m_image->records[m_next].dataBytes;
    if (m_cancelRequested) {
        fail(kCancelled, kTitle, LineState::Settled);
        return;
    }
    if (m_next + 1 >= m_image->recordCount()) {
        fail("The unit answered the image's end-of-file record without EOF.", kErrorTitle,
             LineState::Settled);
        return;
    }
    RecordRetries = 0;
    ++m_next;
    m_deps.timers.start(TimerId::tmrKeepAlive, DownloadKeepAliveMs);
    sendRecord();

    // The estimate counts the characters sent before this record.
    const HexImage& image = *m_image;
    const std::int64_t elapsed = elapsedMs() / 1000;
    const std::int64_t remaining = remainingSeconds(elapsed, m_sentChars, image.totalChars);
    m_sentChars += static_cast<std::uint32_t>(image.records[m_next].text.size());
    m_deps.view.Gauge1 = percentDone(m_sentChars, image.totalChars);
    m_deps.view.lblTimeRemaining = timeRemainingCaption(remaining);
    showCounts();
    ++DownloadRecordCount;
}

void FirmwareDownload::cmd_a(std::string_view text) {
    if (!DownloadActive) {
        return;
    }
    if (auto address = HexValueAfter(text, "Addr = 0x")) {
        m_deps.view.AddressBox = *address;
        touch();
    }
}

// --- the window ----------------------------------------------------------------

std::int64_t FirmwareDownload::elapsedMs() const {
    return m_deps.clock.nowMs() - m_startMs;
}

void FirmwareDownload::showCounts() {
    DownloadView& v = m_deps.view;
    const std::size_t records = m_image ? m_image->recordCount() : 0;
    const std::uint32_t bytes = m_image ? m_image->dataBytes : 0;
    v.lblRecords =
        "Records: " + std::to_string(m_confirmedRecords) + " of " + std::to_string(records);
    v.lblBytes = "Bytes: " + std::to_string(m_confirmedBytes) + " of " + std::to_string(bytes);
    const std::int64_t ms = elapsedMs();
    v.lblElapsed = "Elapsed: " + minutesAndSeconds(ms / 1000);
    if (ms > 0 && m_confirmedRecords > 0) {
        const double seconds = static_cast<double>(ms) / 1000.0;
        v.lblRate = "Rate: " + oneDecimal(m_confirmedRecords / seconds) + " records/s, " +
                    oneDecimal(m_confirmedBytes / seconds) + " bytes/s";
    } else {
        v.lblRate = "Rate: -";
    }
    touch();
}

void FirmwareDownload::touch() {
    m_deps.changed();
}

void FirmwareDownload::btnCancel_Click() {
    if (!busy()) {
        m_deps.showWindow(false);
        return;
    }
    if (m_cancelRequested) {
        return;
    }
    m_cancelRequested = true;
    m_deps.view.lblStatus =
        "Stopping after the unit's reply to " +
        (m_phase == Phase::Sending ? "record " + std::to_string(DownloadRecordCount)
                                   : commandText(m_startCommand)) +
        " ...";
    m_deps.view.btnCancelEnabled = false;
    touch();
}

// --- ending ----------------------------------------------------------------------

void FirmwareDownload::succeed() {
    const HexImage& image = *m_image;
    m_confirmedBytes = image.dataBytes;
    DownloadActive = false;
    m_phase = Phase::Idle;
    m_cancelRequested = false;
    m_deps.dialogs.beep(250, 250);
    m_deps.dialogs.beep(500, 250);
    m_deps.dialogs.beep(1000, 250);
    const std::string summary = std::to_string(image.recordCount()) + " records, " +
                                std::to_string(image.dataBytes) + " bytes in " +
                                minutesAndSeconds(elapsedMs() / 1000);
    DownloadView& v = m_deps.view;
    v.Gauge1 = 100;
    v.lblTimeRemaining = timeRemainingCaption(0);
    v.lblStatus = "Done: " + quoted(image.name) + " is in the unit's flash.";
    v.btnCancel = "Close";
    v.btnCancelEnabled = true;
    showCounts();
    m_image.reset();
    m_outcome = Outcome::Done;
    m_deps.notice("Firmware download complete: " + summary);
    if (m_deps.dialogs.askYesNo("Download complete: " + summary + "." + std::string(kCrLf) +
                                    "Start the new firmware now (g)?",
                                kTitle)) {
        m_deps.xmit.SendCommand("g\r\n");
    }
}

void FirmwareDownload::abort(std::string_view reason) {
    fail(reason, kErrorTitle, LineState::Outstanding);
}

bool FirmwareDownload::mayQuit() {
    if (!busy()) {
        return true;
    }
    const std::string at = DownloadActive ? "record " + std::to_string(DownloadRecordCount) +
                                                " of " + std::to_string(m_image->recordCount())
                                          : commandText(m_startCommand);
    if (!m_deps.dialogs.askYesNo("A firmware download is running (" + at +
                                     "). Closing the tool now stops it and leaves the unit in "
                                     "its boot loader without a whole firmware." +
                                     std::string(kCrLf) + "Close anyway?",
                                 kTitle)) {
        return false;
    }
    abort("The tool was closed during the download.");
    return true;
}

std::string FirmwareDownload::whereTheUnitIsLeft() const {
    const std::string name = quoted(m_image->name);
    std::string where;
    if (m_phase == Phase::Sending) {
        where = "The download stopped at record " + std::to_string(DownloadRecordCount) + " of " +
                std::to_string(m_image->recordCount()) +
                "; the unit is most likely in its boot loader. Its flash holds part of " + name +
                ": it cannot start its firmware until a download completes.";
    } else if (m_startCommand == StartCommand::Erase) {
        where = "No record of " + name +
                " was sent. The unit is most likely in its boot loader; if the erase went "
                "ahead, its flash is empty and it cannot start its firmware until a download "
                "completes.";
    } else {
        where = "No record of " + name + " was sent; the unit's flash is as it was before bs.";
    }
    return where + std::string(kCrLf) + std::string(kHowToRetry);
}

void FirmwareDownload::fail(std::string_view reason, std::string_view title, LineState line) {
    if (!busy()) {
        return;
    }
    const std::string where = whereTheUnitIsLeft();
    if (line == LineState::Outstanding && m_deps.xmit.AwaitingPrompt() &&
        m_deps.xmit.LastSentLine() == m_lineOnWire) {
        m_deps.xmit.abandonOutstanding();
    }
    // A record (or bf3) still waiting behind another line must not go out
    // after the user has been told the download stopped.
    m_deps.xmit.withdraw(m_lineOnWire);
    DownloadActive = false;
    m_phase = Phase::Idle;
    m_cancelRequested = false;
    m_image.reset();
    m_outcome = Outcome::Stopped;
    DownloadView& v = m_deps.view;
    v.lblStatus = "Stopped: " + firstLine(reason);
    v.btnCancel = "Close";
    v.btnCancelEnabled = true;
    touch();
    m_deps.notice("Firmware download stopped: " + firstLine(reason) + " " + firstLine(where));
    m_deps.dialogs.message(std::string(reason) + std::string(kCrLf) + std::string(kCrLf) + where,
                           title);
}

RejectVerdict FirmwareDownload::rejectedByUnit(std::string_view reply) {
    const std::string_view text = afterLetter(reply);
    if (m_phase != Phase::Sending || m_cancelRequested || RoutingLetter(reply) != ':' ||
        !Contains(text, "EOF")) {
        return rejected(reply);
    }
    // The unit took the end record but its check of the flash failed;
    // writing the record again would only check again.
    m_deps.dialogs.beep(250, 250);
    m_deps.dialogs.beep(125, 250);
    m_deps.dialogs.beep(125, 250);
    fail("Failed checksum after booting flash." + std::string(kCrLf) + "Result was '" +
             std::string(text) + "'" + std::string(kCrLf) +
             "Try again or check Flash Chip, Pin 1 = +12V.",
         kErrorTitle, LineState::Settled);
    return RejectVerdict::GiveUp;
}

RejectVerdict FirmwareDownload::rejected(std::string_view reply) {
    if (!busy()) {
        return RejectVerdict::GiveUp;
    }
    const std::string crLf(kCrLf);
    if (m_cancelRequested) {
        // The answer to the line on the wire has come; Cancel ends it here.
        fail(kCancelled, kTitle, LineState::Settled);
        return RejectVerdict::GiveUp;
    }
    const std::string_view text = afterLetter(reply);
    m_deps.dialogs.beep(250, 250);
    m_deps.dialogs.beep(125, 250);
    ++RecordRetries;
    m_deps.view.RetryLabel = "Retries: " + std::to_string(RecordRetries);
    touch();
    m_deps.timers.start(TimerId::tmrKeepAlive, DownloadKeepAliveMs);
    if (RecordRetries <= RecordRetryLimit) {
        return RejectVerdict::Resend;
    }
    if (m_phase == Phase::Starting) {
        fail("Retry Limit exceeded, quitting." + crLf + "Message was '" + std::string(text) + "'",
             m_startCommand == StartCommand::Erase ? kEraseFailedTitle : kAppTitle,
             LineState::Settled);
    } else {
        fail("Retry Limit exceeded, quitting." + crLf + "Record number was " +
                 std::to_string(DownloadRecordCount),
             kErrorTitle, LineState::Settled);
    }
    return RejectVerdict::GiveUp;
}

} // namespace orlix
