// SPDX-License-Identifier: MIT
#include "app/MainViewState.h"

namespace kestrix {

void MainViewState::SelectPage(int itemId) {
    m_settings = false;
    m_currentPage = itemId;
}

void MainViewState::OpenSettings() { m_settings = true; }

bool MainViewState::ReturnFromSettings() {
    m_settings = false;
    if (m_devicePages && m_currentPage != kPageHome) return false;
    m_currentPage = kPageHome;
    return true;
}

void MainViewState::SetDevicePages(bool shown) { m_devicePages = shown; }

void MainViewState::SetNoDevicePanel(bool shown) { m_noDevicePanel = shown; }

ViewVisibility MainViewState::Visibility() const {
    ViewVisibility view;
    if (m_settings) {
        view.settingsPage = true;
        view.settingsButton = false;
        return view;
    }
    // The device pages need a connected device; without one the home view stays.
    if (m_currentPage == kPageHome || !m_devicePages) {
        view.noDevicePanel = (m_noDevicePanel || !m_devicePages) && !m_anyAttached;
        view.homeList = !view.noDevicePanel;
        return view;
    }
    view.tabStrip = true;
    view.deviceControls = true;
    view.pagePanel = m_currentPage;
    return view;
}

}  // namespace kestrix
