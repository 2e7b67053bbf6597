// SPDX-License-Identifier: MIT
#pragma once

#include "ui/DListBox.h"

namespace DUI {

// "MacroList": the macro name list: a DListBox (2 select, 29 renamed in place) whose right
// click selects the row under the pointer and sends code 5 (context menu) with its index,
// or -1 on empty space.
class MacroList : public DListBox {
  protected:
    void MousePress(QMouseEvent& event) override;
};

}  // namespace DUI
