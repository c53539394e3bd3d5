// The About box's System Info and Help Topics: the route each takes with or
// without the Windows tools, none ending without something on the screen.
#include "support/app_harness.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>

namespace orlix {
namespace {

// A program that is present starts.
struct FakeSystemTools : SystemTools {
    bool startProgram(std::string_view program, const std::vector<std::string>& args) override {
        started.push_back(std::string(program));
        for (const std::string& arg : args) {
            started.back() += " " + arg;
        }
        return fileExists(program);
    }
    std::optional<std::string> registryValue(std::string_view key, std::string_view name) override {
        const auto it = registry.find(std::string(key) + "@" + std::string(name));
        return it == registry.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool fileExists(std::string_view path) override { return present.count(std::string(path)); }
    bool showManual() override { return ++shown, ownWindows; }
    bool showSystemInfo() override { return ++shown, ownWindows; }

    std::map<std::string, std::string> registry;
    std::set<std::string> present;
    bool ownWindows = true;
    std::vector<std::string> started; // each program with its arguments
    int shown = 0;                    // the tool's own windows shown
};

const std::string kPath = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO@PATH";
const std::string kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location@MSINFO";
const std::string kDir = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string kMsinfo = kDir + "\\msinfo32.exe";
const std::string kDirExe = kDir + "\\MSINFO32.EXE";
const std::string kHlp = "orlix3.hlp";
const std::string kWinHelp = "C:\\windows\\winhelp.exe";
const std::string kWinHlp32 = "C:\\winnt\\winhlp32.exe";
const std::string kNoInfo = "System Information Is Unavailable At This Time";
const std::string kNoHelp = "The help viewer could not be started on this system.";

enum class Asked { SystemInfo, HelpTopics };
constexpr Asked kInfo = Asked::SystemInfo;
constexpr Asked kHelp = Asked::HelpTopics;

struct RouteCase {
    const char* name;
    Asked asked;
    std::map<std::string, std::string> registry;
    std::set<std::string> present;
    bool ownWindows;
    std::vector<std::string> started;
    int shown;
    std::string message;
};

void PrintTo(const RouteCase& c, std::ostream* os) {
    *os << c.name;
}

class AboutRoutes : public ::testing::TestWithParam<RouteCase> {};

TEST_P(AboutRoutes, EndInAToolOrAWindowAndOnlyThenInAMessage) {
    const RouteCase& c = GetParam();
    test::AppHarness h;
    FakeSystemTools system;
    system.registry = c.registry;
    system.present = c.present;
    system.ownWindows = c.ownWindows;
    h.app.ports.system = &system;

    if (c.asked == kInfo) {
        h.app.frmAbout.cmdSysInfo_Click();
    } else {
        h.app.frmAbout.showHelpTopics();
    }

    EXPECT_EQ(system.started, c.started);
    EXPECT_EQ(system.shown, c.shown);
    ASSERT_EQ(h.dialogs.messages.size(), c.message.empty() ? 0U : 1U);
    if (!c.message.empty()) {
        EXPECT_EQ(h.dialogs.messages[0].text, c.message);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Routes, AboutRoutes, ::testing::Values(
    RouteCase{"InfoPathWithBlanksStartsAsOneProgram", kInfo, {{kPath, kMsinfo}}, {kMsinfo}, true, {kMsinfo}, 0, ""},
    RouteCase{"InfoQuotedPathLosesItsQuotes", kInfo, {{kPath, '"' + kMsinfo + '"'}}, {kMsinfo}, true, {kMsinfo}, 0, ""},
    RouteCase{"InfoPathThatWillNotStartOpensTheOwnWindow", kInfo, {{kPath, kMsinfo}}, {}, true, {kMsinfo}, 1, ""},
    RouteCase{"InfoFolderEntryStartsTheProgramInIt", kInfo, {{kFolderKey, kDir}}, {kDirExe}, true, {kDirExe}, 0, ""},
    RouteCase{"InfoFolderWithoutTheProgramOpensTheOwnWindow", kInfo, {{kFolderKey, kDir}}, {}, true, {}, 1, ""},
    RouteCase{"InfoWithoutRegistryOpensTheOwnWindow", kInfo, {}, {}, true, {}, 1, ""},
    RouteCase{"InfoWithNoRouteAtAllSaysSo", kInfo, {}, {}, false, {}, 1, kNoInfo},
    RouteCase{"HelpWithoutHelpFileOpensTheManual", kHelp, {}, {kWinHelp}, true, {}, 1, ""},
    RouteCase{"HelpFileGoesToTheFirstViewer", kHelp, {}, {kHlp, kWinHelp}, true, {kWinHelp + " " + kHlp}, 0, ""},
    RouteCase{"HelpFileGoesToTheSecondViewerWhenTheFirstFails", kHelp, {}, {kHlp, kWinHlp32}, true,
              {kWinHelp + " " + kHlp, kWinHlp32 + " " + kHlp}, 0, ""},
    RouteCase{"HelpOpensTheManualWhenBothViewersFail", kHelp, {}, {kHlp}, true,
              {kWinHelp + " " + kHlp, kWinHlp32 + " " + kHlp}, 1, ""},
    RouteCase{"HelpWithNoRouteAtAllSaysSo", kHelp, {}, {}, false, {}, 1, kNoHelp}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(AboutRoutes, WithoutSystemToolsBothSaySo) {
    test::AppHarness h;
    h.app.frmAbout.cmdSysInfo_Click();
    h.app.frmAbout.showHelpTopics();
    ASSERT_EQ(h.dialogs.messages.size(), 2U);
    EXPECT_EQ(h.dialogs.messages[0].text, kNoInfo);
    EXPECT_EQ(h.dialogs.messages[1].text, kNoHelp);
}

} // namespace
} // namespace orlix
