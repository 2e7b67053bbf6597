// SPDX-License-Identifier: MIT
#include "ui/RowScroller.h"

#include <algorithm>

namespace DUI {

void RowScroller::Reset() {
    m_first = 0;
    m_hot = -1;
}

bool RowScroller::SetHot(int row) {
    if (row == m_hot) return false;
    m_hot = row;
    return true;
}

void RowScroller::ScrollBy(int rows, int count, int visible) {
    m_first = std::clamp(m_first + rows, 0, std::max(0, count - visible));
}

void RowScroller::EnsureVisible(int index, int visible) {
    if (index < 0) return;
    if (index < m_first) {
        m_first = index;
    } else if (index >= m_first + visible) {
        m_first = index - visible + 1;
    }
}

void RowScroller::ClampFirst(int last) { m_first = std::clamp(m_first, 0, std::max(0, last)); }

int RowScroller::RowAt(int offset, int rowSize, int count) const {
    const int row = offset / rowSize + m_first;
    return (offset < 0 || row < 0 || row >= count) ? -1 : row;
}

double RowScroller::ThumbTop(double trackTop, double trackLength, double thumb, double total,
                             double shown) const {
    return trackTop + (trackLength - thumb) * m_first / std::max<double>(1, total - shown);
}

}  // namespace DUI
