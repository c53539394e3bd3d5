// The comm log window's logic: echo, the log file, typing and its buttons.
#include "support/app_harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orlix {
namespace {

using test::AppHarness;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct CommLogTest : ::testing::Test {
    CommLogTest() {
        h.startSettled();
        h.act([&] { h.app.frmCommLog.ckWindowEnabled_Click(true); });
        h.app.commLog.clearWindow();
        h.port.clearWrites();
    }
    ~CommLogTest() override { std::filesystem::remove_all(dir); }

    std::string tempPath(const std::string& name) {
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }
    void openLogFile(const std::string& path) {
        h.dialogs.saveChoices.push_back(FileChoice{path, "x.mcl"});
        h.act([&] { h.app.frmCommLog.BtnLogFile_Click(); });
    }

    AppHarness h;
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("orlix6-commlog-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(CommLogTest, TypedLinesGoThroughTheQueueOrStraightToThePort) {
    struct Case {
        bool bypass;
        std::string keys;
        std::vector<std::string> writes;
    };
    const std::vector<Case> cases = {
        {false, "da\r", {"da\r\n"}},
        {false, "dx\bf\r", {"dx\bf\r\n"}}, // a Backspace is part of the line
        {true, "da\r", {"d", "a", "\r", "\n"}},
    };
    for (const auto& c : cases) {
        h.port.clearWrites();
        h.act([&] { h.app.frmCommLog.ckXmitQueueOverride_Click(c.bypass); });
        for (const char key : c.keys) {
            h.act([&, key] { h.app.frmCommLog.txtCommLog_KeyPress(key); });
        }
        h.advance(100);
        std::vector<std::string> writes;
        for (const auto& w : h.port.writes()) {
            writes.push_back(w.bytes);
        }
        EXPECT_EQ(writes, c.writes) << (c.bypass ? "bypass " : "queue ") << c.keys;
        h.receive("#"); // let the queue go on
    }
}

TEST_F(CommLogTest, TheFileStaysEmptyUntilFileLoggingIsSwitchedOn) {
    const std::string path = tempPath("a.mcl");
    openLogFile(path);
    EXPECT_TRUE(h.app.commLog.LogFileOpen());
    EXPECT_FALSE(h.app.commLogView.BtnLogFileEnabled);
    EXPECT_TRUE(h.app.commLogView.btnEndFileLogEnabled);
    h.receive("before\r\n");
    EXPECT_EQ(readFile(path), "");

    h.act([&] { h.app.frmCommLog.ckFileEnabled_Click(); });
    h.receive("a\r\nb");
    // Flushed at each line end: what came before the last line end is on disk.
    EXPECT_EQ(readFile(path), "a\r\n");
    h.act([&] { h.app.frmCommLog.ckFileEnabled_Click(); });
    h.receive("c\r\n");
    h.act([&] { h.app.frmCommLog.btnEndFileLog_Click(); });
    EXPECT_EQ(readFile(path), "a\r\nb");
    EXPECT_FALSE(h.app.commLog.LogFileOpen());
    EXPECT_TRUE(h.app.commLogView.BtnLogFileEnabled);
}

TEST_F(CommLogTest, TheLogFileDialogOffersADatedNameAndAsksBeforeOverwriting) {
    h.act([&] { h.app.frmCommLog.BtnLogFile_Click(); }); // cancelled
    ASSERT_EQ(h.dialogs.saveRequests.size(), 1u);
    const auto& request = h.dialogs.saveRequests[0];
    EXPECT_EQ(request.filter,
              "Monitor Comm Log Files(*.mcl)|*.mcl|Text Files(*.txt)|*.txt|All files(*.*)|*.*");
    EXPECT_TRUE(request.promptOverwrite);
    EXPECT_EQ(request.initialName.rfind("Orlix_LogFile_12_6_2026_9_30_", 0), 0u)
        << request.initialName;
    EXPECT_TRUE(h.dialogs.messages.empty()) << "a cancel stays silent";
    EXPECT_FALSE(h.app.commLog.LogFileOpen());
    EXPECT_EQ(FrmCommLog::logFileName(1, 2, 2027, 3, 4, 5), "Orlix_LogFile_1_2_2027_3_4_5");
}

// A file that cannot be opened, and one whose write fails, each give one
// message naming the file and leave file logging off.
TEST_F(CommLogTest, FilesThatCannotBeOpenedOrWrittenAreReported) {
    for (const std::string& path : {tempPath("no-such-dir/sub/x.mcl"), std::string("/dev/full")}) {
        h.dialogs.messages.clear();
        openLogFile(path);
        h.act([&] { h.app.frmCommLog.ckFileEnabled_Click(); });
        h.receive("data\r\n");
        EXPECT_FALSE(h.app.commLog.LogFileOpen()) << path;
        ASSERT_EQ(h.dialogs.messages.size(), 1u) << path;
        EXPECT_NE(h.dialogs.messages[0].text.find(path), std::string::npos) << path;
        EXPECT_TRUE(h.app.commLogView.BtnLogFileEnabled) << path;
    }
}

TEST_F(CommLogTest, TheWindowTextIsEmptiedPastItsLimitAndPausesDuringADownload) {
    h.app.commLogView.text.assign(CommLog::kWindowTextLimit + 1, 'x');
    h.receive("y");
    EXPECT_EQ(h.app.commLogView.text, "y");
    h.app.commLogView.text.assign(CommLog::kWindowTextLimit, 'x');
    h.receive("z");
    EXPECT_EQ(h.app.commLogView.text.size(), CommLog::kWindowTextLimit + 1);

    // The echo pauses from the fifth record of a download.
    h.app.commLog.clearWindow();
    h.app.download.DownloadActive = true;
    h.app.download.DownloadRecordCount = 4;
    h.receive("a");
    h.app.download.DownloadRecordCount = 5;
    h.receive("b\r");
    EXPECT_EQ(h.app.commLogView.text, "a");
}

TEST_F(CommLogTest, ButtonsSendTheirCommands) {
    h.act([&] { h.app.frmCommLog.btnCheckOff_Click(); });
    h.advance(100);
    for (auto [click, line] : std::vector<std::pair<void (FrmCommLog::*)(), std::string>>{
             {&FrmCommLog::btnCheckOn_Click, "cz1\r\n"},
             {&FrmCommLog::btnTerse_Click, "CU\r\n"},
             {&FrmCommLog::btnVerbose_Click, "CV\r\n"}}) {
        h.receive("#");
        h.act([&, click = click] { (h.app.frmCommLog.*click)(); });
        h.advance(100);
        EXPECT_EQ(h.port.writes().back().bytes, line);
    }
    EXPECT_EQ(h.port.writes().front().bytes, "cz0\r\n");
}

TEST_F(CommLogTest, DoneIsRememberedAtExit) {
    h.act([&] { h.app.frmCommLog.btnDone_Click(); });
    h.close();
    EXPECT_EQ(h.setting("Configs", "CommLogOpen"), "0");
}

TEST_F(CommLogTest, TimestampsStartEveryLineReceivedAndEveryWriteInWindowAndFile) {
    const std::string path = tempPath("stamped.mcl");
    openLogFile(path);
    h.act([&] { h.app.frmCommLog.ckFileEnabled_Click(); });
    h.receive("half"); // timestamps switched on in the middle of a line
    h.act([&] { h.app.frmCommLog.ckTimestamps_Click(true); });
    EXPECT_TRUE(h.app.commLogView.ckTimestamps);
    h.receive(" line\r\n");
    h.advance(1234);
    h.act([&] { h.app.SendCommand("da\r\n"); });
    h.advance(100);
    h.receive("d");
    h.advance(7);
    h.receive("a\r\n12,");
    h.advance(300);
    h.receive("34\r\n\r\n#");
    h.act([&] { h.app.frmCommLog.ckXmitQueueOverride_Click(true); });
    h.act([&] { h.app.frmCommLog.txtCommLog_KeyPress('\xff'); }); // a write mid-line
    h.receive("\r\n");
    const std::string expected = "half line\r\n"
                                 "09:30:01.434 > da\r\n"
                                 "09:30:01.434 da\r\n"
                                 "09:30:01.441 12,34\r\n"
                                 "09:30:01.741 \r\n"
                                 "09:30:01.741 #\r\n"
                                 "09:30:01.741 > \xff\r\n"
                                 "09:30:01.741 \r\n";
    EXPECT_EQ(h.app.commLogView.text, expected);
    h.act([&] { h.app.frmCommLog.btnEndFileLog_Click(); });
    EXPECT_EQ(readFile(path), expected);

    // The tool's own notices carry the time too; switched off, nothing does.
    h.app.commLog.clearWindow();
    h.app.commLog.LogLine("notice");
    h.act([&] { h.app.frmCommLog.ckTimestamps_Click(false); });
    h.receive("x\r\n");
    h.act([&] { h.app.frmCommLog.txtCommLog_KeyPress('y'); });
    EXPECT_EQ(h.app.commLogView.text, "09:30:01.741 notice\r\nx\r\n");
}

// The timestamps box is remembered; AutoPing and the bypass always start on
// and off, and what was read of the bypass is written back.
TEST(CommLogStartup, StoredFlagsAndWhatTheControlsShowAfterStartUp) {
    struct Case {
        const char* timestamps; // "": missing, as the others
        const char* autoPing;
        const char* bypass;
    };
    for (const Case c : {Case{"True", "0", "1"}, Case{"False", "1", "0"}, Case{"1", "", ""},
                         Case{"rubbish", "", ""}, Case{"", "", ""}}) {
        SCOPED_TRACE(std::string(c.timestamps) + "/" + c.autoPing + "/" + c.bypass);
        AppHarness h;
        for (const auto& [key, value] : {std::pair{"CommLogTimestamps", c.timestamps},
                                         {"AutoPingEnabled", c.autoPing},
                                         {"BypassTransmitQueue", c.bypass}}) {
            if (*value) {
                h.store.set("Configs", key, value);
            }
        }
        h.startSettled();
        const bool on = std::string(c.timestamps) == "True" || std::string(c.timestamps) == "1";
        EXPECT_EQ(h.app.commLogView.ckTimestamps, on);
        EXPECT_EQ(h.app.commLog.timestamps(), on);
        EXPECT_TRUE(h.app.link.AutoPingEnabled);
        EXPECT_FALSE(h.app.link.BypassXmitQueue);
        EXPECT_EQ(h.app.commLogView.btnDisableAutoping, "Disable AutoPing");
        EXPECT_FALSE(h.app.commLogView.ckXmitQueueOverride);
        h.act([&] { h.app.frmCommLog.ckTimestamps_Click(!on); });
        h.close();
        EXPECT_EQ(h.setting("Configs", "CommLogTimestamps"), on ? "False" : "True");
        EXPECT_EQ(h.setting("Configs", "BypassTransmitQueue"), *c.bypass ? c.bypass : "1");
    }
}

} // namespace
} // namespace orlix
