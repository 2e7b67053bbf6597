// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "ui/MControl.h"

class QRectF;
class QSizeF;

namespace DUI {

// "MouseCtrl": the model's picture (SetImage, "device/..."; a drawn mouse when missing)
// with a callout per button: a line from the button's point on the picture to a label
// holding the button's current function. A click on a label (or its point) selects that
// button and sends code 2 with its index.
//
// Placement of a button (the model file's direction and three rect integers):
// direction 0 puts the label left of the picture, any other value right of it; rect is
// (x, y, length): x and y locate the button in pixels of the picture file (of a 342 x 440
// design picture while the file is missing); length, the callout length the model file
// suggests, is not needed because labels are set in two columns at their buttons' heights
// and spread so that they never overlap.
class MouseCtrl : public MControl {
  public:
    // Adds a button; returns its index.
    int AddKey(int keyValue, const std::string& text, int direction, int x, int y, int length = 0);
    // Removes every button.
    void DeleteAllKeys();
    // Number of buttons.
    int GetCount() const;
    // Sets the label text of the button with this key value; false when none.
    bool SetKeyText(int keyValue, const std::string& text);
    // Label text of index.
    std::string GetKeyText(int index) const;
    // Key value of index, -1 when out of range.
    int GetKeyValue(int index) const;
    // Index of a key value, -1 when none.
    int FindKey(int keyValue) const;
    // Selects index (-1 none) without notifying; false when out of range.
    bool SetCurSel(int index);
    // The selected index, -1 when none.
    int GetCurSel() const;
    // Clicks button index: selects it and sends code 2.
    void ClickItem(int index);
    // Where the label of index is placed (control coordinates); empty when out of range.
    // Every label is as wide as the longest text needs, as far as the room beside the
    // picture allows; the picture gives way to the labels down to 28 % of the width.
    Rect GetLabelRect(int index) const;

  protected:
    void Paint(QPainter& painter) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    bool AcceptsFocus() const override;
    bool KeyPress(QKeyEvent& event) override;

  private:
    struct Key {
        int keyValue = 0;
        std::string text;
        int direction = 0;
        int x = 0;
        int y = 0;
        int length = 0;
    };
    struct Placed;
    std::vector<Placed> Layout() const;
    // Where the picture is drawn, and the size of its coordinate space.
    void PictureGeometry(QRectF& drawn, QSizeF& natural) const;
    // Label width the longest text needs (padding included), within the label limits.
    double LabelWidthNeeded() const;
    int HitTest(double x, double y) const;
    std::vector<Key> m_keys;
    int m_current = -1;
    int m_hot = -1;
};

}  // namespace DUI
