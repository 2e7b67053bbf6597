// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kestrix {

// The switch that starts the window hidden (only the tray icon shows).
inline constexpr std::string_view kHideSwitch = "-hide";

// The whole command line as one text: the arguments after the program, joined by blanks.
std::string JoinCommandLine(int argc, const char* const* argv);

// True when "-hide" occurs anywhere in the text, also inside a longer word; case-sensitive.
bool HasHideSwitch(std::string_view commandLine);

// One option of the window program, as its --help and its man page list it.
struct WindowOption {
    std::string_view name;      // e.g. "--log"
    std::string_view argument;  // e.g. "FILE"; empty for a switch
    std::string_view help;
};

// Every option the window program reads, in the order --help lists them.
std::span<const WindowOption> WindowOptions();

// What the program prints instead of starting when the command line asks for information:
// --help or -h (the options), --version, or --man (the man page in roff, written at build
// time). Empty for a command line that starts the window. Needs no display.
std::optional<std::string> InformationRequest(int argc, const char* const* argv);

}  // namespace kestrix
