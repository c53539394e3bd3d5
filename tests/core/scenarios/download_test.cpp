// Firmware downloads on the whole tool against the simulated boot loader,
// on the virtual clock: a full image byte for byte, lines garbled on the
// way, a unit that rejects, hangs up, falls silent or says EOF too early,
// Cancel, and a long erase. Every end must tell where the unit was left
// and leave the tool usable.
#include "support/hex_images.h"
#include "support/sim_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace orlix {
namespace {

using test::SimHarness;

constexpr auto npos = std::string::npos;

// A boot loader that answers 20 ms after a line's end, so that a record
// is on the wire for a while before its reply.
sim::UnitOptions bootLoaderUnit(int eraseTimeMs = 250) {
    auto options = SimHarness::quickUnit();
    options.startInBootLoader = true;
    options.eraseTimeMs = eraseTimeMs;
    options.replyDelayMs = 20;
    return options;
}

// The tool connected to a unit in its boot loader, and the image it downloads.
struct Rig {
    explicit Rig(sim::UnitOptions options = bootLoaderUnit()) : h(std::move(options)) {}

    void connect() {
        h.start();
        h.run(3000);
        ASSERT_TRUE(h.app.link.BootMode);
        h.port.clearWrites();
    }

    // Monitor, Download Firmware ...: this image, then the button `choice`.
    void startFromMenu(const std::vector<std::string>& records, int choice = 0) {
        image = records;
        h.dialogs.openChoices.push_back(
            FileChoice{dir.write("fw.hex", test::joined(records)), "fw.hex"});
        h.dialogs.choices.push_back(choice);
        h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    }

    // Runs until `count` records have been confirmed by the unit.
    void runUntilConfirmed(int count) {
        for (int i = 0; i < 60000 && h.unit.bootLoader().recordsAccepted() < count; ++i) {
            h.run(10);
        }
        ASSERT_EQ(h.unit.bootLoader().recordsAccepted(), count);
    }

    // Runs until the tool has written `count` records: the last is on the wire.
    void runUntilWritten(std::size_t count) {
        for (int i = 0; i < 60000 && records().size() < count; ++i) {
            h.run(10);
        }
        ASSERT_EQ(records().size(), count);
    }

    // How often each line went out, in the order first written.
    std::vector<std::pair<std::string, int>> lineCounts() const {
        std::vector<std::pair<std::string, int>> counts;
        for (const auto& line : h.linesWritten()) {
            if (!counts.empty() && counts.back().first == line) {
                ++counts.back().second;
            } else {
                counts.emplace_back(line, 1);
            }
        }
        return counts;
    }

