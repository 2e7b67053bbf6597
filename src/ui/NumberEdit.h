// SPDX-License-Identifier: MIT
#pragma once

#include <climits>

#include "ui/MEdit.h"

namespace DUI {

// "NumberEdit": a numeric MEdit with step buttons (and Up/Down keys) that change the value
// by the step within the range and send code 2, as Enter does.
class NumberEdit : public MEdit {
  public:
    NumberEdit();
    // Range the step buttons keep the value in (typing is not clamped here).
    void SetRange(int minimum, int maximum);
    // Amount of one step (1 by default).
    void SetStep(int step);
    // Steps up (+1) or down (-1) and sends code 2.
    void StepBy(int steps);

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    void HoverChanged(bool hovered) override;
    int RightInset() const override;
    void OnCreated() override;

  private:
    int m_min = INT_MIN;
    int m_max = INT_MAX;
    int m_step = 1;
    int m_hoverButton = 0;
};

}  // namespace DUI
