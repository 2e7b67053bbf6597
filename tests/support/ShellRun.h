// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix::testing {

// What a shell command printed on stdout, and its exit code (-1 when it did not exit normally
// or could not be started).
struct ShellRun {
    int exitCode = -1;
    std::string out;
};

// Runs command through /bin/sh and waits for it.
ShellRun RunShellCommand(const std::string& command);

}  // namespace kestrix::testing
