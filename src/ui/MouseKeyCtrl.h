// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "ui/MControl.h"

namespace DUI {

// "MouseKeyCtrl": the list of the mouse's buttons, one row per button with its name and
// the text of its current function, keyed by the button's key value. A click selects a row
// and sends code 2 with its index.
class MouseKeyCtrl : public MControl {
  public:
    // Appends a row (button name, function text, key value); returns its index.
    int AddItem(const std::string& name, const std::string& keyDesc, int keyValue);
    // Removes every row.
    void DeleteAllItems();
    // Number of rows.
    int GetCount() const;
    // Sets the function text of the row whose key value is keyValue; false when none.
    bool SetItemKeyDesc(int keyValue, const std::string& keyDesc);
    // Function text of row index.
    std::string GetItemKeyDesc(int index) const;
    // Key value of row index, -1 when out of range.
    int GetItemKeyValue(int index) const;
    // Name of row index.
    std::string GetItemName(int index) const;
    // Row index of a key value, -1 when none.
    int FindKey(int keyValue) const;
    // Selects index (-1 none) without notifying; false when out of range.
    bool SetCurSel(int index);
    // The selected row, -1 when none.
    int GetCurSel() const;
    // Clicks row index: selects it and sends code 2.
    void ClickItem(int index);
    // Row height in px (44 by default).
    void SetItemHeight(int height);

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    void Wheel(QWheelEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;

  private:
    struct Item {
        std::string name;
        std::string desc;
        int keyValue = 0;
    };
    int RowAt(int y) const;
    void EnsureVisible(int index);
    std::vector<Item> m_items;
    int m_current = -1;
    int m_hot = -1;
    int m_scroll = 0;
    int m_rowHeight = 44;
};

}  // namespace DUI
