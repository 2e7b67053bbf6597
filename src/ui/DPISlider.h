// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/SliderCtrl.h"

namespace DUI {

// "DPISlider": the DPI slider of the selected stage, with the low and high end labels.
// Its value runs from the lowest position (1 unless SetLowest) to the step count; dragging
// sends code 8, releasing code 2 (value as parameter).
class DPISlider : public SliderCtrl {
  public:
    DPISlider();
    // Texts under the two ends ("100" / "26000").
    void SetDPIDesc(const std::string& low, const std::string& high);
    // Number of steps: the highest slider value.
    void SetSteps(int steps);
    // Lowest slider value (2 for some sensors).
    void SetLowest(int lowest);
    // Moves the thumb to slider value n (clamped); no notification.
    void SetProgress(int value);
    // The slider value.
    int GetProgress() const;

  protected:
    void Paint(QPainter& painter) override;
    QRectF TrackRect() const override;

  private:
    std::string m_low;
    std::string m_high;
    int m_steps = 100;
    int m_lowest = 1;
};

}  // namespace DUI
