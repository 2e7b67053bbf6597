// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "bus/WindowClient.h"

namespace kestrix {

class HidBackend;
struct SessionHost;

// What kestrixctl takes from its surroundings; tests replace any of it.
struct CliEnvironment {
    // The HID bus; null = simulated mice when --simulate[=NAME] or KESTRIX_SIMULATE asks for
    // them, else hidapi.
    std::shared_ptr<HidBackend> backend;
    // Folder with config.xml, device/ and language/; empty = the program's own folder.
    std::string programFolder;
    // Whether the window program of this user runs; null = ask its single-instance socket.
    std::function<bool(const std::string& programName)> guiRunning;
    // Hands the command line (no program name) to the running window program and returns what
    // it printed, or nothing with the reason when it could not be reached; null = its session
    // D-Bus interface.
    std::function<std::optional<bus::ForwardedRun>(const std::vector<std::string>& arguments,
                                                   std::string& failure)>
        forward;
    // Set inside the window program: the commands run against its manager, store and worker,
    // in kestrixctl's language, relative FILE arguments from workingDirectory.
    SessionHost* host = nullptr;
    std::string workingDirectory;
    // Where results and errors go; null = stdout and stderr.
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
};

// The whole of kestrixctl: parses the arguments, runs one command and returns the exit code
// (0 done, 1 the mouse, a file or the database failed, 2 bad usage or a refused value with
// nothing changed, 3 the running window program cannot serve the command). While the window
// program runs, the command runs there (forward) and its output and exit code are passed on.
int RunKestrixCtl(int argc, const char* const* argv, const CliEnvironment& environment = {});

}  // namespace kestrix
