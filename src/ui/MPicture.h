// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MControl.h"

namespace DUI {

// "MPicture": shows a skin image (SetImage) fitted into its rectangle, keeping its aspect.
// Without the image: a mouse silhouette for device pictures ("device/..."), otherwise an
// empty panel. Clicks pass through.
class MPicture : public MControl {
  public:
    MPicture();
    // Stretch the image over the whole rectangle (backgrounds) instead of fitting it.
    void SetStretch(bool stretch);

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    bool TransparentForMouse() const override;

  private:
    bool m_stretch = false;
};

}  // namespace DUI
