// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "ui/MControl.h"

namespace DUI {

// "ReporteCtrl": the polling-rate choice, a segmented row of pills, each a text with its
// colour dot and an integer data value (the rate code). A click selects a pill and sends
// code 2 with its index.
class ReporteCtrl : public MControl {
  public:
    // Appends an item (text, data, dot colour); returns its index.
    int AddItem(const std::string& text, int data, int colour);
    // Removes every item.
    void DeleteAllItems();
    // Number of items.
    int GetCount() const;
    // Selects index (-1 none) without notifying; false when out of range.
    bool SetCurSel(int index);
    // The selected index, -1 when none.
    int GetCurSel() const;
    // Selects the first item whose data equals value; false (selection cleared) when none.
    bool SelectData(int value);
    // Data of item index, 0 when out of range.
    int GetItemData(int index) const;
    // Text of item index.
    std::string GetItemText(int index) const;
    // Clicks item index: selects it and sends code 2.
    void ClickItem(int index);

  protected:
    void Paint(QPainter& painter) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;

  private:
    struct Item {
        std::string text;
        int data = 0;
        int colour = 0;
    };
    int ItemAt(double x, double y) const;
    std::vector<Item> m_items;
    int m_current = -1;
    int m_hot = -1;
};

}  // namespace DUI
