// SPDX-License-Identifier: MIT
#include "platform/DesktopLauncher.h"

#include "base/Log.h"
#include "platform/ProgramRunner.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace kestrix {

bool LinuxDesktopLauncher::OpenUrl(const std::string& target) {
    // A leading '-' would reach xdg-open as an option instead of a target.
    if (target.empty() || target[0] == '-') {
        LogLine("desktop: refusing to open \"%s\"", target.c_str());
        return false;
    }
    return StartProgram({"xdg-open", target});
}

bool LinuxDesktopLauncher::OpenMouseSettings() {
    std::vector<std::vector<std::string>> candidates = {
        {"gnome-control-center", "mouse"},
        {"systemsettings", "kcm_mouse"},
        {"systemsettings5", "kcm_mouse"},
    };
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    if (desktop != nullptr && std::string_view(desktop).find("KDE") != std::string_view::npos) {
        std::rotate(candidates.begin(), candidates.begin() + 1, candidates.end());
    }
    for (const auto& command : candidates) {
        if (!FindProgram(command[0]).empty()) return StartProgram(command);
    }
    LogLine("desktop: no mouse settings program found (gnome-control-center, systemsettings)");
    return false;
}

}  // namespace kestrix
