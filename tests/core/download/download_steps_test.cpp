// The download's steps on the whole tool with a fake port, replies typed in
// by hand.
#include "core/download/download_progress.h"
#include "support/app_harness.h"
#include "support/hex_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>

namespace orlix {
namespace {

using Outcome = FirmwareDownload::Outcome;
using Start = FirmwareDownload::StartCommand;
using Lines = std::vector<std::string>;

// The tool in Boot mode with an image of 10 records at hand.
struct StepsRig {
    StepsRig() {
        h.startSettled();
        h.receive("p\r\n$\r\n");
        h.advance(2000);
        EXPECT_TRUE(h.app.link.BootMode);
        path = dir.write("fw.hex", test::joined(image));
        h.port.clearWrites();
    }

    void prepare() { ASSERT_TRUE(h.app.download.prepare(path, "fw.hex").ok); }
    void start(Start command = Start::Erase) {
        prepare();
        h.act([&] { h.app.download.start(command); });
        h.advance(100);
    }
    // bf3 answered: record 1 is on the wire.
    void startSending() {
        start();
        reply("bf3\r\n$\r\n");
        lines();
    }
    // A reply from the unit, then the write pause of whatever it starts.
    void reply(const std::string& text) {
        h.receive(text);
        h.advance(100);
    }
    void confirm(const std::string& record) { reply(record + "\r\n$\r\n"); }

    Lines lines() {
        Lines out;
        for (const auto& w : h.port.takeWrites()) {
            out.push_back(w.bytes);
        }
        return out;
    }
    bool logSays(std::string_view text) const {
        return h.app.commLogView.text.find(text) != std::string::npos;
    }

    test::AppHarness h;
    test::ScratchDir dir;
    Lines image = test::firmwareRecords(8);
    std::string path;
};

struct Steps : ::testing::Test, StepsRig {};

TEST(DownloadStart, EitherPromptAfterBf3AndHashAfterBsSendRecordOne) {
    for (const auto& [command, reply] :
         {std::pair{Start::Erase, "bf3\r\nFlash block 3 erased\r\n$\r\n"},
          {Start::Erase, "bf3\r\n#\r\n"},
          {Start::ErasedFlash, "bs\r\nReady\r\n#\r\n"}}) {
        SCOPED_TRACE(reply);
        StepsRig t;
        t.start(command);
        t.lines();
        t.reply(reply);
        EXPECT_TRUE(t.h.app.download.DownloadActive);
        EXPECT_EQ(t.lines(), Lines{t.image[0] + "\r\n"});
    }
}

TEST_F(Steps, OtherEraseRepliesAndRecordRepliesWhileIdleChangeNothing) {
    prepare();
    for (const std::string& text : Lines{
             "bf1\r\nFlash block 1 erased\r\n$\r\n", "bf2\r\n$\r\n", "be\r\nFlash erased\r\n$\r\n",
             image[0] + "\r\n$\r\n", ":00000001FF\r\nEOF\r\n$\r\n", "a\r\nAddr = 0x1F2\r\n$\r\n"}) {
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
    EXPECT_EQ(lines(), Lines{"bf3\r\n"});
    reply("bf3\r\n$\r\n");
    EXPECT_TRUE(h.app.download.DownloadActive);
    EXPECT_TRUE(h.app.isVisible(WindowId::frmDownload));
    EXPECT_EQ(h.app.downloadView.lblImage, "Image: fw.hex");
    EXPECT_EQ(lines(), Lines{image[0] + "\r\n"});
}

TEST_F(Steps, TheMenuItemChecksFirstAndOffersTheChoice) {
    const auto choose = [&](const std::string& file, const std::string& name) {
        h.dialogs.openChoices.push_back(FileChoice{file, name});
        h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    };
    h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); }); // the file dialog cancelled
    ASSERT_EQ(h.dialogs.openRequests.size(), 1u);
    EXPECT_EQ(h.dialogs.openRequests[0].filter, "Hex Images (*.hex)|*.hex|All Files (*.*)|*.*");
    EXPECT_TRUE(h.dialogs.questions.empty());

