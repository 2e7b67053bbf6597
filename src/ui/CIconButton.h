// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MControlFont.h"

namespace DUI {

// "CIconButton": a button with an icon and a title (the record button); a click sends
// code 2. Tall buttons put the icon above the title, wide ones beside it. Without the icon
// image the matching theme glyph ("icon\\icon_rec.png" -> record) is drawn.
class CIconButton : public MControlFont {
  public:
    CIconButton();
    // Icon skin image ("icon\\icon_rec.png").
    void SetIcon(const std::string& iconName);
    // The icon name.
    const std::string& GetIcon() const;
    // Accent-tinted "active" look (recording in progress).
    void SetActive(bool active);

  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool AcceptsFocus() const override;

  private:
    std::string m_icon;
    bool m_active = false;
};

}  // namespace DUI
