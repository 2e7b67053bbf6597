// SPDX-License-Identifier: MIT
#pragma once

#include "platform/DesktopLauncher.h"

#include <mutex>
#include <string>
#include <vector>

namespace kestrix {

// Records what would have been opened.
class FakeDesktopLauncher final : public DesktopLauncher {
  public:
    bool OpenUrl(const std::string& target) override;
    bool OpenMouseSettings() override;

    // Targets given to OpenUrl, in order.
    std::vector<std::string> OpenedUrls() const;
    // How often the mouse settings were opened.
    int MouseSettingsOpened() const;

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_urls;
    int m_mouseSettings = 0;
};

}  // namespace kestrix
