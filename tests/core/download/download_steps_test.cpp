// The download's steps on the whole tool with a fake port, replies typed in
// by hand: how each start reply is taken, the menu item's way to a start,
// the guards while records go out, and the progress figures.
#include "core/download/download_progress.h"
#include "support/app_harness.h"
#include "support/hex_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace orlix {
namespace {

using test::AppHarness;
using Outcome = FirmwareDownload::Outcome;

constexpr auto npos = std::string::npos;

// The tool in Boot mode with an image file at hand.
struct StepsRig {
    StepsRig() {
        h.startSettled();
        h.receive("p\r\n$\r\n");
        h.advance(2000);
        EXPECT_TRUE(h.app.link.BootMode);
        image = test::firmwareRecords(8);
        path = dir.write("fw.hex", test::joined(image));
        h.port.clearWrites();
    }

    void prepare() { ASSERT_TRUE(h.app.download.prepare(path, "fw.hex").ok); }

    // A reply from the unit, then the write pause of whatever it starts.
    void reply(const std::string& text) {
        h.receive(text);
        h.advance(100);
    }
    // The unit's answer to a record it took.
    void confirm(const std::string& record) { reply(record + "\r\n$\r\n"); }

    std::vector<std::string> lines() {
        std::vector<std::string> out;
        for (const auto& w : h.port.takeWrites()) {
            out.push_back(w.bytes);
        }
        return out;
    }

    bool logSays(std::string_view text) const { return h.app.commLogView.text.find(text) != npos; }

