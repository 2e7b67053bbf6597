// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <vector>

#include "ui/MControl.h"

namespace DUI {

class EditField;

// "DPIControl": the DPI stage list, a row of chips, one per listed stage, each with its
// colour swatch, stage number and value; the selected chip is drawn in the accent. The
// control keeps a value and a colour for stages 0..7 whether listed or not. Codes:
// 2 = a chip was chosen (param = stage index); 9 = the colour swatch of a chip was clicked
// (that chip is selected first, with its own code 2 when that changed the selection);
// 30 = the value edit of the selected chip was entered; 29 = that edit was finished
// (Enter or leaving it; the text is in GetEditText). From the keyboard, Left and Right choose
// a chip, Enter or F2 edits its value and Space acts as a click on its colour swatch.
class DPIControl : public MControl {
  public:
    // Highest stage index the control keeps.
    static constexpr int kMaxStages = 8;

    DPIControl();
    ~DPIControl() override;

    // Appends a chip for the next stage with its value and colour; returns its index.
    int AddItem(int value, int colour);
    // Removes every chip (stored values and colours stay).
    void DeleteAllItems();
    // Number of chips.
    int GetCount() const;
    // Stores the value of stage (0..7) and updates its chip.
    void SetDPIValue(int stage, int value);
    // The stored value of stage, 0 when out of range.
    int GetDPIValue(int stage) const;
    // Stores the colour (colour integer) of stage and updates its chip.
    void SetDPIColorValue(int stage, int colour);
    // The stored colour of stage, 0 when out of range.
    int GetDPIColorValue(int stage) const;
    // Selects a chip (-1 none) without notifying; false when out of range.
    bool SetCurSel(int index);
    // The selected chip, -1 when none.
    int GetCurSel() const;
    // Text of the value edit (what the user typed, or what SetEditText put there).
    std::string GetEditText() const;
    // Replaces the value edit's text (the snapped value after code 29).
    void SetEditText(const std::string& text);
    // Opens the value edit on the selected chip (code 30 follows when it takes the focus).
    bool BeginEdit();
    // True while the value edit is open.
    bool IsEditing() const;
    // Clicks chip index as the user would: selects it and sends code 2.
    void ClickItem(int index);
    // Clicks the colour swatch of chip index: selects it (code 2 if changed), then code 9.
    void ClickColor(int index);

  protected:
    void OnCreated() override;
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;
    void Resized() override;
    void FocusChanged(bool focused) override;

  private:
    struct Geometry;
    Geometry ChipGeometry(int index) const;
    int ChipAt(double x, double y, bool* onSwatch, bool* onValue) const;
    void EndEdit(bool commit);
    std::array<int, kMaxStages> m_values{};
    std::array<int, kMaxStages> m_colours{};
    int m_count = 0;
    int m_current = -1;
    int m_hot = -1;
    bool m_editing = false;
    std::string m_editText;
    EditField* m_editor = nullptr;
};

}  // namespace DUI
