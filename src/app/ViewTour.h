// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kestrix {

class DeviceMainDlg;

// A walk through every view of the main window for unattended pictures: once the first
// device read is done it shows home, chooses the selected mouse, each device page and the
// settings page, each for a dwell time, writes a log line "view <name> shown" as each view
// appears, and closes the window at the end. Without a mouse it shows home only.
class ViewTour {
  public:
    // Timer id the tour runs on (the window hands it over).
    static constexpr int kTimerId = 7001;

    ViewTour(DeviceMainDlg& window, int dwellMs);
    // Starts waiting for the device read.
    void Start();
    // The window's timer fired; true when it was the tour's.
    bool OnTimer(int id);
    // Names of the views in the order shown.
    const std::vector<std::string>& Shown() const { return m_shown; }

  private:
    void Step();
    DeviceMainDlg& m_window;
    int m_dwellMs;
    int m_step = 0;
    int m_waited = 0;
    std::vector<std::string> m_shown;
};

}  // namespace kestrix
