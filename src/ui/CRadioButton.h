// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MControlFont.h"

namespace DUI {

// "CRadioButton": one choice of a group named by SetGroupName; checking it clears every
// other radio button of the same group in the same window. A click checks it and sends
// code 2; so do Space and Enter, and an arrow key does it for the neighbour in the group.
class CRadioButton : public MControlFont {
  public:
    // Group the button belongs to ("IDC_SET_STC_EXITMODE"); "" = no group.
    void SetGroupName(const std::string& group);
    // The group name.
    const std::string& GetGroupName() const;
    // 1 checks (and clears the rest of the group), 0 clears; no notification.
    void SetCheck(int check);
    // 1 when checked.
    int GetCheck() const;

  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    // Space checks it; the arrow keys check and focus the next or previous radio button of
    // the group (shown and enabled ones, wrapping), as a click on it would.
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;
    bool IsCheckedForPaint() const override;

  private:
    std::string m_group;
    int m_check = 0;
};

}  // namespace DUI
