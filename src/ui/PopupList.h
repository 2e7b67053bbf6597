// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the item list inside drop-down and menu pop-ups.

#include <functional>
#include <string>
#include <vector>

#include "ui/MControl.h"
#include "ui/RowScroller.h"

namespace DUI {

class PopupList : public MControl {
  public:
    // Row height in px.
    static constexpr int kRowHeight = 34;
    // Replaces the rows; current = the row marked as chosen (-1 none).
    void SetItems(std::vector<std::string> texts, int current);
    // Called with the chosen row.
    std::function<void(int)> onChoose;
    // Called on Escape.
    std::function<void()> onCancel;
    // Row under the pointer (or keyboard), -1 none.
    int HotRow() const { return m_rows.Hot(); }
    // Moves the keyboard highlight.
    void SetHotRow(int row);

  protected:
    void Paint(QPainter& painter) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    void Wheel(QWheelEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;

  private:
    int RowAt(int y) const;
    std::vector<std::string> m_texts;
    int m_current = -1;
    RowScroller m_rows;  // first row on screen and the hovered row
};

}  // namespace DUI