    // A sound image, the choice closed: prepared for a typed start.
    choose(path, "fw.hex");
    ASSERT_EQ(h.dialogs.choiceButtons.size(), 1u);
    EXPECT_EQ(h.dialogs.choiceButtons[0],
              (Lines{"Erase and download", "Download into erased flash", "Cancel"}));
    EXPECT_TRUE(h.dialogs.questions[0].starts_with(
        "Download 'fw.hex' (10 records, 128 data bytes) to the unit?"));
    EXPECT_TRUE(h.app.download.imagePrepared());
    EXPECT_TRUE(logSays("Image 'fw.hex' is prepared: type bf3 or bs in this log to start it"));

    // A bad image drops the one prepared before.
    choose(dir.write("bad.hex", ":0300000021460196\r\n"), "bad.hex");
    EXPECT_EQ(h.dialogs.messages.back().title, "File Format Error");
    EXPECT_FALSE(h.app.download.imagePrepared());

    // No unit: the image is checked, nothing is sent.
    h.act([&] { h.app.GoDemoMode(); });
    choose(path, "fw.hex");
    EXPECT_TRUE(h.dialogs.messages.back().text.starts_with(
        "'fw.hex' is a sound image: 10 records, 128 data bytes.\r\nNo unit answers"));
    EXPECT_EQ(h.dialogs.choiceButtons.size(), 1u);
    EXPECT_TRUE(lines().empty());

    for (const auto& [change, enabled] : {std::pair{&App::GoOnline, false},
                                          {&App::GoBootMode, true},
                                          {&App::GoOffline, false},
                                          {&App::GoDemoMode, true}}) {
        (h.app.*change)();
        EXPECT_EQ(h.app.mainView.enabled(MenuItem::mnuMonitorDownload), enabled);
    }
}

// While records go out, nothing else reaches the boot loader but the address
// query; each refusal is said once in the log.
TEST_F(Steps, WhileItRunsOnlyItsOwnLinesAndTheAddressQueryGoOut) {
    startSending();
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
    EXPECT_EQ(lines(), Lines{"a\r\n"}) << "the record waits behind a";
    EXPECT_EQ(h.app.xmit.XmitQueue(), image[1] + "\r\n") << "Clear Xmit Queue kept it";
    reply("a\r\nAddr = 0x1f2G\r\n$\r\n");
    EXPECT_EQ(h.app.downloadView.AddressBox, "0x1F2");
    EXPECT_EQ(lines(), Lines{image[1] + "\r\n"});
    for (const char* what :
         {"da<CR><LF>", "g<CR><LF>", "typing straight to the port (Xmit Q Bypass)",
          "bugeye brightness blocks", "the transmit queue stays as it is"}) {
        EXPECT_TRUE(logSays("Not sent during the firmware download: " + std::string(what))) << what;
    }
    const std::string& log = h.app.commLogView.text;
    EXPECT_EQ(log.find("da<CR><LF>"), log.rfind("da<CR><LF>")) << "said once";

    // Replies to the record that do not echo it: each time written once more.
    std::string damaged = image[1];
    damaged[5] = damaged[5] == '0' ? '1' : '0';
    for (const std::string& text : {image[1].substr(1), damaged}) {
        reply(text + "\r\n?\r\n$\r\n");
        EXPECT_EQ(lines(), Lines{image[1] + "\r\n"}) << text;
    }
    EXPECT_EQ(h.app.downloadView.RetryLabel, "Retries: 2");

    // Stopped with record 3 waiting behind a: it never goes out, and
    // everything else does again.
    h.act([&] { h.app.SendCommand("a\r\n"); });
    confirm(image[1]);
    EXPECT_EQ(lines(), Lines{"a\r\n"});
    h.act([&] { h.app.download.abort("Test over."); });
    reply("a\r\nAddr = 0x10\r\n$\r\n");
    h.act([&] { h.app.SendCommand("da\r\n"); });
    h.advance(100);
    EXPECT_EQ(lines(), Lines{"da\r\n"});
}

