// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace kestrix {

class HidBackend;

// What kestrixctl takes from its surroundings; tests replace any of it.
struct CliEnvironment {
    // The HID bus; null = simulated mice when --simulate[=NAME] or KESTRIX_SIMULATE asks for
    // them, else hidapi.
    std::shared_ptr<HidBackend> backend;
    // Folder with config.xml, device/ and language/; empty = the program's own folder.
    std::string programFolder;
    // Whether the window program of this user runs; null = ask its single-instance socket.
    std::function<bool(const std::string& programName)> guiRunning;
    // Where results and errors go; null = stdout and stderr.
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
};

// The whole of kestrixctl: parses the arguments, runs one command and returns the exit code
// (0 done, 1 the mouse, a file or the database failed, 2 bad usage or a refused value with
// nothing changed, 3 the window program is running).
int RunKestrixCtl(int argc, const char* const* argv, const CliEnvironment& environment = {});

}  // namespace kestrix
