// Firmware downloads on the whole tool against the simulated boot loader, on
// the virtual clock. Every end must tell where the unit was left and leave
// the tool usable.
#include "support/hex_images.h"
#include "support/sim_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace orlix {
namespace {

using test::SimHarness;
using Outcome = FirmwareDownload::Outcome;
using Lines = std::vector<std::string>;

constexpr auto npos = std::string::npos;

// A boot loader that answers 20 ms after a line's end, so that a record is
// on the wire for a while before its reply.
sim::UnitOptions bootLoaderUnit(int eraseTimeMs = 250) {
    auto options = SimHarness::quickUnit();
    options.startInBootLoader = true;
    options.eraseTimeMs = eraseTimeMs;
    options.replyDelayMs = 20;
    return options;
}

struct Rig {
    explicit Rig(sim::UnitOptions options = bootLoaderUnit()) : h(std::move(options)) {}

    void connect() {
        h.start();
        h.run(3000);
        ASSERT_TRUE(h.app.link.BootMode);
        h.port.clearWrites();
    }

    // Monitor, Download Firmware ...: this image, erased and downloaded.
    void startFromMenu(const Lines& records) {
        image = records;
        h.dialogs.openChoices.push_back(
            FileChoice{dir.write("fw.hex", test::joined(records)), "fw.hex"});
        h.dialogs.choices.push_back(0);
        h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    }

    void runUntilConfirmed(int count) {
        for (int i = 0; i < 60000 && h.unit.bootLoader().recordsAccepted() < count; ++i) {
            h.run(10);
        }
        ASSERT_EQ(h.unit.bootLoader().recordsAccepted(), count);
    }

    // Until the tool has written `count` records: the last is on the wire.
    void runUntilWritten(std::size_t count) {
        for (int i = 0; i < 60000 && records().size() < count; ++i) {
            h.run(10);
        }
        ASSERT_EQ(records().size(), count);
    }

