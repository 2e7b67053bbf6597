// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControl.h"

namespace DUI {

// "CImageButton": an icon-only button drawn from its skin image ("sysbtn_close.png",
// "btn_reset.png", "img_return.png", ...) over a rounded hover plate; a click sends code 2.
// Without the image the matching theme glyph is drawn (close, minimise, reset, ...).
class CImageButton : public MControl {
  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool AcceptsFocus() const override;
};

}  // namespace DUI
