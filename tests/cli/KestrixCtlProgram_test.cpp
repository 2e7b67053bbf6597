// SPDX-License-Identifier: MIT
// The built program itself: argument handling that only the process sees (--simulate, the
// environment, exit statuses) and its output parsed as a script would.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTestBench.h"
#include "support/ShellRun.h"

namespace kestrix::testing {
namespace {

using ProgramRun = testing::ShellRun;

// Runs <build>/bin/kestrixctl with arguments (already shell-quoted) and stderr dropped.
ProgramRun RunProgram(const std::string& arguments, const std::string& environment = {}) {
    const std::string command = environment + " " + std::string(KESTRIX_BINARY_DIR) +
                                "/bin/kestrixctl " + arguments + " 2>/dev/null";
    return testing::RunShellCommand(command);
}

TEST(KestrixCtlProgram, SimulatedMiceAndJsonThatParses) {
    CliFolders folders;
    const ProgramRun devices = RunProgram("--simulate --json devices");
    ASSERT_EQ(devices.exitCode, 0) << devices.out;
    EXPECT_EQ(nlohmann::json::parse(devices.out)["devices"].size(), 2u);
    // The scenario comes from the environment as well; the word after --simulate is the command.
    const ProgramRun harrier = RunProgram("--json info", "KESTRIX_SIMULATE=harrier_pro");
    ASSERT_EQ(harrier.exitCode, 0) << harrier.out;
    EXPECT_EQ(nlohmann::json::parse(harrier.out)["model"], 201);
    EXPECT_EQ(RunProgram("--simulate=nonsense devices").exitCode, 2);
    EXPECT_EQ(RunProgram("--simulate set button_respondtime 99").exitCode, 2);
}

TEST(KestrixCtlProgram, AMouseThatIsSwitchedOffIsADeviceFailure) {
    CliFolders folders;
    const ProgramRun run = RunProgram("--simulate=receiver-off --json set button_respondtime 8");
    EXPECT_EQ(run.exitCode, 1);
    const nlohmann::json error = nlohmann::json::parse(run.out);
    EXPECT_EQ(error["exit_code"], 1);
    EXPECT_EQ(
        error["error"],
        "the mouse of the receiver \"Kestrix Harrier Pro Receiver\" at "
        "sim/harrier_pro-receiver/if2 does not answer (switched off or out of range); nothing "
        "was done (name another attached mouse with --model N)");
}

TEST(KestrixCtlProgram, SimulatedMouseKeepsWhatWasWrittenUntilFactoryState) {
    CliFolders folders;
    ASSERT_EQ(RunProgram("--simulate=vireo set liftoff_height 2").exitCode, 0);
    // Another process with a store of its own reads what the first one wrote into the mouse.
    const std::string otherStore = "XDG_DATA_HOME=" + folders.Path() + "/other-data";
    const std::string command = "--simulate=vireo --json get liftoff_height";
    ASSERT_EQ(RunProgram("--simulate=vireo read", otherStore).exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(RunProgram(command, otherStore).out)["liftoff_height"], 2);
    // Factory state: the mouse holds its factory value again.
    const std::string fresh = "XDG_DATA_HOME=" + folders.Path() + "/fresh-data";
    ASSERT_EQ(RunProgram("--simulate=vireo:factory read", fresh).exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(RunProgram(command, fresh).out)["liftoff_height"], 1);
}

}  // namespace
}  // namespace kestrix::testing
