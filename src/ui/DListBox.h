// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "ui/MControlFont.h"
#include "ui/RowScroller.h"

namespace DUI {

class EditField;
}  // namespace DUI

class QPointF;

namespace DUI {

// "DListBox": a list of items, each a text with integer data. A click selects an item and
// sends code 2 with its index. A double click, F2, the pencil shown on the hovered row
// (SetRenameEnabled) or EditItem renames the item in place:
// Enter or leaving the field ends it with code 29 (index as parameter, the new text in
// GetEditText); a non-empty text replaces the item's text, an empty one leaves it (the
// owner decides). Escape cancels without a notification. The item image
// ("img_list_bkg.png") is drawn behind the hovered and selected rows.
class DListBox : public MControlFont {
  public:
    DListBox();
    ~DListBox() override;

    // Appends an item; returns its index.
    int AddItem(const std::string& text, int data = 0);
    // Inserts an item before index (at the end when out of range); returns its index.
    int InsertItem(int index, const std::string& text, int data = 0);
    // Removes item index; the selection follows the items.
    bool DeleteItem(int index);
    // Removes every item.
    void DeleteAllItems();
    // Number of items.
    int GetCount() const;
    // Selects index (-1 none) without notifying; false when out of range.
    bool SetCurSel(int index);
    // Selected index, -1 when none.
    int GetCurSel() const;
    // Data of item index, 0 when out of range.
    int GetItemData(int index) const;
    // Text of item index, "" when out of range.
    std::string GetItemText(int index) const;
    // Replaces the text of item index.
    void SetItemText(int index, const std::string& text);
    // Selects the first item with this data; false (selection cleared) when none.
    bool SelectData(int value);
    // Shows the pencil button on the hovered and selected rows (on by default).
    void SetRenameEnabled(bool enabled);
    // For lists where choosing an item acts at once (and may close the window): the arrow
    // keys then only move the selection, and Enter or Space sends code 2 for it. Off by
    // default: each arrow key sends code 2, as a click on the row would.
    void SetChooseByEnter(bool chooseByEnter);
    // Row height in px (36 by default).
    void SetItemHeight(int height);
    // Starts renaming item index in place; false when out of range.
    bool EditItem(int index);
    // True while an item is being renamed.
    bool IsEditing() const;
    // Ends a running rename as Enter would (code 29).
    void EndEdit();
    // The text of the last finished rename.
    const std::string& GetEditText() const;
    // Scrolls so that item index is visible.
    void EnsureVisible(int index);

  protected:
    void OnCreated() override;
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseDoubleClick(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    void Wheel(QWheelEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;
    void Resized() override;
    // Row under a y coordinate, -1 when none.
    int RowAt(int y) const;
    // Selects index, scrolls to it and sends code 2.
    void ChooseRow(int index);

  private:
    struct Item {
        std::string text;
        int data = 0;
    };
    void FinishEdit(bool commit);
    bool InPencil(const QPointF& point, int row) const;
    void PlaceEditor();
    std::vector<Item> m_items;
    int m_current = -1;
    RowScroller m_rows;  // first row on screen and the hovered row
    int m_rowHeight = 36;
    int m_editing = -1;
    std::string m_editText;
    EditField* m_editor = nullptr;
    bool m_renamable = true;
    bool m_chooseByEnter = false;
};

}  // namespace DUI
