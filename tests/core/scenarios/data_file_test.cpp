// The File menu on the whole tool: what the dialogs are asked, captions,
// the remembered folder, failures the user is told about, and a unit's data
// set saved by one tool and opened in another.
#include "core/data/mdv_writer.h"
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

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> messageTexts(const test::FakeDialogs& dialogs) {
    std::vector<std::string> texts;
    for (const auto& m : dialogs.messages) {
        texts.push_back(m.text);
    }
    return texts;
}

class DataFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device entropy;
        dir = fs::temp_directory_path() / ("orlix6-data-file-" + std::to_string(entropy()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    FileChoice choice(const std::string& name) const { return {(dir / name).string(), name}; }
    FileChoice golden(const std::string& name) const {
        fs::copy_file(kGolden / name, dir / name);
        return choice(name);
    }
    static std::string caption(const AppHarness& h, std::string_view text) {
        return h.app.AppCaption + " -- " + std::string(text);
    }

    fs::path dir;
};

TEST_F(DataFile, SaveAsOffersTheDataFilesAndRemembersTheFolderWithItsSeparator) {
    AppHarness h;
    h.startSettled();
    h.dialogs.saveChoices.push_back(choice("a.mdv"));
    h.act([&] { h.app.frmMain.mnuFileSaveAs_Click(); });

    ASSERT_EQ(h.dialogs.saveRequests.size(), 1u);
    const FileDialogRequest& r = h.dialogs.saveRequests[0];
    EXPECT_EQ(r.filter, "Monitor Data Files (*.mdv)|*.mdv|All Files (*.*)|*.*");
    EXPECT_EQ(r.initialName, "*.mdv");
    EXPECT_EQ(r.initialDir, "C:\\Program Files\\Orlix3");
    EXPECT_TRUE(r.promptOverwrite);
    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(contents(dir / "a.mdv").substr(0, 35), "\"Norvique Monitor DAC Value File\"\r\n");
    EXPECT_EQ(h.app.mainView.caption, caption(h, "a.mdv"));
    const std::string folder = dir.string() + std::string(kNativeSeparator);
    EXPECT_EQ(h.setting("Configs", "FileSaveInitDir"), folder);
    EXPECT_FALSE(h.app.data.FileIsOpen);
    EXPECT_FALSE(h.app.mainView.busy);

    h.act([&] { h.app.frmMain.mnuFileSaveAs_Click(); }); // cancelled
    ASSERT_EQ(h.dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(h.dialogs.saveRequests[1].initialDir, folder);
    EXPECT_TRUE(h.dialogs.messages.empty());
}

TEST(FileCommandsFolder, IsThePathUpToItsLastSeparatorWhicheverKind) {
    struct Case {
        std::string_view path;
        std::string_view folder;
    };
    const Case cases[] = {
        {"C:\\Data\\a.mdv", "C:\\Data\\"},
        {"/home/tech/units/a.mdv", "/home/tech/units/"},
        {"/a.mdv", "/"},
        {"D:/x/y.mdv", "D:/x/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileCommands::folderOf(c.path), c.folder);
    }
    const std::string current = fs::current_path().string() + std::string(kNativeSeparator);
    EXPECT_EQ(FileCommands::folderOf("a.mdv"), current);
}

TEST_F(DataFile, OpenReadsTheFileThroughTheReplyHandlersAndShowsItsName) {
    AppHarness h;
    h.startSettled();
    h.dialogs.openChoices.push_back(golden("valid_connected.mdv"));
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });

    ASSERT_EQ(h.dialogs.openRequests.size(), 1u);
    const FileDialogRequest& r = h.dialogs.openRequests[0];
    EXPECT_EQ(r.filter,
              "Monitor Data Files(*.mdv)|*.mdv|Text Files(*.txt)|*.txt|All files(*.*)|*.*");
    EXPECT_TRUE(r.mustExist);
    EXPECT_TRUE(r.initialDir.empty());
    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(h.app.mainView.caption, caption(h, "valid_connected.mdv"));

    const MonitorData& d = h.app.data;
    EXPECT_EQ(d.FirmwareVersion, "V 2.24");
    EXPECT_EQ(d.FirmwareVersionCode, 224);
    EXPECT_EQ(d.RomVersion, "V 1.05");
    EXPECT_EQ(h.app.versionView.lblMonitorFirmwareVersionValue, "V 2.24");
    EXPECT_EQ(d.ModelNumber, "XYZ-100");
    EXPECT_EQ(d.OperatingHours, "523:07:42:18");
    EXPECT_EQ(d.OperatingCycles, "1873");
    EXPECT_EQ(d.V.PValue[1][6], 100 + 22 + 60);
    EXPECT_TRUE(d.FileIsOpen);
    EXPECT_TRUE(d.FileOpenForInput);
    EXPECT_FALSE(d.DataChanged);
    EXPECT_EQ(d.DataFilePath, (dir / "valid_connected.mdv").string());
    EXPECT_EQ(d.DataFileTitle, "valid_connected.mdv");
}

TEST_F(DataFile, OpenOfAFileThatIsNoDataFileShowsItsNameAndTheReadersMessage) {
    AppHarness h;
    h.startSettled();
    h.dialogs.openChoices.push_back(golden("not_mdv.mdv"));
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    EXPECT_EQ(messageTexts(h.dialogs),
              (std::vector<std::string>{"File not_mdv.mdv is not in .mdv format"}));
    EXPECT_EQ(h.app.mainView.caption, caption(h, "not_mdv.mdv"));
    EXPECT_FALSE(h.app.data.FileIsOpen);
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
    EXPECT_EQ(messageTexts(h.dialogs),
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

TEST_F(DataFile, SaveWritesTheFileReadInFullAndOtherwiseAsksWhereToSave) {
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuFileSave_Click(); }); // nothing open: Save As
    EXPECT_EQ(h.dialogs.saveRequests.size(), 1u);

    const FileChoice good = golden("valid_offline_small.mdv");
    h.dialogs.openChoices.push_back(good);
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.app.data.L.Value[0][1] = 4321;
    h.act([&] { h.app.frmMain.mnuFileSave_Click(); });
    EXPECT_EQ(h.dialogs.saveRequests.size(), 1u);
    EXPECT_NE(contents(good.path).find("\"Master Brightness\",4321,"), std::string::npos);

    // A file that stopped at an error is never written over by Save: the
    // lines after the error would be lost.
    const FileChoice broken = golden("name_not_found.mdv");
    h.dialogs.openChoices.push_back(broken);
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.act([&] { h.app.frmMain.mnuFileSave_Click(); });
    EXPECT_EQ(h.dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(contents(broken.path), contents(kGolden / "name_not_found.mdv"));
}

TEST_F(DataFile, CloseAsksAboutChangesAndLeavesNoFile) {
    constexpr std::string_view kQuestion =
        "The data has been changed. Do you wish to save changes?";
    AppHarness h;
    h.startSettled();
    h.act([&] { h.app.frmMain.mnuFileClose_Click(); });
    EXPECT_EQ(h.app.mainView.caption, h.app.AppCaption + " -- (No File)");
    EXPECT_TRUE(h.dialogs.questions.empty());
    EXPECT_TRUE(h.dialogs.messages.empty());

    const FileChoice file = golden("valid_offline_small.mdv");
    h.dialogs.openChoices.push_back(file);
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.app.data.DataChanged = true;
    h.dialogs.answers = {false};
    h.act([&] { h.app.frmMain.mnuFileClose_Click(); });
    EXPECT_EQ(h.dialogs.questions, (std::vector<std::string>{std::string(kQuestion)}));
    EXPECT_EQ(contents(file.path), contents(kGolden / "valid_offline_small.mdv"));
    EXPECT_FALSE(h.app.data.FileIsOpen);

    // Yes writes the open file before it is closed.
    h.dialogs.openChoices.push_back(file);
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    h.app.data.L.Value[0][0] = 999;
    h.app.data.DataChanged = true;
    h.dialogs.answers = {true};
    h.act([&] { h.app.frmMain.mnuFileClose_Click(); });
    EXPECT_NE(contents(file.path).find("\"Master Contrast\",999,"), std::string::npos);
    EXPECT_EQ(h.app.mainView.caption, h.app.AppCaption + " -- (No File)");

    // Yes with nowhere to save (Save As cancelled) keeps the changes open.
    h.app.data.DataChanged = true;
    h.dialogs.answers = {true};
    h.act([&] { h.app.frmMain.mnuFileOpen_Click(); });
    EXPECT_EQ(h.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(h.dialogs.openRequests.size(), 2u); // the open dialog never came
    EXPECT_TRUE(h.app.data.DataChanged);
}

// Everything of a unit's data set that a file carries.
void expectSameDataSet(const MonitorData& a, const MonitorData& b) {
    EXPECT_EQ(b.NumScanSets, a.NumScanSets);
    for (const GroupId g : {GroupId::L, GroupId::B, GroupId::H, GroupId::V, GroupId::N}) {
        const DacGroup& x = a.group(g);
        const DacGroup& y = b.group(g);
        EXPECT_EQ(y.count, x.count);
        for (int s = 0; s < a.NumScanSets; ++s) {
            if (!scanSetWritten(a, s)) {
                continue;
            }
            const auto si = static_cast<std::size_t>(s);
            for (int i = 0; i < kMaxDacs; ++i) {
                if (i >= x.count && !(g == GroupId::H && i == kHorizSCapIndex)) {
                    continue;
                }
                const auto di = static_cast<std::size_t>(i);
                EXPECT_EQ(y.Value[si][di], x.Value[si][di]) << s << "," << i;
                EXPECT_EQ(y.FValue[si][di], x.FValue[si][di]) << s << "," << i;
                EXPECT_EQ(y.PValue[si][di], x.PValue[si][di]) << s << "," << i;
            }
        }
    }
    for (const auto member :
         {&MonitorData::ModelNumber, &MonitorData::SerialNumber, &MonitorData::PartNumber,
          &MonitorData::CrtSerialNumber, &MonitorData::CrtPartNumber, &MonitorData::FirmwareVersion,
          &MonitorData::RomVersion, &MonitorData::OperatingHours, &MonitorData::OperatingCycles}) {
        EXPECT_EQ(b.*member, a.*member);
    }
    EXPECT_EQ(b.FirmwareVersionCode, a.FirmwareVersionCode);
    EXPECT_EQ(b.HVUpperLimit, a.HVUpperLimit);
    EXPECT_EQ(b.HVLowerLimit, a.HVLowerLimit);
}

std::vector<std::string> fileLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

TEST_F(DataFile, AUnitsDataSetSavedByOneToolOpensInAnother) {
    SimHarness unit;
    unit.start();
    unit.run(3000);
    unit.act([&] { unit.app.frmMain.mnuMonitorUpdate_Click(); });
    unit.run(60'000);
    ASSERT_TRUE(unit.app.link.MonitorConnected);
    ASSERT_EQ(unit.app.data.ModelNumber, "XYZ-100");
    ASSERT_EQ(unit.app.data.L.FValue[0][0], 128 + 7); // the walk filled scan set 0
    ASSERT_EQ(unit.app.data.V.PValue[0][1], 60 + 13 + 23);

    unit.dialogs.saveChoices.push_back(choice("unit.mdv"));
    const std::size_t before = unit.linesWritten().size();
    MonitorData saved;
    unit.act([&] {
        unit.app.frmMain.mnuFileSaveAs_Click();
        saved = unit.app.data;
    });
    // Saving starts the data walk over; the walk alone never asks for item
    // 0 again.
    unit.run(500);
    EXPECT_TRUE(unit.dialogs.messages.empty());
    const auto written = unit.linesWritten();
    EXPECT_NE(std::find(written.begin() + long(before), written.end(), "da"), written.end());

    const auto lines = fileLines(contents(dir / "unit.mdv"));
    // Header, date, identity with the CRT lines (firmware 2.24), counts, and
    // six scan sets of 30 DAC lines each with their number and name.
    ASSERT_EQ(lines.size(), 3u + 11u + 6u + 6u * 30u);
    EXPECT_EQ(lines[3], R"("Model Number: ","XYZ-100")");
    // The walk never asks for the CRT numbers; their lines are there empty.
    EXPECT_EQ(lines[6], R"("CRT Serial Number: ","")");
    EXPECT_EQ(lines[21], R"("ScanSetName","Scan Set 0")");

    AppHarness other;
    other.startSettled();
    other.dialogs.openChoices.push_back(choice("unit.mdv"));
    other.act([&] { other.app.frmMain.mnuFileOpen_Click(); });
    EXPECT_TRUE(other.dialogs.messages.empty());
    expectSameDataSet(saved, other.app.data);
}

} // namespace
} // namespace orlix
