// SPDX-License-Identifier: MIT
#include "ui/MButton3.h"

namespace DUI {

void MButton3::Clicked() {
    SetCheck(GetCheck() ? 0 : 1);
    Notify(kNotifyClick);
}

}  // namespace DUI
