// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// The switch that starts the window hidden (only the tray icon shows).
inline constexpr std::string_view kHideSwitch = "-hide";

// The whole command line as one text: the arguments after the program, joined by blanks.
std::string JoinCommandLine(int argc, const char* const* argv);

// True when "-hide" occurs anywhere in the text, also inside a longer word; case-sensitive.
bool HasHideSwitch(std::string_view commandLine);

}  // namespace kestrix
