// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControlFont.h"

namespace DUI {

// "CDeviceState": the connection of the selected mouse: a cable or receiver icon, an on
// line (green) or off line (grey) dot and the title (the caption text).
class CDeviceState : public MControlFont {
  public:
    // mode 0 = cable, 1 = receiver; state 1 = on line, 0 = off line.
    void SetState(int mode, int state);
    // The mode given last.
    int GetMode() const;
    // The state given last.
    int GetState() const;

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;

  private:
    int m_mode = 0;
    int m_state = 0;
};

}  // namespace DUI
