// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

namespace kestrix {

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        if (!text.empty()) text += ' ';
        text += argv[i];
    }
    return text;
}

bool HasHideSwitch(std::string_view commandLine) {
    return commandLine.find(kHideSwitch) != std::string_view::npos;
}

}  // namespace kestrix
