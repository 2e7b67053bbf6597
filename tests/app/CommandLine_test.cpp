// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Version.h"

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

TEST(CommandLine, InformationRequestsAnswerInsteadOfStarting) {
    const auto ask = [](std::vector<const char*> arguments) {
        arguments.insert(arguments.begin(), "kestrix");
        return InformationRequest(static_cast<int>(arguments.size()), arguments.data());
    };
    EXPECT_EQ(ask({"--version"}), "kestrix " + std::string(ProgramVersion()) + "\n");
    const std::optional<std::string> help = ask({"--simulate", "-h"});
    ASSERT_TRUE(help.has_value());
    for (const WindowOption& option : WindowOptions())
        EXPECT_NE(help->find(option.name), std::string::npos) << option.name;
    EXPECT_EQ(ask({"--man"}).value_or("").rfind(".TH KESTRIX 1 ", 0), 0u);
    // Command lines that start the window, including one that only resembles a request.
    for (const char* argument : {"-hide", "--tour", "--simulate=default", "--helpful", "-hv"})
        EXPECT_FALSE(ask({argument}).has_value()) << argument;
    EXPECT_FALSE(ask({}).has_value());
}

}  // namespace
}  // namespace kestrix
