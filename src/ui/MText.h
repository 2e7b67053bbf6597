// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControlFont.h"

namespace DUI {

// "MText": a static text label; wraps with kAlignWrap, otherwise elides with an ellipsis.
// Clicks pass through to what lies below.
class MText : public MControlFont {
  public:
    MText();

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    bool TransparentForMouse() const override;
};

}  // namespace DUI
