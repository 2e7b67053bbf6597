// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "ui/MControl.h"

namespace DUI {

// "MTabLayout": a stack of pages. Every control created with the layout as its parent is
// one page (normally a CArea holding the page's controls); SetCurSel shows one page and
// hides the others.
class MTabLayout : public MControl {
  public:
    // Shows page index (-1 hides all); false when out of range.
    bool SetCurSel(int index);
    // The shown page, -1 when none.
    int GetCurSel() const;
    // Number of pages.
    int GetCount() const;
    // The page control at index, nullptr when out of range.
    MControl* GetPage(int index) const;

  protected:
    void ChildAdded(MControl* child) override;
    void MousePress(QMouseEvent& event) override;

  private:
    std::vector<MControl*> m_pages;
    int m_current = -1;
};

}  // namespace DUI
