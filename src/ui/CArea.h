// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControl.h"

namespace DUI {

// "CArea": a panel other controls can be placed in (MDialog::CreateArea, or parent of
// CreateControl). Draws its skin image ("img_area_bkg.png") as a nine-slice, else a colour
// fill (SetBkColor: colour previews), else the theme's panel with its border. Hiding the
// area hides its children. Clicks on the bare panel pass to the window (title drag).
class CArea : public MControl {
  public:
    CArea();
    // Solid fill colour (colour integer); -1 returns to the panel look.
    void SetBkColor(int colour);
    // The fill colour, -1 when none.
    int GetBkColor() const;
    // Border colour (colour integer); -1 = the theme's border, -2 = none.
    void SetBorderColor(int colour);
    // Corner radius in px (8 by default).
    void SetRadius(int radius);
    // Draws nothing but the children (pure container).
    void SetTransparent(bool transparent);

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    int Radius() const;

  private:
    int m_colour = -1;
    int m_border = -1;
    int m_radius = 8;
    bool m_transparent = false;
};

}  // namespace DUI
