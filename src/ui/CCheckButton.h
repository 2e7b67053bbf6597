// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControlFont.h"

namespace DUI {

// "CCheckButton": a check box with its title on the right; a click flips the tick and
// sends code 2.
class CCheckButton : public MControlFont {
  public:
    // 1 ticks, 0 clears (no notification).
    void SetCheck(int check);
    // 1 when ticked.
    int GetCheck() const;

  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool AcceptsFocus() const override;
    bool IsCheckedForPaint() const override;

  private:
    int m_check = 0;
};

}  // namespace DUI
