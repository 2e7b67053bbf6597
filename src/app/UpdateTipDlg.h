// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MDialog.h"

namespace kestrix {

// Title the firmware upgrade window is found by.
inline constexpr char kUpdateTipTitle[] = "UpdateTipDlg";

// The firmware upgrade window: a warning title (text 596), a status line and a bar. The
// firmware flow reports progress to it and closes it with OK when it ends.
class UpdateTipDlg : public DUI::MDialog {
  public:
    static constexpr int kWidth = 391;
    static constexpr int kHeight = 130;
    static constexpr int kTitle = 31;
    static constexpr int kStatus = 32;
    static constexpr int kBar = 33;

    // Shows "%s: %d%%" of stepText and percent and sets the bar.
    void SetProgress(const std::string& stepText, int percent);
    // The status text shown last.
    std::string StatusText() const;

    void InitUI(const DUI::Rect& rect) override;
    void CloseWindow() override;
};

}  // namespace kestrix
