// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MButton.h"

namespace DUI {

// "MButton2": a button that can be marked checked by the program (SetCheck), drawn with
// the accent outline; a click sends code 2 and leaves the mark as it is.
class MButton2 : public MButton {
  public:
    // 1 marks the button, 0 clears the mark.
    void SetCheck(int check);
    // The mark (0 or 1).
    int GetCheck() const;

  protected:
    bool IsCheckedForPaint() const override;

  private:
    int m_check = 0;
};

}  // namespace DUI
