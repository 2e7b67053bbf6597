// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MButton2.h"

namespace DUI {

// "MButton3": a toggle button; each click flips the check state, then sends code 2.
class MButton3 : public MButton2 {
  protected:
    void Clicked() override;
};

}  // namespace DUI
