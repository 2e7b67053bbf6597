// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrix::bus {

// What the window program answered for a command kestrixctl forwarded to it.
struct ForwardedRun {
    int exitCode = 0;
    std::string out;  // the command's stdout
    std::string err;  // the command's stderr
};

// Runs kestrixctl's command line (arguments without the program name) in the running window
// program over the session bus (method Run of the manager object), relative FILE arguments
// taken from workingDirectory. Empty with the reason in failure when there is no session bus,
// nobody owns the program's bus name, or the call failed; the window then did nothing.
std::optional<ForwardedRun> ForwardToWindow(const std::vector<std::string>& arguments,
                                            const std::string& workingDirectory,
                                            std::string& failure);

}  // namespace kestrix::bus
