// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MComboBox.h"

namespace DUI {

// "MComboBox2": an MComboBox that can be marked (SetCheck(1)) as the one holding the
// current assignment: accent outline and a dot before its text.
class MComboBox2 : public MComboBox {
  public:
    // 1 marks the box, 0 clears the mark.
    void SetCheck(int check);
    // The mark (0 or 1).
    int GetCheck() const;

  protected:
    bool IsMarked() const override;
    bool IsCheckedForPaint() const override;

  private:
    int m_check = 0;
};

}  // namespace DUI
