// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControlFont.h"

namespace DUI {

// "CTextButton": a text link in the accent colour, underlined under the pointer; a click
// sends code 2.
class CTextButton : public MControlFont {
  public:
    CTextButton();

  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool AcceptsFocus() const override;
};

}  // namespace DUI
