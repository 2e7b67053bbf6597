// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <vector>

#include "ui/MDialog.h"

namespace kestrix {

// Title the save-wait window is found by.
inline constexpr char kSaveWaitTitle[] = "SaveWaitDlg";

// The small window shown while settings go to the mouse: the logo, text 630 and an endless
// progress sweep. Every Show restarts its hide timer, so it stays until HideDelay() after the
// last change. Created on first use by the main window and kept.
class SaveWaitDlg : public DUI::MDialog {
  public:
    static constexpr int kHideTimer = 200;
    static constexpr int kDefaultHideDelayMs = 2000;

    ~SaveWaitDlg() override;

    // Creates the window over owner (centred) and shows it; false when it cannot be created.
    bool CreateOver(DUI::MWindow* owner);
    // Restarts the animation and the hide timer and shows the window.
    void Show();
    // How long the window stays after the last Show (tests shorten it).
    void SetHideDelay(int milliseconds) { m_hideDelayMs = milliseconds; }
    int HideDelay() const { return m_hideDelayMs; }
    // Runs action once the window has hidden again, at once when it is not shown (a window
    // that would open under it waits for it). Actions still waiting when it closes are dropped.
    void RunWhenHidden(std::function<void()> action);

    bool OnInitDialog() override;
    void InitUI(const DUI::Rect& rect) override;
    void OnTimer(int id) override;
    void CloseWindow() override;

  private:
    int m_hideDelayMs = kDefaultHideDelayMs;
    std::vector<std::function<void()>> m_afterHide;
};

}  // namespace kestrix