    int timesWritten(const std::string& line) const {
        const auto lines = h.linesWritten();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    Lines records() const {
        Lines out;
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
    Lines image;
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
std::string dataOf(const Lines& records) {
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

    // bf3, every record once in order with exactly one CR LF, then g (the
    // keep-alive's pings follow).
    std::string sent;
    for (const auto& w : h.port.writes()) {
        sent += w.bytes;
    }
    EXPECT_TRUE(sent.starts_with("bf3\r\n" + test::joined(image) + "g\r\n"));
    EXPECT_EQ(flashOf(h.unit), dataOf(image));
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

// Characters lost on the way in (the unit answers '!') or out (the echo or
// the prompt is damaged): each damaged exchange costs the record one more
// write, and the flash ends up right.
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
        ASSERT_EQ(t.h.app.download.outcome(), Outcome::Done);

        Lines order = t.records();
        const int retried = static_cast<int>(order.size() - t.image.size());
        order.erase(std::unique(order.begin(), order.end()), order.end());
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

// A unit may take up to the keep-alive's 7 s over a record (erasing a page
// as its first record comes): nothing else goes out meanwhile.
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
    EXPECT_EQ(h.app.download.outcome(), Outcome::Done);
}

TEST_F(Download, PastTheRetryLimitItStopsAndTheToolStaysUsable) {
    startFromMenu(test::firmwareRecords(20));
    runUntilConfirmed(10);
    h.unit.setRejectEveryNthLine(1);
    h.run(5000);
    h.unit.setRejectEveryNthLine(0);

    EXPECT_EQ(timesWritten(image[10]), 6)
        << "written once, then once per rejection up to the limit of 5";
    EXPECT_EQ(records().back(), image[10]) << "nothing after the record given up";
    EXPECT_FALSE(h.app.download.DownloadActive);
    EXPECT_EQ(h.app.downloadView.RetryLabel, "Retries: 6");
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(lastMessage().title, "Download Error");
    EXPECT_TRUE(lastMessage().text.starts_with("Retry Limit exceeded, quitting.\r\n"
                                               "Record number was 11\r\n\r\n"
                                               "The download stopped at record 11 of 22; the "
                                               "unit is most likely in its boot loader."))
        << lastMessage().text;
    EXPECT_FALSE(h.app.download.echoSuppressed());

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
    EXPECT_EQ(h.app.download.outcome(), Outcome::Stopped);
    EXPECT_TRUE(lastMessage().text.starts_with(
        "The unit reported EOF in its reply to record 8, before the image's end-of-file record"))
        << lastMessage().text;
    EXPECT_NE(h.app.downloadView.Gauge1, 100.0);
}

// The line, the unit or the user ends the download part-way: each time the
// same end, with the record named and the unit's state told.
TEST(DownloadStopped, EveryWayOfStoppingPartWayEndsTheSameWay) {
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
        EXPECT_FALSE(t.h.app.download.busy());
        EXPECT_FALSE(t.h.app.download.DownloadActive);
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

// A file that fails its check, or cannot be read, is refused with the line
// and the reason before anything is sent: no erase, no choice, no window.
TEST_F(Download, AnImageWithAFaultIsRefusedBeforeAnythingIsSent) {
    auto badSum = test::firmwareRecords(10);
    badSum[6] = ":0300000021460196";
    const std::string first = badSum[0] + "\r\n";
    struct Case {
        const char* name;
        std::string file; // empty: there is no such file
        const char* title;
        std::string text; // the message begins so
        std::size_t beeps;
    };
    const Case cases[] = {
        {"checksum", test::joined(badSum), "File Format Error",
         "Bad record format in 'x.hex'\r\nLine 7: the checksum is 96, the record needs 95.\r\n"
         "Giving up.\r\nNothing was sent to the unit.",
         0},
        {"not a record", first + "Hello, world\r\n", "File Format Error",
         "Bad record format in 'x.hex'\r\nFirst record start 'Hello, w'\r\nShould start with "
         "':NNNNNNN'\r\nGiving up.\r\nLine 2 of the file; nothing was sent to the unit.",
         0},
        {"no end record", first + badSum[1] + "\r\n", "File Format Error",
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
        h.dialogs.messages.clear();
        const std::string path =
            c.file.empty() ? (dir.path() / "none.hex").string() : dir.write("x.hex", c.file);
        h.dialogs.openChoices.push_back(FileChoice{path, "x.hex"});
        const std::size_t beepsBefore = h.dialogs.beeps.size();
        h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
        h.run(1000);
        ASSERT_EQ(h.dialogs.messages.size(), 1u);
        EXPECT_EQ(lastMessage().title, c.title);
        EXPECT_TRUE(lastMessage().text.starts_with(c.text)) << lastMessage().text;
        EXPECT_EQ(h.dialogs.beeps.size() - beepsBefore, c.beeps);
        Lines sent = h.linesWritten();
        std::erase(sent, "p"); // the keep-alive's
        EXPECT_EQ(sent, Lines{});
        EXPECT_FALSE(h.unit.bootLoader().erased());
        EXPECT_TRUE(h.dialogs.questions.empty()) << "no choice offered";
        EXPECT_FALSE(h.app.download.imagePrepared());
        EXPECT_FALSE(h.app.isVisible(WindowId::frmDownload));
    }
}

class LongErase : public Download {
protected:
    LongErase() : Download(bootLoaderUnit(25000)) {}
};

TEST_F(LongErase, IsNotTakenForALostLinkButASilentOneIs) {
    startFromMenu(test::firmwareRecords(5));
    h.run(40000);
    EXPECT_EQ(h.app.download.outcome(), Outcome::Done);
    const auto lines = h.linesWritten();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "bf3");
    EXPECT_EQ(lines[1], image[0]) << "no ping during the erase";
    EXPECT_TRUE(h.app.link.BootMode);

    // Silent after bf3 has been echoed: the erase gets its 30 s twice over
    // (its answer had begun), and bf3 is never written again, since a second
    // copy would erase once more.
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
