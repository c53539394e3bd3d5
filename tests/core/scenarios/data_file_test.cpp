// The File menu on the whole tool: failures, what Save and the changed-data
// question write, and a unit's data set saved by one tool, opened in another.
#include "core/data/mdv_writer.h"
#include "sim/control_commands.h"
#include "support/sim_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace orlix {
namespace {

namespace fs = std::filesystem;
using test::AppHarness;
using test::SimHarness;

const fs::path kGolden = fs::path(__FILE__).parent_path().parent_path() / "data" / "golden";
constexpr std::string_view kNativeSeparator{&fs::path::preferred_separator, 1};
constexpr auto npos = std::string::npos;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DataFile : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    FileChoice choice(const std::string& name) const { return {(dir / name).string(), name}; }
    FileChoice golden(const std::string& name) const {
        fs::copy_file(kGolden / name, dir / name, fs::copy_options::overwrite_existing);
        return choice(name);
    }
    static void open(AppHarness& h, const FileChoice& file) {
        h.dialogs.openChoices.push_back(file);
        h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    }

    const fs::path dir =
        fs::temp_directory_path() / ("orlix6-data-file-" + std::to_string(std::random_device()()));
};

// The text without its "File Created: " line, which says when it was written.
std::string withoutDate(std::string text) {
    const auto start = text.find("\"File Created: \"");
    if (start != npos) {
        text.erase(start, text.find('\n', start) + 1 - start);
    }
    return text;
}

TEST(FileCommandsFolder, IsThePathUpToItsLastSeparatorWhicheverKind) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"C:\\Data\\a.mdv", "C:\\Data\\"},
        {"/home/tech/units/a.mdv", "/home/tech/units/"},
        {"/a.mdv", "/"},
        {"D:/x/y.mdv", "D:/x/"},
    };
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(FileCommands::folderOf(path), folder);
    }
    const std::string current = fs::current_path().string() + std::string(kNativeSeparator);
    EXPECT_EQ(FileCommands::folderOf("a.mdv"), current);
}

TEST(FileCommandsDialogs, OpenAndSaveAsAskForTheirFilesAsTheToolAlwaysHas) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.act([&] { h.app.frmMain.mnuFileSaveAs_Click(); });
    ASSERT_EQ(h.dialogs.openRequests.size(), 1u);
    ASSERT_EQ(h.dialogs.saveRequests.size(), 1u);
    const FileDialogRequest& open = h.dialogs.openRequests[0];
    const FileDialogRequest& save = h.dialogs.saveRequests[0];
    const std::pair<std::string, std::string> texts[] = {
        {open.filter, "Monitor Data Files(*.mdv)|*.mdv|Text Files(*.txt)|*.txt|All files(*.*)|*.*"},
        {open.initialDir, ""},
        {open.initialName, ""},
        {save.filter, "Monitor Data Files (*.mdv)|*.mdv|All Files (*.*)|*.*"},
        {save.initialDir, "C:\\Program Files\\Orlix3"},
        {save.initialName, "*.mdv"},
    };
    for (const auto& [got, expected] : texts) {
        EXPECT_EQ(got, expected);
    }
    EXPECT_TRUE(open.mustExist);
    EXPECT_FALSE(open.promptOverwrite);
    EXPECT_FALSE(save.mustExist);
    EXPECT_TRUE(save.promptOverwrite);
}

TEST_F(DataFile, FailuresSayWhichFileAndWhyAndACancelSaysNothing) {
    AppHarness h;
    h.startSettled();
    const std::string before = h.app.mainView.caption;
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.act([&] { h.app.frmMain.mnuFileSaveAs_Click(); });
    EXPECT_TRUE(h.dialogs.messages.empty());

    fs::create_directories(dir / "folder");
    const FileChoice missing = choice("missing.mdv");
    const FileChoice folder = choice("folder");
    const FileChoice noFolder{(dir / "none" / "a.mdv").string(), "a.mdv"};
    h.dialogs.openChoices = {missing, folder};
    h.dialogs.saveChoices = {noFolder};
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.act([&] { h.app.frmMain.mnuFileSaveAs_Click(); });
    std::vector<std::string> texts;
    for (const auto& m : h.dialogs.messages) {
        texts.push_back(m.text);
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{
                  "The data file " + missing.path + " cannot be opened: No such file or directory",
                  "The data file " + folder.path + " cannot be opened: Is a directory",
                  "The data file " + noFolder.path +
                      " cannot be written: No such file or directory. The file on disk is "
                      "unchanged."}));
    EXPECT_EQ(h.app.mainView.caption, before);
    EXPECT_EQ(h.setting("Configs", "FileSaveInitDir"), "<missing>");
    EXPECT_FALSE(h.app.data.FileIsOpen);
    EXPECT_EQ(h.app.data.DiskFileNum, 0);
    EXPECT_TRUE(h.app.data.DataFilePath.empty());
}

