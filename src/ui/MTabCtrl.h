// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "ui/MControlFont.h"

class QRectF;
class QPointF;

namespace DUI {

// "MTabCtrl": a strip of tab items (id, text, icon), left-aligned; the selected item shows
// an accent underline. A click on an item selects it and sends code 2 with the item index.
// Hidden items keep their index and id.
class MTabCtrl : public MControlFont {
  public:
    MTabCtrl();
    // Appends an item; returns its index. icon is a skin image ("icon\\tab_key.png").
    int AddItem(int id, const std::string& text, const std::string& icon = "");
    // Removes every item.
    void DeleteAllItems();
    // Number of items (hidden ones included).
    int GetCount() const;
    // Selects item index without notifying; false when out of range.
    bool SetCurSel(int index);
    // Selected index (-1 none).
    int GetCurSel() const;
    // Item id at index (-1 when out of range).
    int GetItemId(int index) const;
    // Index of the item with this id, -1 when none.
    int FindItem(int id) const;
    // Replaces the text of item index.
    void SetItemText(int index, const std::string& text);
    // Shows or hides item index (the lighting tab of models without lighting).
    void SetItemVisible(int index, bool visible);
    // True when item index is shown.
    bool IsItemVisible(int index) const;
    // Selects item index and sends code 2 as a click does.
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
        int id = 0;
        std::string text;
        std::string icon;
        bool visible = true;
    };
    // Item rectangles in paint order (hidden items get an empty rectangle).
    std::vector<QRectF> Layout() const;
    int ItemAt(const QPointF& point) const;
    std::vector<Item> m_items;
    int m_current = -1;
    int m_hot = -1;
};

}  // namespace DUI
