// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix {

// Exit codes of kestrixctl.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDeviceFailure = 1;  // the mouse, a file or the database failed
inline constexpr int kExitBadValue = 2;    // bad value, unknown key or bad usage; nothing changed
inline constexpr int kExitGuiRunning = 3;  // the window program of this user is running

// How a command ended: an exit code and, unless it succeeded, a one-line reason.
struct CommandStatus {
    int exitCode = kExitOk;
    std::string message;

    bool Ok() const { return exitCode == kExitOk; }
    static CommandStatus Success() { return {}; }
    static CommandStatus BadValue(std::string text) { return {kExitBadValue, std::move(text)}; }
    static CommandStatus Failure(std::string text) { return {kExitDeviceFailure, std::move(text)}; }
};

}  // namespace kestrix