TEST_F(DataFile, SaveAndTheChangedDataQuestionWriteOnlyAFileReadInFull) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuFileSave_Click(); }); // nothing open: Save As
    EXPECT_EQ(h.dialogs.saveRequests.size(), 1u);

    const FileChoice good = golden("valid_offline_small.mdv");
    open(h, good);
    h.app.data.L.Value[0][1] = 4321;
    h.act([&] { h.app.frmMain.mnuFileSave_Click(); });
    EXPECT_NE(contents(good.path).find("\"Master Brightness\",4321,"), npos);

    // Closing changed data: No leaves the file as it is, Yes writes it first.
    for (const bool yes : {false, true}) {
        open(h, good);
        h.app.data.L.Value[0][0] = 999;
        h.app.data.DataChanged = true;
        h.dialogs.answers = {yes};
        h.act([&] { h.app.frmMain.mnuFileClose_Click(); });
        EXPECT_EQ(contents(good.path).find("\"Master Contrast\",999,") != npos, yes);
        EXPECT_EQ(h.app.mainView.caption, h.app.AppCaption + " -- (No File)");
        h.app.data.DataChanged = false;
    }
    EXPECT_EQ(h.dialogs.saveRequests.size(), 1u);

    // Save never writes over a file that stopped at an error (the lines after
    // it would be lost): Save As comes, and cancelled, the Close stops.
    const FileChoice broken = golden("name_not_found.mdv");
    open(h, broken);
    h.app.data.DataChanged = true;
    h.dialogs.answers = {true};
    h.act([&] { h.app.frmMain.mnuFileClose_Click(); });
    EXPECT_EQ(h.dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(contents(broken.path), contents(kGolden / "name_not_found.mdv"));
    EXPECT_TRUE(h.app.data.FileIsOpen);
    EXPECT_EQ(h.app.mainView.caption, h.app.AppCaption + " -- name_not_found.mdv");
}

TEST_F(DataFile, OfflineSaveWritesBackTheDataSetLastReadAndNothingElse) {
    struct Case {
        std::vector<std::string> opened; // in turn; Save then writes the last
        bool goOffline;                  // "Go O&ffline" before Save
    };
    const Case cases[] = {
        // The identity lines came from the file: they are written back.
        {{"six_scan_sets.mdv"}, false},
        {{"six_scan_sets.mdv"}, true},
        // A read replaces the data set: no scan set, name, value or identity
        // line of the first file is left for the second.
        {{"six_scan_sets.mdv", "only_scan_set_2.mdv"}, false},
        {{"valid_connected.mdv", "six_scan_sets.mdv", "valid_offline_small.mdv"}, false},
    };
    for (const auto& c : cases) {
        AppHarness h;
        h.startSettled();
        for (const auto& name : c.opened) {
            open(h, golden(name));
        }
        if (c.goOffline) {
            h.act([&] { h.app.frmMain.mnuMonitorOffline_Click(); });
        }
        h.act([&] { h.app.frmMain.mnuFileSave_Click(); });
        const std::string& last = c.opened.back();
        EXPECT_TRUE(h.dialogs.messages.empty()) << last;
        EXPECT_EQ(h.dialogs.saveRequests.size(), 0u) << last;
        EXPECT_EQ(withoutDate(contents(dir / last)), withoutDate(contents(kGolden / last)))
            << c.opened.front() << " then " << last << (c.goOffline ? ", offline" : "");
    }
}

TEST_F(DataFile, ARefusedFileLeavesOpenWhatWasOpenBefore) {
    for (const bool goodFirst : {false, true}) {
        AppHarness h;
        h.startSettled();
        const FileChoice good = golden("valid_offline_small.mdv");
        if (goodFirst) {
            open(h, good);
        }
        const std::string caption = h.app.mainView.caption;
        const MonitorData before = h.app.data;
        for (const char* refused : {"short.mdv", "not_mdv.mdv", "wrong_version.mdv"}) {
            h.dialogs.messages.clear();
            open(h, golden(refused));
            EXPECT_EQ(h.dialogs.messages.size(), 1u) << refused;
            EXPECT_EQ(h.app.mainView.caption, caption) << refused;
            EXPECT_EQ(h.app.data.FileIsOpen, goodFirst) << refused;
            EXPECT_EQ(h.app.data.DataFilePath, before.DataFilePath) << refused;
            EXPECT_EQ(h.app.data.DataFileTitle, before.DataFileTitle) << refused;
        }
        // Save writes the file that is really open, or asks for one.
        h.act([&] { h.app.frmMain.mnuFileSave_Click(); });
        EXPECT_EQ(h.dialogs.saveRequests.size(), goodFirst ? 0u : 1u);
        for (const char* refused : {"short.mdv", "not_mdv.mdv", "wrong_version.mdv"}) {
            EXPECT_EQ(contents(dir / refused), contents(kGolden / refused)) << refused;
        }
    }
}

