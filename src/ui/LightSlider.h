// SPDX-License-Identifier: MIT
#pragma once

#include "ui/SliderCtrl.h"

namespace DUI {

// "LightSlider": a stepped slider (brightness, speed) from 0 to the step count, with a dot
// at each stop; code 8 while dragging, code 2 on release (value as parameter).
class LightSlider : public SliderCtrl {
  public:
    LightSlider();
    // Number of steps (4 gives the values 0..4).
    void SetSteps(int steps);
    // Moves the thumb (clamped); no notification.
    void SetPos(int value);
    // The value.
    int GetPos() const;

  protected:
    void Paint(QPainter& painter) override;
    QRectF TrackRect() const override;
};

}  // namespace DUI
