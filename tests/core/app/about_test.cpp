// The About box's System Info button and Help Topics: which route each
// takes on a system with or without the Windows tools, and that no route
// ends without something on the screen.
#include "support/app_harness.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace orlix {
namespace {

struct FakeSystemTools : SystemTools {
    bool startProgram(std::string_view program,
                      const std::vector<std::string>& arguments) override {
        started.push_back(std::string(program));
        for (const std::string& argument : arguments) {
            started.back() += " | " + argument;
        }
        return startable.count(std::string(program)) > 0;
    }
    std::optional<std::string> registryValue(std::string_view key, std::string_view name) override {
        const auto it = registry.find(std::string(key) + "@" + std::string(name));
        return it == registry.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool fileExists(std::string_view path) override { return files.count(std::string(path)) > 0; }
    bool showManual() override {
        ++manualShown;
        return ownWindows;
    }
    bool showSystemInfo() override {
        ++infoShown;
        return ownWindows;
    }

    std::map<std::string, std::string> registry;
    std::set<std::string> files;
    std::set<std::string> startable;
    bool ownWindows = true;
    std::vector<std::string> started; // program, then " | " and each argument
    int manualShown = 0;
    int infoShown = 0;
};

constexpr const char* kMsinfoPath = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO@PATH";
constexpr const char* kMsinfoFolder = "SOFTWARE\\Microsoft\\Shared Tools Location@MSINFO";
constexpr const char* kProgramFiles =
    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

struct SysInfoCase {
    const char* name;
    std::map<std::string, std::string> registry;
    std::set<std::string> files;
    std::set<std::string> startable;
    bool ownWindows;
    std::vector<std::string> started;
    int infoShown;
    bool message;
};

class SystemInfoRoute : public ::testing::TestWithParam<SysInfoCase> {};

TEST_P(SystemInfoRoute, EndsInAToolOrAWindowAndOnlyThenInTheMessage) {
    const SysInfoCase& c = GetParam();
    test::AppHarness h;
    FakeSystemTools system;
    system.registry = c.registry;
    system.files = c.files;
    system.startable = c.startable;
    system.ownWindows = c.ownWindows;
    h.app.ports.system = &system;

    h.app.frmAbout.cmdSysInfo_Click();

    EXPECT_EQ(system.started, c.started);
    EXPECT_EQ(system.infoShown, c.infoShown);
    ASSERT_EQ(h.dialogs.messages.size(), c.message ? 1U : 0U);
    if (c.message) {
        EXPECT_EQ(h.dialogs.messages[0].text, kSysInfoUnavailable);
    }
}

const std::string kFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string kFolderProgram = kFolder + "\\MSINFO32.EXE";

INSTANTIATE_TEST_SUITE_P(
    Routes, SystemInfoRoute,
    ::testing::Values(SysInfoCase{"PathWithBlanksStartsAsOneProgram",
                                  {{kMsinfoPath, kProgramFiles}},
                                  {},
                                  {kProgramFiles},
                                  true,
                                  {kProgramFiles},
                                  0,
                                  false},
                      SysInfoCase{"QuotedPathLosesItsQuotes",
                                  {{kMsinfoPath, std::string("\"") + kProgramFiles + "\""}},
                                  {},
                                  {kProgramFiles},
                                  true,
                                  {kProgramFiles},
                                  0,
                                  false},
                      SysInfoCase{"PathThatWillNotStartFallsToTheOwnWindow",
                                  {{kMsinfoPath, kProgramFiles}},
                                  {},
                                  {},
                                  true,
                                  {kProgramFiles},
                                  1,
                                  false},
                      SysInfoCase{"FolderEntryStartsTheProgramInIt",
                                  {{kMsinfoFolder, kFolder}},
                                  {kFolderProgram},
                                  {kFolderProgram},
                                  true,
                                  {kFolderProgram},
                                  0,
                                  false},
                      SysInfoCase{"FolderWithoutTheProgramStartsNothing",
                                  {{kMsinfoFolder, kFolder}},
                                  {},
                                  {kFolderProgram},
                                  true,
                                  {},
                                  1,
                                  false},
                      SysInfoCase{"NoRegistryOpensTheOwnWindow", {}, {}, {}, true, {}, 1, false},
                      SysInfoCase{"NoRouteAtAllSaysSo", {}, {}, {}, false, {}, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemInfoRoute, WithoutSystemToolsSaysSo) {
    test::AppHarness h;
    h.app.frmAbout.cmdSysInfo_Click();
    ASSERT_EQ(h.dialogs.messages.size(), 1U);
    EXPECT_EQ(h.dialogs.messages[0].text, kSysInfoUnavailable);
}

struct HelpCase {
    const char* name;
    std::set<std::string> files;
    std::set<std::string> startable;
    bool ownWindows;
    std::vector<std::string> started;
    int manualShown;
    bool message;
};

class HelpTopicsRoute : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpTopicsRoute, OpensTheManualUnlessAViewerShowsTheHelpFile) {
    const HelpCase& c = GetParam();
    test::AppHarness h;
    FakeSystemTools system;
    system.files = c.files;
    system.startable = c.startable;
    system.ownWindows = c.ownWindows;
    h.app.ports.system = &system;

    h.app.frmAbout.showHelpTopics();

    EXPECT_EQ(system.started, c.started);
    EXPECT_EQ(system.manualShown, c.manualShown);
    EXPECT_EQ(h.dialogs.messages.size(), c.message ? 1U : 0U);
}

const std::string kWinHelp = "C:\\windows\\winhelp.exe";
const std::string kWinHlp32 = "C:\\winnt\\winhlp32.exe";

INSTANTIATE_TEST_SUITE_P(
    Routes, HelpTopicsRoute,
    ::testing::Values(
        HelpCase{"NoHelpFileOpensTheManualAndStartsNothing", {}, {kWinHelp}, true, {}, 1, false},
        HelpCase{"HelpFileGoesToTheFirstViewer",
                 {"orlix3.hlp"},
                 {kWinHelp},
                 true,
                 {kWinHelp + " | orlix3.hlp"},
                 0,
                 false},
        HelpCase{"SecondViewerWhenTheFirstFails",
                 {"orlix3.hlp"},
                 {kWinHlp32},
                 true,
                 {kWinHelp + " | orlix3.hlp", kWinHlp32 + " | orlix3.hlp"},
                 0,
                 false},
        HelpCase{"ManualWhenBothViewersFail",
                 {"orlix3.hlp"},
                 {},
                 true,
                 {kWinHelp + " | orlix3.hlp", kWinHlp32 + " | orlix3.hlp"},
                 1,
                 false},
        HelpCase{"MessageOnlyWhenNothingCanShowHelp", {}, {}, false, {}, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orlix
