// Typed reads of stored text: a malformed or out-of-range value gives the
// default and never stops the tool.
#include "core/app/settings.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace orlix {
namespace {

TEST(Settings, WholeNumbers) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {{"12", 12},
                          {" -7 ", -7},
                          {"+3", 3},
                          {"2.5", 2},
                          {"3.5", 4},
                          {"", std::nullopt},
                          {"x", std::nullopt},
                          {"1x", std::nullopt},
                          {"99999999999", std::nullopt},
                          {"0x10", std::nullopt},
                          {"inf", std::nullopt},
                          {"nan", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(parseSettingInt(c.text), c.value) << c.text;
    }
}

TEST(Settings, Flags) {
    struct Case {
        const char* text;
        std::optional<bool> value;
    };
    const Case cases[] = {{"True", true},        {"false", false},  {"TRUE", true},
                          {"1", true},           {"0", false},      {"-1", true},
                          {"yes", std::nullopt}, {"", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(parseSettingFlag(c.text), c.value) << c.text;
    }
}

TEST(Settings, TypedReadsFallBackToTheirDefaults) {
    test::FakeSettingsStore store;
    Settings settings(store);
    EXPECT_EQ(settings.readInt16(keys::ConnectRetryLimit), 5);
    store.set("Configs", "ConnectRetryLimit", "40000");
    EXPECT_EQ(settings.readInt16(keys::ConnectRetryLimit), 5) << "beyond 16 bits";
    store.set("Configs", "CommPort", "9");
    EXPECT_EQ(settings.readInt16(keys::CommPort), 1) << "beyond the key's range";
    store.set("Configs", "ConnectRetryLimit", "9");
    EXPECT_EQ(settings.readInt16(keys::ConnectRetryLimit), 9);
    EXPECT_EQ(settings.readText(keys::FileSaveInitDir), "C:\\Program Files\\Orlix3");
    EXPECT_FALSE(settings.readFlag(keys::CommLogEnabled));
    store.set("Configs", "CommLogEnabled", "garbage");
    EXPECT_FALSE(settings.readFlag(keys::CommLogEnabled));
    store.set("Configs", "CommLogEnabled", "true");
    EXPECT_TRUE(settings.readFlag(keys::CommLogEnabled));
    EXPECT_EQ(settings.readSingle(keys::TimedOutWidth, 4800), 4800);
    store.set("Configs", "TimedOutWidth", "5000.5");
    EXPECT_EQ(settings.readSingle(keys::TimedOutWidth, 4800), 5000.5);
}

TEST(Settings, NumbersAreStoredAsTheirText) {
    EXPECT_EQ(singleText(1440), "1440");
    EXPECT_EQ(singleText(240.5), "240.5");
    EXPECT_EQ(flagText(true), "True");
    EXPECT_EQ(flagText(false), "False");
}

} // namespace
} // namespace orlix
