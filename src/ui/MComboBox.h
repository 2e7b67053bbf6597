// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/MControlFont.h"

namespace DUI {

class ComboPopup;

// "MComboBox": a drop-down choice of items, each a text with an integer data value. A
// click opens the list (a window titled "ComboWnd"); choosing an item selects it and sends
// code 2 with the item index. Up/Down while focused move the selection and send code 2.
// The title is the selected item's text.
class MComboBox : public MControlFont {
  public:
    MComboBox();
    ~MComboBox() override;

    // Appends an item; returns its index.
    int AddItem(const std::string& text, int data = 0);
    // Removes item index (the selection follows; removing the selected item clears it).
    bool DeleteItem(int index);
    // Removes every item and clears the selection.
    void DeleteAllItems();
    // Number of items.
    int GetCount() const;
    // Selects item index (-1 = none) without notifying; false when out of range.
    bool SetCurSel(int index);
    // Selected index, -1 when none.
    int GetCurSel() const;
    // Selects the first item whose data equals value; with no such item the selection is
    // cleared and the result is false.
    bool SelectData(int value);
    // Data of item index (0 when out of range).
    int GetItemData(int index) const;
    // Data of the selected item (0 when none).
    int GetCurData() const;
    // Text of item index ("" when out of range).
    std::string GetItemText(int index) const;
    // Replaces the text of item index.
    void SetItemText(int index, const std::string& text);
    // Opens the drop-down list (as a click does).
    void ShowDropDown();
    // Closes the drop-down list if it is open.
    void HideDropDown();
    // True while the drop-down list is shown.
    bool IsDroppedDown() const;
    // Chooses item index as a click in the list would: selects it and sends code 2.
    void ChooseItem(int index);

  protected:
    void Paint(QPainter& painter) override;
    void Clicked() override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;
    // Draws the marker of a checked MComboBox2 (nothing here).
    virtual bool IsMarked() const;

  private:
    struct Item {
        std::string text;
        int data = 0;
    };
    void SyncTitle();
    std::vector<Item> m_items;
    int m_current = -1;
    std::unique_ptr<ComboPopup> m_popup;
};

}  // namespace DUI
