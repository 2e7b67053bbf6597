// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "ui/MControl.h"
#include "ui/RowScroller.h"

namespace DUI {

// One line of the macro event list.
struct RecordEntry {
    std::string text;    // display text ("↓  A", "10 ms")
    int type = 0;        // 1 delay, 2 key down, 3 key up, 4 mouse down, 5 mouse up
    int value = 0;       // delay ms, virtual key or mouse button bits
    unsigned stamp = 0;  // identifier; the down and up entries of an inserted press share it
};

// "CRecordList": the macro event list. A click selects an entry and sends code 2 with its
// index; a right click selects the entry under the pointer and sends code 9 (context menu)
// with its index (-1 on empty space). The down and up entries of one press are found
// together (GetPairIndex, UpdatePress).
class CRecordList : public MControl {
  public:
    // Appends an entry; returns its index.
    int AddEntry(const RecordEntry& entry);
    // Inserts before index (at the end when out of range); returns its index. The
    // selection stays on the same entry.
    int InsertEntry(int index, const RecordEntry& entry);
    // Removes entry index; false when out of range.
    bool DeleteEntry(int index);
    // Removes every entry.
    void DeleteAllEntries();
    // Number of entries (delays included).
    int GetCount() const;
    // Number of entries that are not delays (type other than 1).
    int GetEventCount() const;
    // Entry index (a default entry when out of range).
    RecordEntry GetEntry(int index) const;
    // Replaces entry index; false when out of range.
    bool SetEntry(int index, const RecordEntry& entry);
    // Swaps two entries (the selection follows the entry it was on); false when out of range.
    bool SwapEntries(int first, int second);
    // Moves entry from to position to (the selection follows it); false when out of range.
    bool MoveEntry(int from, int to);
    // Index of the entry with this type and stamp, -1 when none.
    int FindEntry(int type, unsigned stamp) const;
    // The other half of the press entry index belongs to: for a down entry the up entry of
    // the same kind with the same stamp, or else the first later up entry of the same kind
    // and value; the mirror image for an up entry. -1 for delays or when there is none.
    int GetPairIndex(int index) const;
    // Updates the press entry index belongs to, both halves together: texts "↓  " + name
    // and "↑  " + name, and the value. Returns how many entries changed (0, 1 or 2).
    int UpdatePress(int index, const std::string& name, int value);
    // Selects index (-1 none) without notifying; false when out of range.
    bool SetCurSel(int index);
    // The selected entry, -1 when none.
    int GetCurSel() const;
    // Clicks entry index: selects it and sends code 2.
    void ClickItem(int index);
    // Scrolls so that entry index is visible.
    void EnsureVisible(int index);

  protected:
    void Paint(QPainter& painter) override;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void HoverChanged(bool hovered) override;
    void Wheel(QWheelEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    bool AcceptsFocus() const override;

  private:
    int RowAt(int y) const;
    std::vector<RecordEntry> m_entries;
    int m_current = -1;
    RowScroller m_rows;  // first row on screen and the hovered row
    int m_rowHeight = 34;
};

}  // namespace DUI