    AppHarness h;
    test::ScratchDir dir;
    std::vector<std::string> image;
    std::string path;
};

struct Steps : ::testing::Test, StepsRig {};

// Which replies start the download, and which are refused or ignored.
TEST_F(Steps, StartRepliesAreTakenByTheirCommandAndPrompt) {
    struct Case {
        const char* name;
        FirmwareDownload::StartCommand command;
        const char* reply;
        bool starts;
        const char* message; // first line; empty: none
    };
    using C = FirmwareDownload::StartCommand;
    const Case cases[] = {
        {"bf3 with $", C::Erase, "bf3\r\nFlash block 3 erased\r\n$\r\n", true, ""},
        {"bf3 with #", C::Erase, "bf3\r\n#\r\n", true, ""},
        {"bs with #", C::ErasedFlash, "bs\r\nReady\r\n#\r\n", true, ""},
        {"bs with $", C::ErasedFlash, "bs\r\nFlash not erased\r\n$\r\n", false,
         "Bad response to bs command"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StepsRig t;
        t.prepare();
        ASSERT_TRUE(t.h.app.download.start(c.command));
        EXPECT_TRUE(t.h.app.isVisible(WindowId::frmDownload));
        t.h.advance(100);
        t.lines();
        t.reply(c.reply);
        EXPECT_EQ(t.h.app.download.DownloadActive, c.starts);
        if (c.starts) {
            EXPECT_EQ(t.lines(), (std::vector<std::string>{t.image[0] + "\r\n"}));
            EXPECT_EQ(t.h.app.download.DownloadRecordCount, 1);
            EXPECT_EQ(t.h.app.downloadView.RetryLabel, "Retries:");
            EXPECT_TRUE(t.h.dialogs.messages.empty());
        } else {
            EXPECT_TRUE(t.lines().empty());
            ASSERT_EQ(t.h.dialogs.messages.size(), 1u);
            EXPECT_EQ(t.h.dialogs.messages[0].text,
                      std::string(c.message) +
                          "\r\n\r\nNo record of 'fw.hex' was sent; the unit's flash is as it was "
                          "before bs.\r\nTo retry: once the unit answers in its boot loader "
                          "(Monitor, Go Online), choose Monitor, Download Firmware ... and Erase "
                          "and download.");
            EXPECT_EQ(t.h.dialogs.beeps.back(), (std::pair{250, 250}));
            EXPECT_EQ(t.h.app.downloadView.btnCancel, "Close");
        }
    }
}

TEST_F(Steps, OtherEraseRepliesAndRecordRepliesWhileIdleChangeNothing) {
    prepare();
    for (const char* text :
         {"bf1\r\nFlash block 1 erased\r\n$\r\n", "bf2\r\n$\r\n", "be\r\nFlash erased\r\n$\r\n",
          ":00000001FF\r\nEOF\r\n$\r\n", "a\r\nAddr = 0x1F2\r\n$\r\n"}) {
        reply(text);
    }
    EXPECT_TRUE(lines().empty());
    EXPECT_FALSE(h.app.download.busy());
    EXPECT_FALSE(h.app.isVisible(WindowId::frmDownload));
    EXPECT_EQ(h.app.downloadView.AddressBox, "");
    EXPECT_TRUE(h.dialogs.messages.empty());
}

TEST_F(Steps, ATypedStartCommandStartsThePreparedImageOrOnlyGivesAHint) {
    const auto type = [&](std::string_view keys) {
        for (char c : keys) {
            h.act([&] { h.app.frmCommLog.txtCommLog_KeyPress(c); });
        }
        h.advance(100);
    };
    type("bs\r");
    reply("bs\r\nReady\r\n#\r\n");
    EXPECT_FALSE(h.app.download.busy());
    EXPECT_TRUE(logSays("bs answered; no firmware image is prepared, so no download starts. "
                        "Choose one with Monitor, Download Firmware ..."));

    prepare();
    lines();
    type("bf3\r");
    EXPECT_EQ(lines(), (std::vector<std::string>{"bf3\r\n"}));
    reply("bf3\r\n$\r\n");
    EXPECT_TRUE(h.app.download.DownloadActive);
    EXPECT_TRUE(h.app.isVisible(WindowId::frmDownload));
    EXPECT_EQ(h.app.downloadView.lblImage, "Image: fw.hex");
    EXPECT_EQ(lines(), (std::vector<std::string>{image[0] + "\r\n"}));
}

TEST_F(Steps, TheMenuItemChecksFirstAndOffersTheChoice) {
    // Cancelled file dialog: nothing at all.
    h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    ASSERT_EQ(h.dialogs.openRequests.size(), 1u);
    EXPECT_EQ(h.dialogs.openRequests[0].filter, "Hex Images (*.hex)|*.hex|All Files (*.*)|*.*");
    EXPECT_TRUE(h.dialogs.questions.empty());

    // A sound image, the choice closed: prepared for a typed start.
    h.dialogs.openChoices.push_back(FileChoice{path, "fw.hex"});
    h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    ASSERT_EQ(h.dialogs.choiceButtons.size(), 1u);
    EXPECT_EQ(
        h.dialogs.choiceButtons[0],
        (std::vector<std::string>{"Erase and download", "Download into erased flash", "Cancel"}));
    EXPECT_TRUE(h.dialogs.questions[0].starts_with(
        "Download 'fw.hex' (10 records, 128 data bytes) to the unit?"));
    EXPECT_TRUE(h.app.download.imagePrepared());
    EXPECT_TRUE(logSays("Image 'fw.hex' is prepared: type bf3 or bs in this log to start it"));
    EXPECT_TRUE(lines().empty());

    // Bad image: refused, and the one prepared before is dropped.
    const std::string bad = dir.write("bad.hex", "\r\n:0300000021460196\r\n");
    h.dialogs.openChoices.push_back(FileChoice{bad, "bad.hex"});
    h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    EXPECT_EQ(h.dialogs.messages.back().title, "File Format Error");
    EXPECT_FALSE(h.app.download.imagePrepared());

    // No unit: the image is checked and kept, nothing is sent.
    h.act([&] { h.app.GoDemoMode(); });
    EXPECT_TRUE(h.app.mainView.enabled(MenuItem::mnuMonitorDownload));
    h.dialogs.openChoices.push_back(FileChoice{path, "fw.hex"});
    h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    EXPECT_TRUE(h.dialogs.messages.back().text.starts_with(
        "'fw.hex' is a sound image: 10 records, 128 data bytes.\r\nNo unit answers"));
    EXPECT_EQ(h.dialogs.choiceButtons.size(), 1u);
    EXPECT_TRUE(lines().empty());
}

// An image that fails its check, or cannot be read, is refused with the
// line and the reason, and nothing goes to the unit.
TEST_F(Steps, ARefusedImageSaysWhyAndNothingIsSent) {
    struct Case {
        const char* name;
        std::string file; // empty: there is no such file
        const char* title;
        const char* text; // the message begins so
        std::size_t beeps;
    };
    const Case cases[] = {
        {"not a record", image[0] + "\r\nHello, world\r\n", "File Format Error",
         "Bad record format in 'x.hex'\r\nFirst record start 'Hello, w'\r\nShould start with "
         "':NNNNNNN'\r\nGiving up.\r\nLine 2 of the file; nothing was sent to the unit.",
         0},
        {"checksum", "\r\n:0300000021460196\r\n", "File Format Error",
         "Bad record format in 'x.hex'\r\nLine 2: the checksum is 96, the record needs 95.\r\n"
         "Giving up.\r\nNothing was sent to the unit.",
         0},
        {"no end record", image[0] + "\r\n" + image[1] + "\r\n", "File Format Error",
         "Bad record format in 'x.hex'\r\nThe end-of-file record (:00000001FF) is missing.\r\n"
         "Giving up.\r\nNothing was sent to the unit.",
         0},
        {"unreadable", "", "Orlix6",
         "Error Reading 'x.hex'. \r\nPlease try a different file, or something.\r\nThe file "
         "cannot be read: ",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StepsRig t;
        const std::string path =
            c.file.empty() ? (t.dir.path() / "x.hex").string() : t.dir.write("x.hex", c.file);
        t.h.dialogs.openChoices.push_back(FileChoice{path, "x.hex"});
        const std::size_t beepsBefore = t.h.dialogs.beeps.size();
        t.h.act([&] { t.h.app.frmMain.mnuMonitorDownload_Click(); });
        ASSERT_EQ(t.h.dialogs.messages.size(), 1u);
        EXPECT_EQ(t.h.dialogs.messages[0].title, c.title);
        EXPECT_TRUE(t.h.dialogs.messages[0].text.starts_with(c.text))
            << t.h.dialogs.messages[0].text;
        EXPECT_EQ(t.h.dialogs.beeps.size() - beepsBefore, c.beeps);
        EXPECT_TRUE(t.h.dialogs.questions.empty());
        EXPECT_TRUE(t.lines().empty());
        EXPECT_FALSE(t.h.app.download.imagePrepared());
    }
}

TEST_F(Steps, TheMenuItemFollowsTheLinkState) {
    const std::pair<void (App::*)(), bool> states[] = {{&App::GoOnline, false},
                                                       {&App::GoBootMode, true},
                                                       {&App::GoOffline, false},
                                                       {&App::GoDemoMode, true}};
    for (const auto& [change, enabled] : states) {
        (h.app.*change)();
        EXPECT_EQ(h.app.mainView.enabled(MenuItem::mnuMonitorDownload), enabled);
    }
}

// While records go out, nothing else reaches the boot loader but the
// address query; each refusal is said once in the log.
TEST_F(Steps, WhileItRunsOnlyItsOwnLinesAndTheAddressQueryGoOut) {
    prepare();
    h.act([&] { h.app.download.start(FirmwareDownload::StartCommand::Erase); });
    h.advance(100);
    reply("bf3\r\n$\r\n");
    lines();

    h.act([&] {
        h.app.SendCommand("da\r\n");
        h.app.SendCommand("da\r\n");
        h.app.frmMain.mnuMonitorRun_Click();
        h.app.frmCommLog.ckXmitQueueOverride_Click(true);
        h.app.frmCommLog.txtCommLog_KeyPress('x');
        h.app.frmCommLog.ckXmitQueueOverride_Click(false);
        h.app.frmBugeyeMode.HScrollBugeye_Change(40);
        h.app.frmCommLog.btnClrXQ_Click();
        h.app.SendCommand("a\r\n");
    });
    confirm(image[0]);
    EXPECT_EQ(lines(), (std::vector<std::string>{"a\r\n"})) << "the record waits behind a";
    EXPECT_EQ(h.app.xmit.XmitQueue(), image[1] + "\r\n") << "Clear Xmit Queue kept it";
    reply("a\r\nAddr = 0x1f2G\r\n$\r\n");
    EXPECT_EQ(h.app.downloadView.AddressBox, "0x1F2");
    EXPECT_EQ(lines(), (std::vector<std::string>{image[1] + "\r\n"}));
    for (const char* said :
         {"Not sent during the firmware download: da<CR><LF>",
          "Not sent during the firmware download: g<CR><LF>",
          "Not sent during the firmware download: typing straight to the port (Xmit Q Bypass)",
          "Not sent during the firmware download: bugeye brightness blocks",
          "Not sent during the firmware download: the transmit queue stays as it is"}) {
        EXPECT_TRUE(logSays(said)) << said;
    }
    const std::string& log = h.app.commLogView.text;
    EXPECT_EQ(log.find("da<CR><LF>"), log.rfind("da<CR><LF>")) << "said once";

    // Replies to the record that do not echo it: each time written once
    // more, and counted.
    std::string damaged = image[1];
    damaged[5] = damaged[5] == '0' ? '1' : '0';
    for (const std::string& text : {image[1].substr(1), damaged}) {
        reply(text + "\r\n?\r\n$\r\n");
        EXPECT_EQ(lines(), (std::vector<std::string>{image[1] + "\r\n"})) << text;
    }
    EXPECT_EQ(h.app.downloadView.RetryLabel, "Retries: 2");
    EXPECT_TRUE(logSays("does not echo it: written again"));

    // Once it has ended, everything goes out again.
    h.act([&] { h.app.download.abort("Test over."); });
    h.act([&] { h.app.SendCommand("da\r\n"); });
    h.advance(100);
    EXPECT_EQ(lines(), (std::vector<std::string>{"da\r\n"}));
}

// A second answer to the record before, with its echo, is not the answer
// to the record on the wire: that one keeps waiting, its reply time running.
TEST_F(Steps, ASecondAnswerToThePreviousRecordIsIgnored) {
    prepare();
    h.app.download.start(FirmwareDownload::StartCommand::Erase);
    h.advance(100);
    reply("bf3\r\n$\r\n");
    confirm(image[0]);
    EXPECT_EQ(lines().back(), image[1] + "\r\n");
    confirm(image[0]);
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(logSays("A second answer to record 1: ignored"));
    EXPECT_TRUE(h.app.xmit.AwaitingPrompt());
    h.advance(3400);
    EXPECT_TRUE(lines().empty()) << "nothing of record 2's answer was heard: 3.5 s";
    h.advance(100);
    EXPECT_EQ(lines(), (std::vector<std::string>{image[1] + "\r\n"})) << "late: written again";
    confirm(image[1]);
    EXPECT_EQ(lines(), (std::vector<std::string>{image[2] + "\r\n"}));
    EXPECT_EQ(h.app.downloadView.RetryLabel, "Retries:");
}

TEST_F(Steps, AnEchoInTheOtherCaseAnswersTheRecord) {
    prepare();
    h.app.download.start(FirmwareDownload::StartCommand::Erase);
    h.advance(100);
    reply("bf3\r\n$\r\n");
    lines();
    std::string lower = image[0];
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    ASSERT_NE(lower, image[0]);
    confirm(lower);
    EXPECT_EQ(lines(), (std::vector<std::string>{image[1] + "\r\n"}));
    EXPECT_EQ(h.app.downloadView.RetryLabel, "Retries:");
}

// A record waiting behind the address query when the download stops is
// taken back: nothing of the image goes out after the stop was told.
TEST_F(Steps, ARecordStillQueuedWhenItStopsNeverGoesOut) {
    prepare();
    h.act([&] { h.app.download.start(FirmwareDownload::StartCommand::Erase); });
    h.advance(100);
    reply("bf3\r\n$\r\n");
    h.act([&] { h.app.SendCommand("a\r\n"); });
    confirm(image[0]); // record 2 waits behind a
    EXPECT_EQ(lines().back(), "a\r\n");
    h.act([&] { h.app.frmMain.mnuMonitorOffline_Click(); });
    EXPECT_EQ(h.app.download.outcome(), Outcome::Stopped);
    reply("a\r\nAddr = 0x10\r\n$\r\n");
    h.advance(5000);
    EXPECT_TRUE(lines().empty());
}

// Rejections that end the download at once, each with its own message:
// the start command past the limit, the end record whose flash check
// failed, and any rejection after Cancel. The line is not written again
// after the last of them.
TEST_F(Steps, RejectionsThatEndTheDownload) {
    struct Case {
        const char* name;
        int confirmed; // records answered before; -1: bf3 is on the wire
        bool cancel;
        const char* rejection;
        int times;
        const char* title;
        const char* text; // the message begins so
        std::size_t beeps;
    };
    const Case cases[] = {
        {"bf3 past the limit", -1, false, "bf3\r\nBusy\r\n!\r\n", 6, "Flash Block Erase Failed",
         "Retry Limit exceeded, quitting.\r\nMessage was 'f3\r\nBusy\r\n!'\r\n\r\nNo record of "
         "'fw.hex' was sent.",
         12},
        {"the end record's check fails", 9, false, ":00000001FF\r\nEOF\r\n!\r\n", 1,
         "Download Error",
         "Failed checksum after booting flash.\r\nResult was '00000001FF\r\nEOF\r\n!'\r\nTry "
         "again or check Flash Chip, Pin 1 = +12V.\r\n\r\nThe download stopped at record 10 of 10",
         3},
        {"cancel, then a rejection", 0, true, "!\r\n", 1, "Firmware Download",
         "Download cancelled.\r\n\r\nThe download stopped at record 1 of 10", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StepsRig t;
        t.prepare();
        t.h.app.download.start(FirmwareDownload::StartCommand::Erase);
        t.h.advance(100);
        std::string onWire = "bf3\r\n";
        if (c.confirmed >= 0) {
            t.reply("bf3\r\n$\r\n");
            for (int i = 0; i < c.confirmed; ++i) {
                t.confirm(t.image[static_cast<std::size_t>(i)]);
            }
            onWire = t.image[static_cast<std::size_t>(c.confirmed)] + "\r\n";
        }
        if (c.cancel) {
            t.h.act([&] { t.h.app.download.btnCancel_Click(); });
        }
        EXPECT_EQ(t.lines().back(), onWire);
        const std::size_t beepsBefore = t.h.dialogs.beeps.size();
        for (int i = 0; i < c.times; ++i) {
            t.reply(c.rejection);
        }
        t.h.advance(5000);
        std::vector<std::string> written = t.lines();
        std::erase(written, "p\r\n"); // the keep-alive, once it has ended
        EXPECT_EQ(written, std::vector<std::string>(static_cast<std::size_t>(c.times - 1), onWire))
            << "written once more for each rejection but the last";
        EXPECT_EQ(t.h.app.download.outcome(), Outcome::Stopped);
        EXPECT_EQ(t.h.dialogs.beeps.size() - beepsBefore, c.beeps);
        ASSERT_EQ(t.h.dialogs.messages.size(), 1u);
        EXPECT_EQ(t.h.dialogs.messages[0].title, c.title);
        EXPECT_TRUE(t.h.dialogs.messages[0].text.starts_with(c.text))
            << t.h.dialogs.messages[0].text;
    }
}

TEST_F(Steps, ReplyTextsWithoutAPromptEndTheDownloadWithTheirOwnMessage) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"020000040001F9\r\nEOF\r\n",
         "EOF error, result neither fish nor fowl.\r\nResult was '020000040001F9\r\nEOF\r\n'\r\n"
         "Try again, check connection & power."},
        {"020000040001F9\r\nWhat\r\n",
         "Record was unrecognized type, quitting.\r\nRecord = '020000040001F9\r\nWhat\r\n'"},
    };
    for (const auto& c : cases) {
        StepsRig t;
        t.prepare();
        t.h.app.download.start(FirmwareDownload::StartCommand::Erase);
        t.h.advance(100);
        t.reply("bf3\r\n$\r\n");
        t.h.act([&] { t.h.app.download.cmd_colon(c.text); });
        EXPECT_EQ(t.h.app.download.outcome(), Outcome::Stopped);
        ASSERT_EQ(t.h.dialogs.messages.size(), 1u);
        EXPECT_EQ(t.h.dialogs.messages[0].title, "Download Error");
        EXPECT_TRUE(t.h.dialogs.messages[0].text.starts_with(std::string(c.message) + "\r\n\r\n"))
            << t.h.dialogs.messages[0].text;
    }
}

TEST_F(Steps, AnEndRecordAnsweredWithoutEofIsNoSuccess) {
    prepare();
    h.app.download.start(FirmwareDownload::StartCommand::Erase);
    h.advance(100);
    reply("bf3\r\n$\r\n");
    for (const auto& record : image) {
        confirm(record);
    }
    EXPECT_EQ(h.app.download.outcome(), Outcome::Stopped);
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_TRUE(
        h.dialogs.messages[0].text.starts_with("The unit answered the image's end-of-file record "
                                               "without EOF.\r\n\r\nThe download stopped at "
                                               "record 10 of 10"))
        << h.dialogs.messages[0].text;
    EXPECT_EQ(lines().size(), 1u + image.size()) << "bf3 and each record once";
}

TEST_F(Steps, ClosingTheToolDuringADownloadAsksFirst) {
    prepare();
    h.app.download.start(FirmwareDownload::StartCommand::Erase);
    h.advance(100);
    reply("bf3\r\n$\r\n");
    h.close(); // answered No
    EXPECT_FALSE(h.app.quitRequested());
    EXPECT_TRUE(h.app.download.DownloadActive);
    EXPECT_TRUE(h.dialogs.questions.back().starts_with(
        "A firmware download is running (record 1 of 10). Closing the tool now stops it"));
    h.dialogs.answers.push_back(true);
    h.close();
    EXPECT_TRUE(h.app.quitRequested());
    EXPECT_EQ(h.app.download.outcome(), Outcome::Stopped);
    EXPECT_TRUE(h.dialogs.messages.back().text.starts_with(
        "The tool was closed during the download.\r\n\r\nThe download stopped at record 1"));
}

TEST_F(Steps, TheFirstRecordStepEstimatesFiftyNineMinutes) {
    prepare();
    h.app.download.start(FirmwareDownload::StartCommand::Erase);
    h.advance(100);
    reply("bf3\r\n$\r\n"); // the start time; record 1 goes out
    h.advance(4900);
    confirm(image[0]);
    EXPECT_EQ(h.app.downloadView.lblTimeRemaining, "Time Remaining: 58:55");
    EXPECT_EQ(h.app.downloadView.lblElapsed, "Elapsed: 0:05");
    EXPECT_EQ(h.app.downloadView.lblRecords, "Records: 1 of 10");
    EXPECT_EQ(h.app.downloadView.lblRate, "Rate: 0.2 records/s, 0.0 bytes/s");
    EXPECT_EQ(h.app.download.DownloadRecordCount, 2);

    // Starting while it runs is refused; nothing goes out.
    lines();
    EXPECT_FALSE(h.app.download.start(FirmwareDownload::StartCommand::ErasedFlash));
    EXPECT_EQ(h.dialogs.messages.back().text,
              "A firmware download is running. Wait for it to end, or press Cancel in its "
              "window.");
    EXPECT_TRUE(lines().empty());
}

TEST(DownloadProgress, EstimatesAndCaptions) {
    struct Case {
        std::int64_t elapsed;
        std::uint32_t sent, total;
        const char* caption;
    };
    const Case cases[] = {
        {5, 0, 1000, "Time Remaining: 58:55"},   // first step: 3540 s
        {60, 500, 1000, "Time Remaining: 1:00"}, // half done after a minute
        {0, 0, 0, "Time Remaining: 59:00"},      // nothing known yet
        {3600, 1, 1000, "Time Remaining: 59940:00"},
        {10, 1000, 1000, "Time Remaining: 0:00"}, // done: never negative
        {10, 2000, 1000, "Time Remaining: 0:00"}, // past the total
    };
    for (const auto& c : cases) {
        EXPECT_EQ(timeRemainingCaption(remainingSeconds(c.elapsed, c.sent, c.total)), c.caption);
    }
    EXPECT_DOUBLE_EQ(percentDone(1, 3), 100.0 / 3);
    EXPECT_DOUBLE_EQ(percentDone(5, 3), 100.0);
    EXPECT_DOUBLE_EQ(percentDone(5, 0), 0.0);
    EXPECT_EQ(minutesAndSeconds(59), "0:59");
    EXPECT_EQ(minutesAndSeconds(-3), "0:00");
}

} // namespace
} // namespace orlix
