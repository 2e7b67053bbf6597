// SPDX-License-Identifier: MIT
#pragma once

namespace DUI {

// The scroll position and hovered row of a list of equal rows (or cards), shared by the list
// controls: which row is first on screen, which one the pointer is over, and the arithmetic
// of scrolling, keeping a row in view and finding the row under the pointer. The control
// owns its items and its painting; it passes the row count and the number of visible rows.
class RowScroller {
  public:
    // Index of the first row on screen.
    int First() const { return m_first; }
    // The hovered row, -1 when none.
    int Hot() const { return m_hot; }
    // Back to the top with nothing hovered (the list was emptied).
    void Reset();
    // Sets the first row as given (no range check).
    void SetFirst(int first) { m_first = first; }
    // Sets the hovered row; true when it changed, so the caller repaints.
    bool SetHot(int row);
    // Scrolls by rows (negative: back), keeping the first row in [0, count - visible].
    void ScrollBy(int rows, int count, int visible);
    // Rows one wheel event scrolls by: one per 120 units (a notch), rolling up goes back.
    static int WheelRows(int angleDeltaY) { return -angleDeltaY / 120; }
    // Scrolls the least needed to show row index in a window of visible rows; nothing for -1.
    void EnsureVisible(int index, int visible);
    // Keeps the first row within [0, last] after rows were removed.
    void ClampFirst(int last);
    // The row under offset, the pointer's distance from the top of the first row slot, for
    // rows of rowSize pixels; -1 above the rows or past the last one.
    int RowAt(int offset, int rowSize, int count) const;
    // Top of the scroll thumb in a track starting at trackTop: the thumb moves over
    // trackLength - thumb as the first row goes from 0 to total - shown.
    double ThumbTop(double trackTop, double trackLength, double thumb, double total,
                    double shown) const;

  private:
    int m_first = 0;
    int m_hot = -1;
};

}  // namespace DUI
