// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix {

// Hands things to the desktop: links and files to their default application, and the
// desktop's own mouse settings. Never waits for what it starts.
class DesktopLauncher {
  public:
    virtual ~DesktopLauncher() = default;
    // Opens a URL or a file path with the user's default application; false (logged) when
    // the target is empty or starts with '-', or the opener cannot be started.
    virtual bool OpenUrl(const std::string& target) = 0;
    // Opens the desktop's mouse settings; false (logged) when the desktop has none we know.
    virtual bool OpenMouseSettings() = 0;
};

// xdg-open for links and files; "gnome-control-center mouse" or "systemsettings kcm_mouse",
// whichever is installed (the one of the running desktop first).
class LinuxDesktopLauncher final : public DesktopLauncher {
  public:
    bool OpenUrl(const std::string& target) override;
    bool OpenMouseSettings() override;
};

}  // namespace kestrix
