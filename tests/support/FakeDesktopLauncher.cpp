// SPDX-License-Identifier: MIT
#include "support/FakeDesktopLauncher.h"

namespace kestrix {

bool FakeDesktopLauncher::OpenUrl(const std::string& target) {
    std::lock_guard guard(m_mutex);
    m_urls.push_back(target);
    return !target.empty();
}

bool FakeDesktopLauncher::OpenMouseSettings() {
    std::lock_guard guard(m_mutex);
    ++m_mouseSettings;
    return true;
}

std::vector<std::string> FakeDesktopLauncher::OpenedUrls() const {
    std::lock_guard guard(m_mutex);
    return m_urls;
}

int FakeDesktopLauncher::MouseSettingsOpened() const {
    std::lock_guard guard(m_mutex);
    return m_mouseSettings;
}

}  // namespace kestrix