    int timesWritten(const std::string& line) const {
        const auto lines = h.linesWritten();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    std::vector<std::string> records() const {
        std::vector<std::string> out;
        for (const auto& line : h.linesWritten()) {
            if (line.starts_with(":")) {
                out.push_back(line);
            }
        }
        return out;
    }

    const test::FakeDialogs::Message& lastMessage() const { return h.dialogs.messages.back(); }

    SimHarness h;
    test::ScratchDir dir;
    std::vector<std::string> image;
};

class Download : public ::testing::Test, protected Rig {
protected:
    explicit Download(sim::UnitOptions options = bootLoaderUnit()) : Rig(std::move(options)) {}
    void SetUp() override { connect(); }
};

// "m:ss" at the end of a caption, in seconds.
int secondsIn(const std::string& caption) {
    const auto colon = caption.rfind(':');
    const auto space = caption.rfind(' ', colon);
    return std::stoi(caption.substr(space + 1, colon - space - 1)) * 60 +
           std::stoi(caption.substr(colon + 1));
}

// The data bytes of an image's data records, in order.
std::string dataOf(const std::vector<std::string>& records) {
    std::string data;
    for (const auto& r : records) {
        const auto parsed = sim::parseHexRecord(r);
        if (parsed.record && parsed.record->type == 0) {
            data.append(parsed.record->data.begin(), parsed.record->data.end());
        }
    }
    return data;
}

std::string flashOf(const sim::SimulatedUnit& unit) {
    std::string data;
    for (const auto& [address, byte] : unit.bootLoader().image()) {
        data += static_cast<char>(byte);
    }
    return data;
}

TEST_F(Download, AWholeImageGoesOutByteForByteAndTheNewFirmwareStarts) {
    h.dialogs.answers.push_back(true); // start the new firmware
    startFromMenu(test::firmwareRecords(1998));
    ASSERT_EQ(image.size(), 2000u);
    EXPECT_EQ(h.app.downloadView.lblStatus, "Erasing the flash (bf3, up to 30 s) ...");

    // Half-way: as much time left as has passed.
    runUntilConfirmed(1000);
    h.run(30); // its reply has come
    EXPECT_EQ(h.app.download.DownloadRecordCount, 1001);
    EXPECT_EQ(h.clock.interval(TimerId::tmrKeepAlive), 7000);
    EXPECT_EQ(h.app.downloadView.lblRecords, "Records: 1000 of 2000");
    EXPECT_NEAR(h.app.downloadView.Gauge1, 50.0, 0.1);
    EXPECT_NEAR(secondsIn(h.app.downloadView.lblTimeRemaining),
                secondsIn(h.app.downloadView.lblElapsed), 2)
        << h.app.downloadView.lblTimeRemaining << " " << h.app.downloadView.lblElapsed;

    h.run(200000);
    EXPECT_EQ(h.app.downloadView.Gauge1, 100.0);
    EXPECT_FALSE(h.app.download.DownloadActive);
    EXPECT_EQ(h.app.downloadView.lblStatus, "Done: 'fw.hex' is in the unit's flash.");
    EXPECT_EQ(h.app.downloadView.lblRecords, "Records: 2000 of 2000");
    EXPECT_EQ(h.app.downloadView.btnCancel, "Close");
    EXPECT_TRUE(h.app.isVisible(WindowId::frmDownload));

    // bf3, every record once in order with exactly one CR LF, then g (the
    // keep-alive's pings follow).
    std::vector<std::string> expected{"bf3\r\n"};
    for (const auto& r : image) {
        expected.push_back(r + "\r\n");
    }
    expected.push_back("g\r\n");
    std::vector<std::string> written;
    for (const auto& w : h.port.writes()) {
        if (written.size() < expected.size()) {
            written.push_back(w.bytes);
        }
    }
    EXPECT_TRUE(written == expected);
    EXPECT_EQ(flashOf(h.unit), dataOf(image));
    EXPECT_FALSE(h.unit.inBootLoader());
    EXPECT_EQ(h.unit.firmwareVersion(), "3.10");
    ASSERT_EQ(h.dialogs.questions.size(), 2u); // the choice, then the start
    const std::string& done = h.dialogs.questions.back();
    EXPECT_TRUE(done.starts_with("Download complete: 2000 records, 31968 bytes in 4:0")) << done;
    EXPECT_TRUE(done.ends_with(".\r\nStart the new firmware now (g)?")) << done;
    const std::vector<std::pair<int, int>> lastBeeps(h.dialogs.beeps.end() - 3,
                                                     h.dialogs.beeps.end());
    EXPECT_EQ(lastBeeps, (std::vector<std::pair<int, int>>{{250, 250}, {500, 250}, {1000, 250}}));
    EXPECT_TRUE(h.dialogs.messages.empty());

    // The log echoes the first four records only, and the unit again after.
    const std::string& log = h.app.commLogView.text;
    EXPECT_NE(log.find(image[3]), npos);
    EXPECT_EQ(log.find(image[4]), npos);
    EXPECT_NE(log.find("Norvique Monitor Firmware V 3.10"), npos);
}

// Characters lost on the way in (the unit sees a bad record and answers
// '!') or on the way out (the echo or the prompt is damaged): each damaged
// exchange costs the record one more write, and the flash ends up right.
TEST(DownloadOnABadLine, EachDamagedRecordIsWrittenOnceMoreAndTheFlashEndsUpRight) {
    struct Case {
        const char* name;
        void (sim::SimulatedUnit::*fault)(int);
        bool rejectedByUnit;
    };
    const Case cases[] = {{"in", &sim::SimulatedUnit::setDropEveryNthInputChar, true},
                          {"out", &sim::SimulatedUnit::setDropEveryNthOutputChar, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t;
        t.connect();
        t.startFromMenu(test::firmwareRecords(150));
        t.h.run(600); // the erase is done, records go out
        (t.h.unit.*c.fault)(450);
        t.h.run(60000);
        ASSERT_EQ(t.h.app.download.outcome(), FirmwareDownload::Outcome::Done);

        int retried = 0;
        std::vector<std::string> order;
        for (const auto& [line, count] : t.lineCounts()) {
            if (line.starts_with(":")) {
                EXPECT_LE(count, 2) << line;
                retried += count - 1;
                order.push_back(line);
            }
        }
        EXPECT_EQ(order, t.image);
        EXPECT_GE(retried, c.rejectedByUnit ? 5 : 1);
        EXPECT_EQ(flashOf(t.h.unit), dataOf(t.image));
        if (c.rejectedByUnit) {
            // Every '!' cost exactly one write, with the retry beeps.
            EXPECT_EQ(t.h.unit.bootLoader().recordsRejected(), retried);
            EXPECT_EQ(
                std::count(t.h.dialogs.beeps.begin(), t.h.dialogs.beeps.end(), std::pair{125, 250}),
                retried);
            EXPECT_EQ(t.h.app.downloadView.RetryLabel, "Retries: 1");
        }
    }
}

// A record whose answer is later than its reply time is written once more
// and the unit answers both copies: the extra answer is not taken for the
// next record's, which still waits for its own (here it is lost on the way
// and only its reply time brings it back). Everything arrives, in order.
TEST_F(Download, ALateSecondAnswerIsNotTakenForTheNextRecords) {
    startFromMenu(test::firmwareRecords(20));
    runUntilConfirmed(10);
    // Record 11 waits 7.5 s for its answer: past its reply time (3.5 s),
    // and past the second wait that its echo (heard at once) earns it.
    h.unit.editState().config.replyDelayMs = 7500;
    runUntilWritten(11);
    h.unit.editState().config.replyDelayMs = 20;
    runUntilWritten(12); // written again
    h.unit.setDropEveryNthInputChar(1);
    runUntilWritten(13);
    h.run(50);
    h.unit.setDropEveryNthInputChar(0);
    h.run(20000);

    ASSERT_EQ(h.app.download.outcome(), FirmwareDownload::Outcome::Done);
    std::vector<std::string> order;
    for (const auto& [line, count] : lineCounts()) {
        if (line.starts_with(":")) {
            EXPECT_LE(count, 3) << line;
            if (order.empty() || order.back() != line) {
                order.push_back(line);
            }
        }
    }
    EXPECT_EQ(order, image);
    EXPECT_EQ(flashOf(h.unit), dataOf(image));
}

// A unit may take up to the keep-alive's 7 s over a record (erasing a page
// as its first record comes): nothing else goes out meanwhile, not even a
// second copy or a ping.
TEST_F(Download, ARecordMayTakeSevenSeconds) {
    startFromMenu(test::firmwareRecords(20));
    runUntilConfirmed(10);
    h.unit.editState().config.replyDelayMs = 6800;
    runUntilWritten(11);
    const std::size_t before = h.linesWritten().size();
    h.run(3000); // record 11's answer is on its way
    h.unit.editState().config.replyDelayMs = 20;
    runUntilWritten(12);
    EXPECT_EQ(h.linesWritten().size(), before + 1) << "nothing but the next record";
    h.run(5000);
    EXPECT_EQ(h.app.download.outcome(), FirmwareDownload::Outcome::Done);
    EXPECT_EQ(timesWritten(image[10]), 1);
}

TEST_F(Download, PastTheRetryLimitItStopsAndTheToolStaysUsable) {
    startFromMenu(test::firmwareRecords(20));
    runUntilConfirmed(10);
    h.unit.setRejectEveryNthLine(1);
    h.run(5000);
    h.unit.setRejectEveryNthLine(0);

    const std::string stuck = image[10];
    const auto counts = lineCounts();
    const auto it =
        std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == stuck; });
    ASSERT_NE(it, counts.end());
    EXPECT_EQ(it->second, 6) << "written once, then once per rejection up to the limit of 5";
    EXPECT_EQ(records().back(), stuck) << "nothing after the record given up";

