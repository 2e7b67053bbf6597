// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControl.h"

namespace DUI {

// "BatteryCtrl": the mouse's battery: a battery icon filled to the level and the
// percentage beside it; a bolt while charging.
class BatteryCtrl : public MControl {
  public:
    // level in percent (clamped to 0..100); charge state 1 = charging, anything else not.
    void SetBatteryInfo(int level, int chargeState);
    // The level given last (clamped).
    int GetLevel() const;
    // True when the charge state was 1.
    bool IsCharging() const;

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;

  private:
    int m_level = 100;
    bool m_charging = false;
};

}  // namespace DUI
