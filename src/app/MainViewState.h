// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

// Item ids of the tab strip; the page a tab shows is named by its item id.
inline constexpr int kPageHome = 1;
inline constexpr int kPageButtons = 2;
inline constexpr int kPagePerformance = 3;
inline constexpr int kPageMacros = 4;
inline constexpr int kPageLighting = 5;
inline constexpr int kPageDeviceSettings = 7;

// What the main window shows.
struct ViewVisibility {
    bool homeList = false;       // device list of the home view
    bool noDevicePanel = false;  // the panel shown instead of the list without a device
    bool tabStrip = false;
    bool deviceControls = false;  // caption, device column with the profile button, status
    int pagePanel = 0;            // item id of the visible page panel, 0 = none
    bool settingsPage = false;
    bool settingsButton = true;  // the settings window button (covered by the settings page)
};

// The navigation rules of the main window: home, the device pages behind the tab strip, and
// the settings page over either. Pure state; the window applies Visibility() to its controls.
class MainViewState {
  public:
    // A tab was selected (item id): closes the settings page; home hides the device controls.
    void SelectPage(int itemId);
    // The settings button: the settings page covers the tab strip and the pages.
    void OpenSettings();
    // The return button: back to the current device page while a device is connected,
    // else to home. Returns true when the window must select the home tab.
    bool ReturnFromSettings();
    // The worker shows or hides the device pages (a device is connected or not).
    void SetDevicePages(bool shown);
    // The worker shows the no-device panel instead of the device list, or the list.
    void SetNoDevicePanel(bool shown);

    int CurrentPage() const { return m_currentPage; }
    bool SettingsVisible() const { return m_settings; }
    bool DevicePagesShown() const { return m_devicePages; }
    bool NoDevicePanelShown() const { return m_noDevicePanel; }
    // Some device is attached, on line or not (a receiver whose mouse is off): home shows the
    // device list with its card rather than the panel for "no device".
    void SetAnyAttached(bool attached) { m_anyAttached = attached; }
    ViewVisibility Visibility() const;

  private:
    int m_currentPage = kPageHome;
    bool m_settings = false;
    bool m_devicePages = false;
    bool m_noDevicePanel = false;
    bool m_anyAttached = false;
};

}  // namespace kestrix
