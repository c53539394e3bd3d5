// Which replies switch the link's mode and which reach the handlers.
#include "core/link/prompt_watch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orlix {
namespace {

enum class Mode { Online, Boot, Offline };

struct Case {
    const char* name;
    Mode mode;
    bool downloading;
    std::string reply;
    bool dispatched;
    std::optional<bool> switchedToBootLoader; // none: no switch
};

class PromptWatchTest : public ::testing::TestWithParam<Case> {};

TEST_P(PromptWatchTest, FollowsTheUnitExceptForDownloadReplies) {
    const Case& c = GetParam();
    LinkFlags link;
    link.OnlineMode = c.mode == Mode::Online;
    link.BootMode = c.mode == Mode::Boot;
    link.OfflineMode = c.mode == Mode::Offline;
    DownloadState download;
    download.DownloadActive = c.downloading;
    bool dispatched = false;
    std::optional<bool> switched;
    PromptWatch watch{PromptWatch::Deps{link, download,
                                        [&](const std::string& r) {
                                            EXPECT_EQ(r, c.reply);
                                            dispatched = true;
                                        },
                                        [&](bool boot) { switched = boot; }}};
    watch.onReply(c.reply);
    EXPECT_EQ(dispatched, c.dispatched);
    EXPECT_EQ(switched, c.switchedToBootLoader);
}

const Case kCases[] = {
    {"OnlineAnswer", Mode::Online, false, "df\r\nV 2.24\r\n#", true, std::nullopt},
    {"BootLoaderQuestionMarkOnline", Mode::Online, false, "dt\r\n?\r\n$", false, true},
    {"BootLoaderPingOnline", Mode::Online, false, "p\r\n$", true, true},
    {"DownloadAddressNeverSwitches", Mode::Online, false, " a\r\nAddr = 0x10\r\n$", true,
     std::nullopt},
    {"ApplicationStarted", Mode::Boot, false, "g\r\nNorvique Monitor Firmware V 2.24\r\n#", true,
     false},
    {"UnknownInBootModeReachesNoHandler", Mode::Boot, false, "ddfv\r\n?\r\n$", false, std::nullopt},
    {"DownloadGoAheadEndsInHash", Mode::Boot, false, "bs\r\nReady\r\n#", true, std::nullopt},
    {"AnythingWhileDownloading", Mode::Boot, true, "p\r\n#", true, std::nullopt},
    {"AttemptLeavesTheModeToItsTry", Mode::Offline, false, "p\r\n$", true, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Replies, PromptWatchTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orlix
