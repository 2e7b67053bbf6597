// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MControl.h"

namespace DUI {

// "CColorButton": a colour swatch. Swatches sharing a group name (SetGroupName) in one
// window are exclusive: a click checks this one, clears the others and sends code 2.
class CColorButton : public MControl {
  public:
    // Swatch colour (colour integer, red in bits 0-7).
    void SetColor(int colour);
    // The swatch colour.
    int GetColor() const;
    // Group of exclusive swatches ("DEFAULTCOLOR"); "" = none.
    void SetGroupName(const std::string& group);
    // The group name.
    const std::string& GetGroupName() const;
    // 1 checks (clearing the rest of the group), 0 clears; no notification.
    void SetCheck(int check);
    // 1 when checked.
    int GetCheck() const;

  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool AcceptsFocus() const override;
    bool IsCheckedForPaint() const override;

  private:
    int m_colour = 0xFFFFFF;
    std::string m_group;
    int m_check = 0;
};

}  // namespace DUI
