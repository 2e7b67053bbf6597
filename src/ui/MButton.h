// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControlFont.h"

namespace DUI {

// "MButton": a push button with a centred title; a click (or Space/Enter while focused)
// sends code 2. With a skin image ("img_button.png") the image is drawn as a nine-slice
// background, otherwise a rounded theme button; SetPrimary gives it the accent fill.
class MButton : public MControlFont {
  public:
    MButton();
    // Accent-filled call-to-action look (OK, apply).
    void SetPrimary(bool primary);
    // True when SetPrimary(true).
    bool IsPrimary() const;

  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool AcceptsFocus() const override;

  private:
    bool m_primary = false;
};

}  // namespace DUI
