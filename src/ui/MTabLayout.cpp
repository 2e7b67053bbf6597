// SPDX-License-Identifier: MIT
#include "ui/MTabLayout.h"

#include <QMouseEvent>
#include <QWidget>

namespace DUI {

bool MTabLayout::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    for (int i = 0; i < GetCount(); ++i) {
        m_pages[i]->SetVisible(i == index);
    }
    return true;
}

int MTabLayout::GetCurSel() const { return m_current; }

int MTabLayout::GetCount() const { return static_cast<int>(m_pages.size()); }

MControl* MTabLayout::GetPage(int index) const {
    return index >= 0 && index < GetCount() ? m_pages[index] : nullptr;
}

void MTabLayout::ChildAdded(MControl* child) {
    m_pages.push_back(child);
    if (m_current < 0) {
        m_current = 0;
    }
    child->SetVisible(GetCount() - 1 == m_current);
}

void MTabLayout::MousePress(QMouseEvent& event) { event.ignore(); }

}  // namespace DUI
