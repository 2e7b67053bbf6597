// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MDialog.h"

namespace kestrix {

// Title the update download window is found by.
inline constexpr char kUpdateProcessTitle[] = "UpdateProcessDlg";

// The download window of an application update: a progress text and bar. Shown modally by
// the update prompt; the main window forwards WM_UPDATE_PROGRESS to it.
class UpdateProcessDlg : public DUI::MDialog {
  public:
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 100;
    static constexpr int kText = 31;
    static constexpr int kBar = 32;

    // Sets the bar and the text ("Downloading: 45%" in the current language).
    void SetProgress(int percent);
    // The progress text for percent.
    static std::string ProgressText(int percent);
    // The percent shown last.
    int Progress() const { return m_percent; }

    void InitUI(const DUI::Rect& rect) override;
    void CloseWindow() override;
    // The download has no cancel: Escape leaves the window open (false).
    bool OnEscape() override;

  private:
    int m_percent = 0;
};

}  // namespace kestrix
