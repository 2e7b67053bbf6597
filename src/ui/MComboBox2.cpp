// SPDX-License-Identifier: MIT
#include "ui/MComboBox2.h"

namespace DUI {

void MComboBox2::SetCheck(int check) {
    m_check = check ? 1 : 0;
    Invalidate();
}

int MComboBox2::GetCheck() const { return m_check; }

bool MComboBox2::IsMarked() const { return m_check != 0; }

bool MComboBox2::IsCheckedForPaint() const { return m_check != 0; }

}  // namespace DUI
