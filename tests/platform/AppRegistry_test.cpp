// SPDX-License-Identifier: MIT
#include "platform/AppRegistry.h"

#include "platform/PlatformTestSupport.h"
#include "support/FakeAppRegistry.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace kestrix {
namespace {

using test::ScopedEnv;
using test::TempFolder;

// The key rules every implementation keeps: writes before the first read are dropped, the
// read creates the key, then values round-trip and unknown or odd texts read as 0.
void CheckKeyRules(AppRegistry& registry) {
    EXPECT_FALSE(registry.WriteAppRegistryString(kLcidValue, "1033"));
    EXPECT_EQ(registry.ReadAppRegistryInt(kLcidValue), 0);
    EXPECT_EQ(registry.ReadAppRegistryInt(kExitModeValue), 0);

    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"1033", 1033}, {"101", 101}, {"-5", -5},         {"  42x", 42},
        {"abc", 0},     {"", 0},      {"99999999999", 0},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(registry.WriteAppRegistryString(kDeviceTypeValue, c.text)) << c.text;
        EXPECT_EQ(registry.ReadAppRegistryInt(kDeviceTypeValue), c.expected) << c.text;
    }
    // Only the first 255 bytes are read: digits beyond them do not count.
    EXPECT_TRUE(
        registry.WriteAppRegistryString(kAutorunMinimizeValue, std::string(254, ' ') + "12"));
    EXPECT_EQ(registry.ReadAppRegistryInt(kAutorunMinimizeValue), 1);
}

TEST(AppRegistry, ReadCreatesTheKeyAndWriteNeverDoes) {
    TempFolder temp;
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.Path());
    LinuxAppRegistry registry("Kestrix");
    EXPECT_EQ(registry.FilePath(), temp / "Kestrix/registry.ini");
    EXPECT_FALSE(registry.WriteAppRegistryString(kLcidValue, "1033"));
    EXPECT_FALSE(test::Exists(temp / "Kestrix"));
    CheckKeyRules(registry);
}

TEST(AppRegistry, FakeKeepsTheSameKeyRules) {
    FakeAppRegistry registry(false);
    CheckKeyRules(registry);
}

TEST(AppRegistry, FileHoldsOneLinePerValueAndKeepsOthersOnRewrite) {
    TempFolder temp;
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.Path());
    {
        LinuxAppRegistry registry("Kestrix");
        registry.ReadAppRegistryInt(kLcidValue);
        registry.WriteAppRegistryString(kLcidValue, "1033");
        registry.WriteAppRegistryString(kDeviceTypeValue, "101");
        registry.WriteAppRegistryString(kExitModeValue, "1");
        registry.WriteAppRegistryString(kLcidValue, "2052");
    }
    const std::string content = test::ReadText(temp / "Kestrix/registry.ini");
    EXPECT_NE(content.find("\nLCID=2052\nDeviceType=101\nexit_mode=1\n"), std::string::npos)
        << content;

    // A second process (here: a second object) sees the stored values.
    LinuxAppRegistry again("Kestrix");
    EXPECT_EQ(again.ReadAppRegistryInt(kLcidValue), 2052);
    EXPECT_EQ(again.ReadAppRegistryInt(kExitModeValue), 1);
}

TEST(AppRegistry, RefusesNamesAndTextsThatWouldBreakTheFile) {
    TempFolder temp;
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.Path());
    LinuxAppRegistry registry("Kestrix");
    registry.ReadAppRegistryInt(kLcidValue);
    registry.WriteAppRegistryString(kExitModeValue, "0");
    const std::string before = test::ReadText(registry.FilePath());
    test::LogCapture log;
    const std::pair<std::string, std::string> bad[] = {
        {"exit_mode", "1\nexit_mode=0"}, {"a=b", "1"}, {"x\ny", "1"}, {"", "1"}, {"[section]", "1"},
    };
    for (const auto& [name, text] : bad) {
        EXPECT_FALSE(registry.WriteAppRegistryString(name, text)) << name;
    }
    EXPECT_EQ(test::ReadText(registry.FilePath()), before);
    EXPECT_EQ(log.Count("cannot be stored"), std::size(bad));
}

TEST(AppRegistry, WritesFromTwoProcessesAreNotLost) {
    TempFolder temp;
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.Path());
    LinuxAppRegistry registry("Kestrix");
    registry.ReadAppRegistryInt(kLcidValue);
    constexpr int kRounds = 40;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LinuxAppRegistry own("Kestrix");
        for (int i = 1; i <= kRounds; ++i)
            own.WriteAppRegistryString("child" + std::to_string(i), "1");
        _exit(0);
    }
    for (int i = 1; i <= kRounds; ++i)
        registry.WriteAppRegistryString("parent" + std::to_string(i), "1");
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    for (int i = 1; i <= kRounds; ++i) {
        EXPECT_EQ(registry.ReadAppRegistryInt("child" + std::to_string(i)), 1) << i;
        EXPECT_EQ(registry.ReadAppRegistryInt("parent" + std::to_string(i)), 1) << i;
    }
}

TEST(AppRegistry, EmptyProgramNameStillGetsItsOwnFolder) {
    TempFolder temp;
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.Path());
    LinuxAppRegistry registry("");
    EXPECT_EQ(registry.FilePath(), temp / "kestrix/registry.ini");
}

}  // namespace
}  // namespace kestrix
