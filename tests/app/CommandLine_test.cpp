// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(CommandLine, HideSwitchAnywhereAndCaseSensitive) {
    const struct {
        const char* line;
        bool hidden;
    } cases[] = {
        {"-hide", true},   {"--simulate -hide", true}, {"-autorun -hide --log x", true},
        {"x-hidey", true},  // inside a longer word still counts
        {"-HIDE", false},  {"-Hide", false},           {"-hid e", false},
        {"", false},       {"-autorun", false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasHideSwitch(c.line), c.hidden) << c.line;
}

TEST(CommandLine, JoinsArgumentsAfterTheProgram) {
    const char* argv[] = {"/usr/bin/kestrix", "--simulate", "-hide", nullptr};
    EXPECT_EQ(JoinCommandLine(3, argv), "--simulate -hide");
    EXPECT_EQ(JoinCommandLine(1, argv), "");
    // The program path itself never counts, even when it contains the switch.
    const char* odd[] = {"/opt/x-hide/kestrix"};
    EXPECT_FALSE(HasHideSwitch(JoinCommandLine(1, odd)));
}

}  // namespace
}  // namespace kestrix
