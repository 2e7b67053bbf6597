// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MDialog.h"

namespace kestrix {

// Title the DPI indicator is found by.
inline constexpr char kDpiIndicatorTitle[] = "DPIMsgDlg";

// The on-screen DPI indicator: a compact card at the bottom-right corner of the work area
// with the DPI value, the unit and a bar; it hides HideDelay() after the last Show. Lives as
// long as the main window and is only shown and hidden, and never takes the keyboard focus
// (a DPI button pressed in a game must not pull the game's focus away). On Wayland, where a
// client cannot put a window in a screen corner, it is a focus-less pop-up in the main
// window's bottom-right corner, shown only while that window is on screen.
class DPIMsgDlg : public DUI::MDialog {
  public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 130;
    static constexpr int kHideTimer = 100;
    static constexpr int kDefaultHideDelayMs = 2000;
    static constexpr int kOwnerMargin = 16;
    static constexpr int kCloseButton = 30;
    static constexpr int kBar = 33;
    static constexpr int kValueText = 31;
    static constexpr int kUnitText = 32;

    // Creates the tool window owned by owner, shows it once and hides it at once.
    bool CreateOwned(DUI::MWindow* owner);
    // Shows dpi, places the window in the work-area corner and restarts the hide timer.
    void Show(int dpi);
    // The value shown last.
    int Value() const { return m_value; }
    // The window rectangle for a work area: 2 px from its right and bottom edges.
    static DUI::Rect CornerRect(const DUI::Rect& workArea);
    // On Wayland: the window rectangle inside the owner's rectangle, kOwnerMargin px from its
    // right and bottom edges.
    static DUI::Rect OwnerCornerRect(const DUI::Rect& owner);
    // On Wayland, while shown: moves to the owner's corner after the owner changed its size.
    void FollowOwner();
    // How long the indicator stays after the last Show (tests shorten it).
    void SetHideDelay(int milliseconds) { m_hideDelayMs = milliseconds; }

    bool OnInitDialog() override;
    void InitUI(const DUI::Rect& rect) override;
    void OnMessage(int id, int code, std::intptr_t param) override;
    void OnTimer(int id) override;
    void CloseWindow() override;

  private:
    // Moves the window to its corner; false when it has none to go to now (on Wayland, while
    // the main window is hidden or minimised).
    bool PlaceInCorner();
    int m_value = 1600;
    int m_hideDelayMs = kDefaultHideDelayMs;
};

}  // namespace kestrix
