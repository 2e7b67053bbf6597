// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControl.h"

namespace DUI {

// "MProgress": a thin progress bar, accent fill over a dark track.
class MProgress : public MControl {
  public:
    // Highest position (100 by default; values below 1 count as 1).
    void SetRange(int maximum);
    // The highest position.
    int GetRange() const;
    // Current position, clamped to 0..range.
    void SetPos(int position);
    // The position.
    int GetPos() const;

  protected:
    void Paint(QPainter& painter) override;
    // Paints the track and a fill from fraction start to end (0..1).
    void PaintBar(QPainter& painter, double start, double end);

  private:
    int m_range = 100;
    int m_pos = 0;
};

}  // namespace DUI
