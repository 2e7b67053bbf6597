// SPDX-License-Identifier: MIT
#include "ui/MButton2.h"

namespace DUI {

void MButton2::SetCheck(int check) {
    m_check = check ? 1 : 0;
    Invalidate();
}

int MButton2::GetCheck() const { return m_check; }

bool MButton2::IsCheckedForPaint() const { return m_check != 0; }

}  // namespace DUI
