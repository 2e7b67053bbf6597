// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControl.h"

namespace DUI {

// "CHelpButton": a small round "?" button; its tool tip (SetToolTip) carries the help text
// and shows on hover; a click sends code 2.
class CHelpButton : public MControl {
  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool AcceptsFocus() const override;
};

}  // namespace DUI
