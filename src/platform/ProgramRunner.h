// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <string>
#include <vector>

// Running other programs without a shell: arguments go to the program as they are, so no
// text from a file or the user is ever interpreted by a shell.
namespace kestrix {

// Full path of an executable named name in $PATH (or name itself when it holds a '/' and is
// executable); empty when there is none.
std::string FindProgram(const std::string& name);
// Runs argv (argv[0] searched in $PATH) to its end with standard input from /dev/null and
// returns its exit status; output and errorOutput, when given, receive its standard output and
// (the first 4 KiB of) its standard error. Returns -1 (logged) when the program cannot start,
// dies by a signal or runs longer than timeout (it is then killed). A non-zero exit status is
// the caller's to log.
int RunProgram(const std::vector<std::string>& argv, std::string* output,
               std::string* errorOutput = nullptr,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));
// Starts argv in its own session without waiting for it; a background thread reaps it and
// logs a non-zero exit. False (logged) when it cannot start.
bool StartProgram(const std::vector<std::string>& argv);

}  // namespace kestrix