// A second answer to the record before is not the answer to the record on
// the wire: that one keeps waiting, its reply time running. An echo in the
// other case does answer it.
TEST_F(Steps, ASecondAnswerToThePreviousRecordIsIgnored) {
    startSending();
    confirm(image[0]);
    EXPECT_EQ(lines(), Lines{image[1] + "\r\n"});
    confirm(image[0]);
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(logSays("A second answer to record 1: ignored"));
    h.advance(3400);
    EXPECT_TRUE(lines().empty()) << "3.5 s from record 2's write";
    h.advance(100);
    EXPECT_EQ(lines(), Lines{image[1] + "\r\n"}) << "late: written again";
    std::string lower = image[1];
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    ASSERT_NE(lower, image[1]);
    confirm(lower);
    EXPECT_EQ(lines(), Lines{image[2] + "\r\n"});
    EXPECT_EQ(h.app.downloadView.RetryLabel, "Retries:");
}

// Replies and a close that end a running download: one message with its
// title and the unit's state, and the line on the wire written once more
// for each rejection but the last.
TEST(DownloadEnds, EachEndSaysWhyAndWhereTheUnitIsLeft) {
    struct Case {
        const char* name;
        int confirmed; // records answered before; -1: bf3 is on the wire
        std::function<void(StepsRig&)> act;
        std::size_t rewrites;
        const char* title;
        const char* text; // the message begins so
        std::size_t beeps;
        Start command = Start::Erase;
    };
    const auto replies = [](int times, const char* text) {
        return [=](StepsRig& t) {
            for (int i = 0; i < times; ++i) {
                t.reply(text);
            }
        };
    };
    const auto colon = [](const char* text) {
        return [=](StepsRig& t) {
            t.h.act([&] { t.h.app.download.cmd_colon(text); });
            t.reply("$\r\n"); // the prompt settles the line
        };
    };
    const Case cases[] = {
        {"bs answered with $", -1, replies(1, "bs\r\nFlash not erased\r\n$\r\n"), 0, "Orlix6",
         "Bad response to bs command\r\n\r\nNo record of 'fw.hex' was sent; the unit's flash is "
         "as it was before bs.\r\nTo retry: once the unit answers in its boot loader (Monitor, Go "
         "Online), choose Monitor, Download Firmware ... and Erase and download.",
         1, Start::ErasedFlash},
        {"bf3 past the retry limit", -1, replies(6, "bf3\r\nBusy\r\n!\r\n"), 5,
         "Flash Block Erase Failed",
         "Retry Limit exceeded, quitting.\r\nMessage was 'f3\r\nBusy\r\n!'\r\n\r\nNo record of "
         "'fw.hex' was sent.",
         12},
        {"the end record's flash check fails", 9, replies(1, ":00000001FF\r\nEOF\r\n!\r\n"), 0,
         "Download Error",
         "Failed checksum after booting flash.\r\nResult was '00000001FF\r\nEOF\r\n!'\r\nTry "
         "again or check Flash Chip, Pin 1 = +12V.\r\n\r\nThe download stopped at record 10 of 10",
         3},
        {"cancel during the erase", -1,
         [](StepsRig& t) {
             t.h.act([&] { t.h.app.download.btnCancel_Click(); });
             EXPECT_EQ(t.h.app.downloadView.lblStatus,
                       "Stopping after the unit's reply to bf3 ...");
             EXPECT_FALSE(t.h.app.downloadView.btnCancelEnabled);
             t.reply("bf3\r\n$\r\n");
         },
         0, "Firmware Download",
         "Download cancelled.\r\n\r\nNo record of 'fw.hex' was sent. The unit is most likely in "
         "its boot loader; if the erase went ahead, its flash is empty and it cannot start its "
         "firmware until a download completes.\r\nTo retry: once the unit answers in its boot "
         "loader (Monitor, Go Online), choose Monitor, Download Firmware ... and Erase and "
         "download.",
         0},
        {"cancel, then a rejection", 0,
         [](StepsRig& t) {
             t.h.act([&] { t.h.app.download.btnCancel_Click(); });
             t.reply("!\r\n");
         },
         0, "Firmware Download",
         "Download cancelled.\r\n\r\nThe download stopped at record 1 of 10", 0},
        {"EOF without a prompt", 0, colon("020000040001F9\r\nEOF\r\n"), 0, "Download Error",
         "EOF error, result neither fish nor fowl.\r\nResult was '020000040001F9\r\nEOF\r\n'\r\n"
         "Try again, check connection & power.\r\n\r\n",
         0},
        {"a reply of unknown type", 0, colon("020000040001F9\r\nWhat\r\n"), 0, "Download Error",
         "Record was unrecognized type, quitting.\r\nRecord = '020000040001F9\r\nWhat\r\n'\r\n\r\n",
         4},
        {"the end record answered without EOF", 9, [](StepsRig& t) { t.confirm(t.image[9]); }, 0,
         "Download Error",
         "The unit answered the image's end-of-file record without EOF.\r\n\r\nThe download "
         "stopped at record 10 of 10",
         0},
        {"the tool closed", 0,
         [](StepsRig& t) {
             t.h.close(); // answered No: it goes on
             EXPECT_TRUE(t.h.app.download.DownloadActive);
             EXPECT_FALSE(t.h.app.quitRequested());
             EXPECT_TRUE(t.h.dialogs.questions.back().starts_with(
                 "A firmware download is running (record 1 of 10). Closing the tool now stops"));
             t.h.dialogs.answers.push_back(true);
             t.h.close();
             EXPECT_TRUE(t.h.app.quitRequested());
         },
         0, "Download Error",
         "The tool was closed during the download.\r\n\r\nThe download stopped at record 1", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StepsRig t;
        t.start(c.command);
        std::string onWire = c.command == Start::Erase ? "bf3\r\n" : "bs\r\n";
        if (c.confirmed >= 0) {
            t.reply("bf3\r\n$\r\n");
            for (int i = 0; i < c.confirmed; ++i) {
                t.confirm(t.image[static_cast<std::size_t>(i)]);
            }
            onWire = t.image[static_cast<std::size_t>(c.confirmed)] + "\r\n";
        }
        EXPECT_EQ(t.lines().back(), onWire);
        const std::size_t beepsBefore = t.h.dialogs.beeps.size();
        c.act(t);
        t.h.advance(5000);
        Lines written = t.lines();
        std::erase(written, "p\r\n"); // the keep-alive, once it has ended
        EXPECT_EQ(written, Lines(c.rewrites, onWire));
        EXPECT_EQ(t.h.app.download.outcome(), Outcome::Stopped);
        EXPECT_EQ(t.h.dialogs.beeps.size() - beepsBefore, c.beeps);
        ASSERT_EQ(t.h.dialogs.messages.size(), 1u);
        EXPECT_EQ(t.h.dialogs.messages[0].title, c.title);
        EXPECT_TRUE(t.h.dialogs.messages[0].text.starts_with(c.text))
            << t.h.dialogs.messages[0].text;
    }
}

TEST_F(Steps, TheFirstRecordStepEstimatesFiftyNineMinutes) {
    start();
    h.advance(20000); // the erase: the time counts from its reply
    reply("bf3\r\n$\r\n");
    h.advance(4900);
    confirm(image[0]);
    EXPECT_EQ(h.app.downloadView.lblTimeRemaining, "Time Remaining: 58:55");
    EXPECT_EQ(h.app.downloadView.lblElapsed, "Elapsed: 0:05");
    EXPECT_EQ(h.app.downloadView.lblRecords, "Records: 1 of 10");
    EXPECT_EQ(h.app.downloadView.lblRate, "Rate: 0.2 records/s, 0.0 bytes/s");
    EXPECT_EQ(h.app.download.DownloadRecordCount, 2);

    lines();
    EXPECT_FALSE(h.app.download.start(Start::ErasedFlash)) << "one runs";
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
    EXPECT_EQ(minutesAndSeconds(-3), "0:00");
}

} // namespace
} // namespace orlix