    EXPECT_FALSE(h.app.download.DownloadActive);
    EXPECT_EQ(h.app.downloadView.RetryLabel, "Retries: 6");
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(lastMessage().title, "Download Error");
    EXPECT_TRUE(lastMessage().text.starts_with("Retry Limit exceeded, quitting.\r\n"
                                               "Record number was 11\r\n\r\n"
                                               "The download stopped at record 11 of 22; the "
                                               "unit is most likely in its boot loader."))
        << lastMessage().text;
    EXPECT_NE(lastMessage().text.find("most likely in its boot loader"), npos);
    EXPECT_NE(lastMessage().text.find("To retry:"), npos);
    EXPECT_EQ(h.app.downloadView.lblStatus, "Stopped: Retry Limit exceeded, quitting.");
    EXPECT_FALSE(h.app.download.echoSuppressed());

    // The queue is free: a typed command goes out and is answered.
    h.port.clearWrites();
    h.act([&] { h.app.SendCommand("a\r\n"); });
    h.run(300);
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(h.app.link.BootMode);
}

TEST_F(Download, AnEarlyEofEndsTheDownloadAsAFailure) {
    startFromMenu(test::firmwareRecords(20));
    runUntilConfirmed(5);
    // The unit's third reply from now carries EOF after the record's echo.
    sim::FaultOptions faults;
    faults.garbageEveryNthReply = h.unit.linesReceived() + 3;
    faults.garbage = "EOF\r\n";
    h.unit.setFaults(faults);
    h.run(2000);

    EXPECT_EQ(records().size(), 8u);
    EXPECT_FALSE(h.app.download.DownloadActive);
    EXPECT_EQ(h.app.download.outcome(), FirmwareDownload::Outcome::Stopped);
    EXPECT_TRUE(lastMessage().text.starts_with(
        "The unit reported EOF in its reply to record 8, before the image's end-of-file "
        "record"))
        << lastMessage().text;
    EXPECT_NE(h.app.downloadView.Gauge1, 100.0);
}

// The line, the unit or the user ends the download part-way: each time the
// same end, with the record named and the unit's state told.
TEST_F(Download, EveryWayOfStoppingPartWayEndsTheSameWay) {
    struct Case {
        const char* name;
        std::function<void(SimHarness&)> stop;
        const char* reason;
        const char* title;
        int recordWrites; // of the record on the wire
    };
    const Case cases[] = {
        {"hang-up", [](SimHarness& s) { s.unit.hangUp(); },
         "The serial port was lost: the line was hung up", "Download Error", 1},
        {"silence", [](SimHarness& s) { s.unit.setSilent(true); },
         "No answer from the unit to record 11, written twice.", "Download Error", 2},
        {"cancel", [](SimHarness& s) { s.act([&] { s.app.download.btnCancel_Click(); }); },
         "Download cancelled.", "Firmware Download", 1},
        {"offline", [](SimHarness& s) { s.act([&] { s.app.frmMain.mnuMonitorOffline_Click(); }); },
         "The link to the unit went offline.", "Download Error", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t;
        t.connect();
        t.startFromMenu(test::firmwareRecords(20));
        t.runUntilWritten(11);
        c.stop(t.h);
        t.h.run(15000);

        EXPECT_EQ(t.records().size(), 11u + (c.recordWrites - 1));
        EXPECT_EQ(t.timesWritten(t.image[10]), c.recordWrites);
        EXPECT_FALSE(t.h.app.download.DownloadActive);
        EXPECT_FALSE(t.h.app.download.busy());
        EXPECT_FALSE(t.h.app.download.imagePrepared()) << "the image is closed";
        ASSERT_FALSE(t.h.dialogs.messages.empty());
        const auto& m = t.h.dialogs.messages.front();
        EXPECT_EQ(m.title, c.title);
        EXPECT_EQ(m.text.substr(0, m.text.find("\r\n")), c.reason);
        EXPECT_NE(m.text.find("The download stopped at record 11 of 22; the unit is most likely "
                              "in its boot loader"),
                  npos)
            << m.text;
        EXPECT_EQ(t.h.app.downloadView.lblStatus, "Stopped: " + std::string(c.reason));
        EXPECT_EQ(t.h.app.downloadView.btnCancel, "Close");
        EXPECT_NE(t.h.app.commLogView.text.find("Firmware download stopped: "), npos);
    }
}

TEST_F(Download, ImageWithAFaultIsRefusedBeforeAnythingIsSent) {
    auto records = test::firmwareRecords(10);
    records[6].back() = records[6].back() == '0' ? '1' : '0';
    startFromMenu(records);
    h.run(1000);
    EXPECT_TRUE(h.port.writes().empty());
    EXPECT_FALSE(h.unit.bootLoader().erased());
    EXPECT_TRUE(h.dialogs.questions.empty()) << "no choice offered";
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(lastMessage().title, "File Format Error");
    EXPECT_TRUE(lastMessage().text.starts_with("Bad record format in 'fw.hex'\r\nLine 7: the "
                                               "checksum is "))
        << lastMessage().text;
    EXPECT_TRUE(lastMessage().text.ends_with("\r\nNothing was sent to the unit."));
    EXPECT_FALSE(h.app.download.imagePrepared());
    EXPECT_FALSE(h.app.isVisible(WindowId::frmDownload));
}

TEST_F(Download, CancelDuringTheEraseSendsNoRecord) {
    startFromMenu(test::firmwareRecords(20));
    h.run(150); // bf3 written, the erase runs
    h.act([&] { h.app.download.btnCancel_Click(); });
    EXPECT_EQ(h.app.downloadView.lblStatus, "Stopping after the unit's reply to bf3 ...");
    EXPECT_FALSE(h.app.downloadView.btnCancelEnabled);
    h.run(2000);
    EXPECT_EQ(h.linesWritten(), (std::vector<std::string>{"bf3"}));
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(lastMessage().text,
              "Download cancelled.\r\n\r\nNo record of 'fw.hex' was sent. The unit is most likely "
              "in its boot loader; if the erase went ahead, its flash is empty and it cannot "
              "start its firmware until a download completes.\r\nTo retry: once the unit answers "
              "in its boot loader (Monitor, Go Online), choose Monitor, Download Firmware ... and "
              "Erase and download.");
}

class LongErase : public Download {
protected:
    LongErase() : Download(bootLoaderUnit(25000)) {}
};

TEST_F(LongErase, IsNotTakenForALostLinkButASilentOneIs) {
    startFromMenu(test::firmwareRecords(5));
    h.run(40000);
    EXPECT_EQ(h.app.download.outcome(), FirmwareDownload::Outcome::Done);
    const auto lines = h.linesWritten();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "bf3");
    EXPECT_EQ(lines[1], image[0]) << "no ping during the erase";
    EXPECT_EQ(timesWritten("bf3"), 1);
    EXPECT_TRUE(h.app.link.BootMode);

    // The same unit, silent after bf3 has been echoed: the erase gets its
    // 30 s twice over (its answer had begun), and bf3 is never written
    // again, since a second copy would erase once more.
    h.port.clearWrites();
    h.dialogs.messages.clear();
    startFromMenu(test::firmwareRecords(5));
    h.run(150);
    h.unit.setSilent(true);
    h.run(59900);
    EXPECT_TRUE(h.app.download.busy()) << "still within the erase's time";
    h.run(200);
    EXPECT_FALSE(h.app.download.busy());
    EXPECT_EQ(timesWritten("bf3"), 1);
    EXPECT_TRUE(records().empty());
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_TRUE(lastMessage().text.starts_with("No answer from the unit to bf3.\r\n\r\nNo record"))
        << lastMessage().text;
    h.run(10000);
    EXPECT_TRUE(h.app.link.OfflineMode) << "the link finds the silent unit gone";
}

} // namespace
} // namespace orlix
