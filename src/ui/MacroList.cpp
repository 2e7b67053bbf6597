// SPDX-License-Identifier: MIT
#include "ui/MacroList.h"

#include <QMouseEvent>
#include <QWidget>

namespace DUI {

void MacroList::MousePress(QMouseEvent& event) {
    if (event.button() == Qt::RightButton) {
        const int row = RowAt(static_cast<int>(event.position().y()));
        if (row >= 0) {
            SetCurSel(row);
        }
        Notify(kNotifyMenu, row);
        return;
    }
    DListBox::MousePress(event);
}

}  // namespace DUI