TEST_F(DataFile, AWalkedDataSetIsSavedOpensInAnotherToolAndExitAsksAfterAChange) {
    SimHarness h;
    h.start();
    h.run(3000);
    ASSERT_TRUE(h.app.link.MonitorConnected);
    // Connecting, and requests typed in the comm log, change no saved data.
    for (const char c : std::string("ddfl\r")) {
        h.act([&] { h.app.frmCommLog.txtCommLog_KeyPress(c); });
    }
    h.run(10'000);
    ASSERT_EQ(h.app.data.L.FValue[0][0], 128 + 7);
    EXPECT_FALSE(h.app.data.DataChanged);

    h.act([&] { h.app.frmMain.mnuMonitorUpdate_Click(); });
    h.run(60'000);
    EXPECT_TRUE(h.app.data.DataChanged) << "the walk read the unit's data";

    h.dialogs.saveChoices.push_back(choice("walk.mdv"));
    const std::size_t before = h.linesWritten().size();
    MonitorData saved;
    h.act([&] {
        h.app.frmMain.mnuFileSaveAs_Click();
        saved = h.app.data;
    });
    EXPECT_FALSE(h.app.data.DataChanged);
    // Saving starts the walk over (the walk alone never asks for item 0 again).
    h.run(500);
    const auto written = h.linesWritten();
    EXPECT_NE(std::find(written.begin() + long(before), written.end(), "da"), written.end());
    // The next Save As (cancelled) starts in the folder of this one.
    h.act([&] { h.app.frmMain.mnuFileSaveAs_Click(); });
    EXPECT_TRUE(h.dialogs.messages.empty());
    const std::string folder = dir.string() + std::string(kNativeSeparator);
    EXPECT_EQ(h.setting("Configs", "FileSaveInitDir"), folder);
    EXPECT_EQ(h.dialogs.saveRequests.at(1).initialDir, folder);
    EXPECT_EQ(h.app.mainView.caption, h.app.AppCaption + " -- walk.mdv");

    const std::string text = contents(dir / "walk.mdv");
    // Header, date, identity with the CRT lines (firmware 2.24), counts, and six
    // scan sets of 28 DAC lines with number and name, the ones the walk never asks.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + 11 + 6 + 6 * 30);
    EXPECT_NE(text.find("\r\n\"CRT Serial Number: \",\"\"\r\n"), npos);
    EXPECT_NE(text.find("\r\n\"ScanSetName\",\"Scan Set 5\"\r\n"), npos);

    // Another tool reads the same data set, so writes the same file.
    AppHarness other;
    other.startSettled();
    open(other, choice("walk.mdv"));
    EXPECT_TRUE(other.dialogs.messages.empty());
    const DateTime created{2024, 3, 7, 14, 5, 9};
    EXPECT_EQ(other.app.data.FirmwareVersionCode, saved.FirmwareVersionCode);
    EXPECT_EQ(formatMdv(other.app.data, true, created), formatMdv(saved, true, created));

    // The same values read again (a reconnect, hours running on) change
    // nothing; a value the unit changed does.
    h.unit.setSilent(true);
    h.run(10'000);
    ASSERT_FALSE(h.app.link.MonitorConnected);
    h.unit.setSilent(false);
    h.run(60'000);
    ASSERT_TRUE(h.app.link.MonitorConnected);
    EXPECT_FALSE(h.app.data.DataChanged);
    ASSERT_TRUE(sim::runControlCommand(h.unit, "dac l f 1 9", h.clock.nowMs()).ok);
    h.run(60'000);
    EXPECT_TRUE(h.app.data.DataChanged);

    // Exit asks first; Yes saves the file again, then the tool ends.
    h.dialogs.answers = {true};
    h.act([&] { h.app.frmMain.mnuFileExit_Click(); });
    h.run(100); // past a write's pause that holds the click back
    EXPECT_EQ(h.dialogs.questions.size(), 1u);
    EXPECT_TRUE(h.app.quitRequested());
    const std::string again = contents(dir / "walk.mdv");
    const auto line = again.find("\"Master Brightness\",");
    ASSERT_NE(line, npos);
    EXPECT_NE(again.substr(line, again.find('\n', line) - line).find(",9,"), npos);
}

} // namespace
} // namespace orlix
